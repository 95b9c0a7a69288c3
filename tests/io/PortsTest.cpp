// The ports: pin reads, LEDs and hints, input captures, the pulse accumulator, the pause.
#include <gmock/gmock.h>

#include "support/TestMachine.h"

namespace hexmoor::testing {
namespace {

using ::testing::ElementsAre;

struct TPorts : TTestMachine {
    TPorts() {
        Machine->ResetMoor(ExternalReset);
        Panel.Messages.clear();
    }
    void Write(uint8_t offset, uint8_t byte) {
        Machine->EffectiveAddress = uint16_t(0x1000 + offset);
        Machine->DataByte = byte;
        Machine->StoreByte();
    }
    uint8_t Read(uint8_t offset) {
        Machine->EffectiveAddress = uint16_t(0x1000 + offset);
        Machine->LoadByte();
        return Machine->DataByte;
    }
    TLed& Led(TPortGroup group, int bit) { return Machine->Panel.PortGroups[group].Leds[bit]; }
};

TEST(Ports, ReadsComposeLatchAndInputPins) {
    TPorts t;
    t.Write(0x01, 0x0F);  // DDRA
    t.Write(0x00, 0xA5);  // PORTA
    t.Led(PortAInput, 7).Lit = true;
    t.Led(PortAInput, 0).Lit = true;
    EXPECT_EQ(t.Read(0x00), 0x85);

    for (TLed& led : t.Machine->Panel.PortGroups[PortDInput].Leds) led.Lit = true;
    EXPECT_EQ(t.Read(0x08), 0x3F) << "port D has no bits 7-6";

    t.Write(0x04, 0x5A);  // PORTB
    t.Machine->Panel.IOOperationsMenu.Checked = true;
    EXPECT_EQ(t.Read(0x04), 0x5A) << "the latch, without a pause";
    EXPECT_EQ(t.Panel.IoPauses, 0);
}

TEST(Ports, DirectionsRecolourAndRenameTheLeds) {
    TPorts t;
    t.Write(0x07, 0x81);  // DDRC
    EXPECT_EQ(t.Led(PortCOutput, 7).LitColour, kLime);
    EXPECT_EQ(t.Led(PortCInput, 7).LitColour, kOlive);
    EXPECT_EQ(t.Led(PortCInput, 7).Hint, " PC7 configured as Output ");
    EXPECT_EQ(t.Led(PortCOutput, 6).LitColour, kOlive);
    EXPECT_EQ(t.Led(PortCOutput, 6).Hint, " PC6 configured as Input ");
}

TEST(Ports, OutputCompareFourTakesPa4) {
    TPorts t;
    t.Write(0x20, 0x0C);  // TCTL1: OC4 sets PA4
    t.Led(PortAOutput, 4).Lit = false;
    t.Write(0x01, 0x00);  // a DDRA write while OC4 drives PA4
    EXPECT_TRUE(t.Led(PortAOutput, 4).Lit);
    EXPECT_EQ(t.Led(PortAOutput, 4).UnlitColour, kYellow);
    EXPECT_EQ(t.Led(PortAInput, 4).Hint, " PA4 configured as Output Compare ");
}

TEST(Ports, ChipSelectKeepsPg5WhateverDdrgSays) {
    TPorts t;
    t.Write(0x5D, 0x84);  // CSCTL: IO1 and program chip selects
    t.Write(0x03, 0x00);  // DDRG
    for (TPortGroup group : {PortGInput, PortGOutput}) {
        EXPECT_EQ(t.Led(group, 5).LitColour, kAqua);
        EXPECT_EQ(t.Led(group, 5).Hint, " PG5 currently used as CSIO1 ");
    }
    EXPECT_EQ(t.Led(PortGOutput, 3).Hint, " PG3 configured as Input ");
}

TEST(Ports, InputCapturesOnTheirEdges) {
    struct Case {
        int pin;
        uint8_t tctl2;
        bool startLit;
        bool captures;
        uint8_t flag;
        uint16_t request;
        uint8_t capture;
    } cases[] = {
        {0, 0x01, false, true, 0x01, IntIC3, 0x14},   // rising, to lit
        {0, 0x01, true, false, 0x01, IntIC3, 0x14},   // rising, to dark
        {1, 0x08, true, true, 0x02, IntIC2, 0x12},    // falling, to dark
        {2, 0x30, true, true, 0x04, IntIC1, 0x10},    // either
        {2, 0x00, false, false, 0x04, IntIC1, 0x10},  // off
        {3, 0xC0, false, true, 0x08, 0, 0x1E},        // IC4: flag and register only
    };
    for (const Case& c : cases) {
        TPorts t;
        TMachine& m = *t.Machine;
        t.Write(0x21, c.tctl2);
        m.TimerCount = 0x1234;
        m.RegisterBlock[0x0E] = 0x12;
        m.RegisterBlock[0x0F] = 0x34;
        t.Led(PortAInput, c.pin).Lit = c.startLit;
        m.InputLedClick(PortAInput, c.pin);
        EXPECT_EQ(t.Led(PortAInput, c.pin).Lit, !c.startLit);
        EXPECT_EQ(bool(m.RegisterBlock[0x23] & c.flag), c.captures) << "PA" << c.pin;
        EXPECT_EQ(m.PendingInterrupts, c.captures ? c.request : 0) << "PA" << c.pin;
        if (c.captures) {
            EXPECT_EQ(m.RegisterBlock[c.capture], 0x12);
            EXPECT_EQ(m.RegisterBlock[c.capture + 1], 0x34);
        }
    }
}

TEST(Ports, Pa7CountsEdgesOrOpensTheGate) {
    TPorts t;
    TMachine& m = *t.Machine;
    t.Write(0x26, 0x40);  // event counting, falling edges
    m.RegisterBlock[0x27] = 0xFF;
    t.Led(PortAInput, 7).Lit = true;
    m.InputLedClick(PortAInput, 7);
    EXPECT_EQ(m.RegisterBlock[0x27], 0x00);
    EXPECT_EQ(m.RegisterBlock[0x25] & 0x30, 0x30);
    EXPECT_EQ(m.PendingInterrupts, IntPAOV | IntPAI);

    t.Write(0x26, 0x60);  // gated while high; PA7 is dark now
    EXPECT_FALSE(m.PulseGate);
    m.PulseDivider = 40;
    m.InputLedClick(PortAInput, 7);
    EXPECT_TRUE(m.PulseGate);
    EXPECT_EQ(m.PulseDivider, 0);
    m.InputLedClick(PortAInput, 7);
    EXPECT_FALSE(m.PulseGate);
}

TEST(Ports, PlainInputsAndPlaceholders) {
    TPorts t;
    TMachine& m = *t.Machine;
    m.InputLedClick(PortEInput, 3);
    EXPECT_TRUE(t.Led(PortEInput, 3).Lit);
    EXPECT_EQ(t.Read(0x0A), 0x08);
    m.InputLedClick(PortDInput, 7);
    EXPECT_FALSE(t.Led(PortDInput, 7).Lit) << "the placeholders are never lit";
}

TEST(Ports, PauseBeforeAccessesWithTheirLabels) {
    TPorts t;
    TMachine& m = *t.Machine;
    m.Panel.IOOperationsMenu.Checked = true;
    std::vector<std::string> pauses;
    t.Panel.OnIoPause = [&] {
        pauses.push_back(m.Panel.IoPanel.PortLabel + " " + m.Panel.IoPanel.IOTypeLabel);
        if (pauses.size() == 1) t.Led(PortGInput, 1).Lit = true;  // set during the pause
    };
    EXPECT_EQ(t.Read(0x02), 0x02) << "the input set during the pause is read";
    t.Write(0x05, 0x01);
    t.Panel.IoAnswers = {TMessageResult::Cancel};
    t.Write(0x00, 0x01);
    t.Write(0x00, 0x02);
    EXPECT_THAT(pauses, ElementsAre("PORTG Input", "PORTF Output", "PORTA Output"));
    EXPECT_FALSE(m.Panel.IOOperationsMenu.Checked);
    EXPECT_TRUE(t.Led(PortAOutput, 1).Lit) << "a cancelled pause still completes the access";
}

TEST(Ports, ReadModifyWriteTakesTheLatchWithoutAPause) {
    TPorts t;
    TMachine& m = *t.Machine;
    m.Panel.IOOperationsMenu.Checked = true;
    m.RegisterBlock[0x00] = 0x10;
    t.Place(0x2000, {0x1C, 0x00, 0x01});  // BSET 0,X #$01 with X = $1000
    m.RegisterX = 0x1000;
    t.Step();
    EXPECT_EQ(m.RegisterBlock[0x00], 0x11);
    EXPECT_EQ(t.Panel.IoPauses, 1) << "only the write pauses";
}

}  // namespace
}  // namespace hexmoor::testing
