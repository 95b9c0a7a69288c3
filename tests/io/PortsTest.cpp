// The ports: pin reads, LEDs and hints, input captures, the pulse accumulator, the pause.
#include <gmock/gmock.h>

#include <cstdio>
#include <fstream>

#include "support/TempFolder.h"
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


// A direction write or a chip select recolours LEDs but never lights or darkens one:
// inputs keep the levels the user set, outputs the last latch until the next write.
TEST(Ports, LitStatesSurviveDirectionsAndChipSelects) {
    struct Case {
        const char* name;
        uint8_t offset;  // the register written
        uint8_t byte;
    } cases[] = {
        {"DDRA all out", 0x01, 0xFF}, {"DDRA all in", 0x01, 0x00}, {"DDRC", 0x07, 0xF0},
        {"DDRD", 0x09, 0x2A},         {"DDRG all out", 0x03, 0xFF}, {"DDRG all in", 0x03, 0x00},
        {"CSCTL", 0x5D, 0xA0},        {"CSGSIZ", 0x5F, 0x01},
    };
    for (const Case& c : cases) {
        for (uint8_t pattern : {0x55, 0xAA}) {
            SCOPED_TRACE(std::string(c.name) + (pattern == 0x55 ? ", pattern 55" : ", pattern AA"));
            TPorts t;
            auto& groups = t.Machine->Panel.PortGroups;
            for (TLedGroup& group : groups)
                for (int bit = 0; bit < 8; ++bit) group.Leds[bit].Lit = pattern >> bit & 1;
            t.Write(c.offset, c.byte);
            for (int group = 0; group < kPortGroupCount; ++group)
                for (int bit = 0; bit < 8; ++bit)
                    EXPECT_EQ(groups[group].Leds[bit].Lit, bool(pattern >> bit & 1))
                        << "group " << group << " bit " << bit;
        }
    }
}

// A reset or a load refills the latches, and the output LEDs show them at once, as a
// program reads them; the input LEDs keep the levels the user set.
TEST(Ports, ResetAndLoadShowTheNewLatches) {
    const std::string program = TempPath("hexmoor_ports_load.s19");
    std::ofstream(program, std::ios::binary) << "S1042000AA31\n";
    for (const bool load : {false, true}) {
        SCOPED_TRACE(load ? "load" : "reset");
        TPorts t;
        for (uint8_t port : {0x00, 0x02, 0x03, 0x04, 0x05, 0x07, 0x08, 0x09}) t.Write(port, 0xFF);  // latches and DDRs
        t.Led(PortAInput, 3).Lit = true;
        if (load) {
            t.Panel.FileName = program;
            t.Machine->LoadClick();
        } else {
            t.Machine->ResetMoor(ExternalReset);
        }
        for (TPortGroup output : {PortAOutput, PortBOutput, PortCOutput, PortDOutput, PortFOutput, PortGOutput})
            for (int bit = 0; bit < 8; ++bit) EXPECT_FALSE(t.Led(output, bit).Lit) << output << " bit " << bit;
        EXPECT_EQ(t.Read(0x04), 0x00) << "PORTB reads what its LEDs show";
        EXPECT_TRUE(t.Led(PortAInput, 3).Lit);
    }
    std::remove(program.c_str());
}

// Clicking the input LED of a pin configured as output toggles that (dimmed) LED, but the
// read still takes the latch for that pin, and the output LEDs go on showing the latch.
TEST(Ports, ReadsIgnoreInputClicksOnOutputPins) {
    struct Case {
        const char* port;
        uint8_t data, ddr;
        TPortGroup input, output;
        int pins;
        uint8_t allLit, allDark;  // reads with every input LED lit, then dark
    } cases[] = {
        {"A", 0x00, 0x01, PortAInput, PortAOutput, 8, 0xAF, 0xA0},
        {"C", 0x06, 0x07, PortCInput, PortCOutput, 8, 0xAF, 0xA0},
        {"D", 0x08, 0x09, PortDInput, PortDOutput, 6, 0x2F, 0x20},
        {"G", 0x02, 0x03, PortGInput, PortGOutput, 8, 0xAF, 0xA0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("port ") + c.port);
        TPorts t;
        TMachine& m = *t.Machine;
        t.Write(c.ddr, 0xF0);
        t.Write(c.data, 0xA5);
        for (uint8_t expected : {c.allLit, c.allDark}) {
            for (int bit = 0; bit < c.pins; ++bit) m.InputLedClick(c.input, bit);
            for (int bit = 0; bit < c.pins; ++bit) {
                EXPECT_EQ(t.Led(c.input, bit).Lit, expected == c.allLit) << "input LED " << bit;
                EXPECT_EQ(t.Led(c.output, bit).Lit, bool(0xA5 >> bit & 1)) << "output LED " << bit;
            }
            EXPECT_EQ(t.Read(c.data), expected);
        }
    }
}

// PA7 clicks and E-clock time as PACNT counts them in each PACTL mode. The clicks come
// first, then 200 passes of a 3-cycle loop: 597 cycles, nine counts through an open gate.
TEST(Ports, PulseAccumulatorModesCountClicksOrGatedTime) {
    struct Case {
        const char* name;
        uint8_t pactl;
        bool startLit;
        int clicks;
        uint8_t count;
    } cases[] = {
        {"rising edges, PA7 taken high", 0x50, false, 1, 1},
        {"rising edges, PA7 taken low", 0x50, true, 1, 0},
        {"rising edges, one pulse", 0x50, false, 2, 1},
        {"falling edges, one pulse", 0x40, false, 2, 1},
        {"accumulator off", 0x30, false, 2, 0},
        {"gated while low, PA7 low", 0x70, false, 0, 9},
        {"gated while low, PA7 high", 0x70, true, 0, 0},
        {"gated while low, PA7 taken low", 0x70, true, 1, 9},
        {"gated while low, PA7 taken high", 0x70, false, 1, 0},
        {"gated while high, PA7 high", 0x60, true, 0, 9},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TPorts t;
        TMachine& m = *t.Machine;
        t.Place(0x2000, {0x20, 0xFE});  // BRA *
        t.Led(PortAInput, 7).Lit = c.startLit;
        t.Write(0x26, c.pactl);
        for (int i = 0; i < c.clicks; ++i) m.InputLedClick(PortAInput, 7);
        for (int pass = 0; pass < 200; ++pass) m.RunPass();
        EXPECT_EQ(t.Read(0x27), c.count) << "PACNT";
        EXPECT_EQ(t.Read(0x25) & 0x10, c.count ? 0x10 : 0) << "PAIF";
    }
}

// The chip selects take PG4 (IO2), PG5 (IO1), PG6 (general) and PG7 (program): both LEDs
// of a taken pin turn yellow and aqua; a pin given back takes the colours of its DDRG bit.
TEST(Ports, ChipSelectsRecolourTheirPortGPins) {
    struct Case {
        const char* name;
        std::vector<std::pair<uint8_t, uint8_t>> writes;  // after DDRG = $50
        uint8_t taken;                                     // PG7-PG4 in bits 7-4
        uint8_t ddrg;
    } cases[] = {
        {"after reset", {}, 0x80, 0x50},
        {"IO1 and IO2", {{0x5D, 0xA0}}, 0x30, 0x50},
        {"program and IO1", {{0x5D, 0x84}}, 0xA0, 0x50},
        {"IO2 alone", {{0x5D, 0x20}}, 0x10, 0x50},
        {"general", {{0x5F, 0x01}}, 0xC0, 0x50},
        {"general off again", {{0x5F, 0x01}, {0x5F, 0x07}}, 0x80, 0x50},
        {"IO2, then DDRG", {{0x5D, 0x20}, {0x03, 0xA0}}, 0x10, 0xA0},
        {"bits 1-0 choose the program size only", {{0x5D, 0x03}}, 0x00, 0x50},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TPorts t;
        t.Write(0x03, 0x50);
        for (auto [offset, byte] : c.writes) t.Write(offset, byte);
        for (int bit = 4; bit < 8; ++bit) {
            const bool taken = c.taken >> bit & 1, output = c.ddrg >> bit & 1;
            const TLedScheme out = taken ? kSpecialScheme : output ? kActiveScheme : kDimmedScheme;
            const TLedScheme in = taken ? kSpecialScheme : output ? kDimmedScheme : kActiveScheme;
            EXPECT_EQ(t.Led(PortGOutput, bit).LitColour, out.Lit) << "PG" << bit << " output";
            EXPECT_EQ(t.Led(PortGOutput, bit).UnlitColour, out.Unlit) << "PG" << bit << " output";
            EXPECT_EQ(t.Led(PortGInput, bit).LitColour, in.Lit) << "PG" << bit << " input";
            EXPECT_EQ(t.Led(PortGInput, bit).UnlitColour, in.Unlit) << "PG" << bit << " input";
        }
    }
}

// A reset gives every chip-select pin but the program select back, and blanks the labels.
TEST(Ports, ResetGivesBackTheChipSelects) {
    TPorts t;
    TMachine& m = *t.Machine;
    t.Write(0x5D, 0xA4);  // program, IO1, IO2
    t.Write(0x5F, 0x01);  // general
    m.ResetMoor(ExternalReset);
    const TPanelState& p = m.Panel;
    for (const TRangeLabels* labels : {&p.EGenLabels, &p.EIo1Labels, &p.EIo2Labels}) {
        EXPECT_EQ(labels->Begin, "");
        EXPECT_EQ(labels->End, "");
    }
    for (int bit = 4; bit < 7; ++bit)
        EXPECT_NE(t.Led(PortGInput, bit).LitColour, kSpecialScheme.Lit) << "PG" << bit;
    EXPECT_EQ(t.Led(PortGOutput, 7).LitColour, kSpecialScheme.Lit);
    t.Write(0x03, 0x70);  // DDRG: PG4-PG6 are plain outputs again
    for (int bit = 4; bit < 7; ++bit)
        EXPECT_EQ(t.Led(PortGOutput, bit).LitColour, kActiveScheme.Lit) << "PG" << bit;
}

}  // namespace
}  // namespace hexmoor::testing
