// What a reset leaves behind: vectors, registers, the RAM, the register image, the panel.
#include <gmock/gmock.h>

#include <functional>

#include "support/TestMachine.h"

namespace hexmoor::testing {
namespace {

TEST(Reset, EachKindShowsItsDialogAndTakesItsVector) {
    struct Case {
        TResetKind kind;
        const char* dialog;
        uint16_t vector;
    } cases[] = {
        {PowerOnReset, "PowerOn Reset", 0xFFFE},
        {ExternalReset, "External Reset", 0xFFFE},
        {ClockMonitorReset, "Clock Monitor Fail Reset", 0xFFFC},
        {CopReset, "COP Watchdog Timeout Reset", 0xFFFA},
    };
    for (const Case& c : cases) {
        TTestMachine t;
        TMachine& m = *t.Machine;
        t.Poke(c.vector, {0x23, 0x45});
        m.CycleCount = 123456;
        m.RegisterD = m.RegisterX = m.RegisterY = m.RegisterSP = 0x1111;
        m.ResetMoor(c.kind);
        EXPECT_EQ(m.RegisterPC, 0x2345) << c.dialog;
        ASSERT_FALSE(t.Panel.Messages.empty());
        EXPECT_EQ(t.Panel.Messages[0].Text, c.dialog);
        EXPECT_EQ(t.Panel.Messages[0].Kind, TMessageKind::Reset);
        EXPECT_EQ(t.Panel.Messages[0].Buttons, TMessageButtons::Ok);
        EXPECT_EQ(m.CycleCount, 3);
        EXPECT_EQ(m.Panel.CyclesValueLabel, std::string(14, ' ') + "3");
        EXPECT_EQ(m.RegisterD | m.RegisterX | m.RegisterY | m.RegisterSP, 0);
    }
}

TEST(Reset, FlagsAndTheirReadout) {
    TTestMachine t;
    TMachine& m = *t.Machine;
    m.FlagS = m.FlagX = m.FlagI = m.FlagZ = false;
    m.FlagH = m.FlagN = m.FlagV = m.FlagC = m.MaskDelay = true;
    m.ResetMoor(ExternalReset);
    EXPECT_EQ(m.PackedCcr(), 0xD4);
    EXPECT_FALSE(m.MaskDelay);
    EXPECT_EQ(m.Panel.RegisterCCRDisplay.Text, "~LS~LX~RH~LI~RN~LZ~RV~RC");
    EXPECT_EQ(m.Panel.RegisterADisplay.Text, "00");
    EXPECT_EQ(m.Panel.RegisterSPDisplay.Text, "0000");
    EXPECT_EQ(m.Panel.IrqButton.Hint, " Click to generate an IRQ (Currently disabled) ");
    EXPECT_EQ(m.Panel.XIrqButton.Hint, " Click to generate an XIRQ (Currently disabled) ");
}

TEST(Reset, RegisterImageWithItsExceptions) {
    TTestMachine t;
    TMachine& m = *t.Machine;
    m.RegisterBlock.fill(0xAA);
    m.RegisterBlock[0x30] = 0xB5;  // ADCTL with CCF set
    m.ResetMoor(ExternalReset);
    struct Case {
        uint8_t offset;
        uint8_t value;
    } cases[] = {
        {0x00, 0x00}, {0x16, 0xFF}, {0x1E, 0xFF}, {0x1F, 0x00}, {0x2F, 0x1F},
        {0x2D, 0x00}, {0x2E, 0xC0},  // the SCI as on the chip: all off, nothing to send
        {0x38, 0x20}, {0x39, 0x10}, {0x3D, 0x25}, {0x3E, 0x01}, {0x3F, 0x0F}, {0x5F, 0x07},
        {0x10, 0xAA}, {0x15, 0xAA},  // the input captures keep what they caught
        {0x30, 0x35},                // ADCTL keeps channel and mode, loses CCF
        {0x3A, 0x55},                // COPRST: the arming sequence starts over
        {0x3C, 0x25}, {0x5D, 0x04},  // expanded mode: HPRIO and CSCTL
    };
    for (const Case& c : cases)
        EXPECT_EQ(m.RegisterBlock[c.offset], c.value) << "offset $" << std::hex << int(c.offset);
}

TEST(Reset, OnChipRamSurvivesRelocationAndReset) {
    TTestMachine t;
    TMachine& m = *t.Machine;
    m.MemoryImage[0x0010] = 0x11;   // on-chip RAM
    m.ExternalImage[0x0010] = 0xE0;  // external memory beneath it
    m.MemoryImage[0x3010] = 0x33;   // external memory where the RAM will go

    m.RelocateWindows(0x2000, 0x3000);  // what INIT $32 does
    EXPECT_EQ(m.MemoryImage[0x3010], 0x11);
    EXPECT_EQ(m.MemoryImage[0x0010], 0xE0) << "the external memory reappears";
    EXPECT_EQ(m.Panel.IRamLabels.Begin, "3000");
    EXPECT_EQ(m.Panel.IRegLabels.End, "205F");
    EXPECT_TRUE(m.InRegisterWindow(0x2000));
    EXPECT_FALSE(m.InRegisterWindow(0x1000));

    m.ResetMoor(ExternalReset);
    EXPECT_EQ(m.MemoryImage[0x0010], 0x11);
    EXPECT_EQ(m.MemoryImage[0x3010], 0x33) << "the external memory at the old place is back";
    EXPECT_EQ(m.ExternalImage[0x0010], 0xE0);
    EXPECT_TRUE(m.InRegisterWindow(0x1000));
    EXPECT_EQ(m.Panel.IRamLabels.Begin, "0000");
    EXPECT_EQ(m.Panel.IRegLabels.Begin, "1000");
}

TEST(Reset, RamAndRegistersInOneWindow) {
    TTestMachine t;
    TMachine& m = *t.Machine;
    m.RelocateWindows(0x1000, 0x1000);  // INIT $11
    m.EffectiveAddress = 0x1016;
    m.DataByte = 0x77;
    m.StoreByte();
    EXPECT_EQ(m.RegisterBlock[0x16], 0x77) << "the registers win";
    m.EffectiveAddress = 0x1100;
    m.StoreByte();
    EXPECT_EQ(m.MemoryImage[0x1100], 0x77) << "the RAM above the registers";
}

TEST(Reset, MemoryMapAndPortPanel) {
    TTestMachine t;
    TMachine& m = *t.Machine;
    m.ResetMoor(ExternalReset);
    const TPanelState& p = m.Panel;
    EXPECT_EQ(p.IEEPromLabels.Begin, "") << "the EEPROM is disabled";
    EXPECT_EQ(p.EProgLabels, (TRangeLabels{"0000", "FFFF", kRed}));
    EXPECT_EQ(p.EGenLabels, (TRangeLabels{"", "", kNavy}));
    EXPECT_EQ(p.EIo1Labels.Begin, "");
    EXPECT_EQ(m.IEEPromBeg, 0x0E00);
    EXPECT_EQ(m.IEEPromEnd, 0x0FFF);

    const TLed& pa0In = p.PortGroups[PortAInput].Leds[0];
    EXPECT_EQ(pa0In.Hint, " PA0 configured as Input ");
    EXPECT_EQ(pa0In.LitColour, kLime);
    EXPECT_EQ(p.PortGroups[PortAOutput].Leds[0].LitColour, kOlive);
    EXPECT_EQ(p.PortGroups[PortBOutput].Leds[3].Hint, " PB3 configured as Output \r    (Used as Bus) ");
    EXPECT_EQ(p.PortGroups[PortFOutput].Colour, kNavy);
    EXPECT_EQ(p.PortGroups[PortEInput].Leds[7].Hint,
              " PE7 configured as Input \r    (No A/D in Progress)");
    EXPECT_EQ(p.PortGroups[PortGOutput].Leds[7].Hint, " PG7 currently used as CSPRG ");
    EXPECT_EQ(p.PortGroups[PortGOutput].Leds[7].LitColour, kAqua);
    EXPECT_EQ(p.PortGroups[PortGInput].Leds[6].LitColour, kLime);
    EXPECT_EQ(p.PortGroups[PortDOutput].Leds[5].Hint, " PD5 configured as Input ");
    EXPECT_EQ(p.PortGroups[PortDOutput].Leds[6].UnlitColour, kBlack) << "placeholder";
}

TEST(Reset, ClearsRequestsAndWaits) {
    TTestMachine t;
    TMachine& m = *t.Machine;
    m.PendingInterrupts = 0xFFFF;
    m.EnabledInterrupts = 0xFFFF;
    m.XirqLatch = m.WaitingForInput = m.ResetRequest = true;
    m.InputBuffer.Assign("typed");
    m.FirstInitWrite = false;
    m.SetStatusLed(kAqua, " The CPU is Waiting for an Interrupt ");
    m.ResetMoor(ExternalReset);
    EXPECT_EQ(m.PendingInterrupts, 0);
    EXPECT_EQ(m.EnabledInterrupts, IntIRQ);
    EXPECT_FALSE(m.XirqLatch || m.WaitingForInput || m.ResetRequest);
    EXPECT_EQ(m.InputBuffer.Text(), "");
    EXPECT_TRUE(m.FirstInitWrite);
    EXPECT_EQ(m.Panel.StatusLed.LitColour, kLime);
    EXPECT_EQ(m.Panel.StatusLed.Hint, " Normal Mode ");
}

TEST(Reset, EveryRegisterReadsItsResetValue) {
    // Every byte of the block held $80 + its offset before the reset. Reads go through the
    // read half of a read-modify-write, which returns the port latches as stored. The input
    // captures keep what they caught, ADCTL keeps its channel and mode but not CCF, and
    // expanded mode forces COPRST, HPRIO and CSCTL.
    constexpr uint8_t kAfterReset[96] = {
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
        0x90, 0x91, 0x92, 0x93, 0x94, 0x95, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00,
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xC0, 0x1F,
        0x30, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x20, 0x10, 0x55, 0x00, 0x25, 0x25, 0x01, 0x0F,
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x04, 0x00, 0x07,
    };
    TTestMachine t;
    TMachine& m = *t.Machine;
    for (int offset = 0; offset < 96; ++offset) m.RegisterBlock[offset] = uint8_t(0x80 + offset);
    m.FormKeyPress('x');  // typed ahead: the terminal status reads 0 once reset empties it
    m.ResetMoor(ExternalReset);
    for (uint8_t offset = 0; offset < 96; ++offset) {
        if (offset == 0x37) continue;  // the terminal data read waits for a key
        EXPECT_EQ(t.ReadLatch(offset), kAfterReset[offset]) << "offset $" << std::hex << int(offset);
    }
}

TEST(Reset, WhatResetClearsAndWhatItKeeps) {
    // Each case sets something up on a machine just out of reset, resets it again and
    // looks at what the program and the panel find afterwards.
    auto row = [](const TTestMachine& t) { return t.Machine->Screen.RowText(1).substr(0, 4); };
    auto leds = [](const TTestMachine& t) {
        uint8_t byte = 0;
        for (int bit = 0; bit < 8; ++bit)
            if (t.Machine->Panel.PortGroups[PortAOutput].Leds[bit].Lit) byte |= uint8_t(1 << bit);
        return byte;
    };
    struct Case {
        const char* name;
        std::function<void(TTestMachine&)> before, after;
    } cases[] = {
        {"the counter starts from 0",
         [](TTestMachine& t) { t.Advance(1000); },
         [](TTestMachine& t) {
             t.Advance(5);
             EXPECT_EQ(t.ReadRegisterWord(0x0E), 5);
         }},
        {"prescale 1 again, with no remainder left",
         [](TTestMachine& t) {
             t.WriteRegister(0x24, 0x03);
             t.Advance(15);
         },
         [](TTestMachine& t) {
             for (int pass = 0; pass < 3; ++pass) t.Advance(1);
             EXPECT_EQ(t.ReadRegisterWord(0x0E), 3);
         }},
        {"no output-compare pin actions",
         [](TTestMachine& t) {
             t.WriteRegister(0x20, 0xFC);  // OC2-OC4 set their pins
             t.WriteRegister(0x0C, 0xF8);  // OC1 drives PA7-PA3 high
             t.WriteRegister(0x0D, 0xF8);
         },
         [&leds](TTestMachine& t) {
             for (uint8_t offset = 0x16; offset < 0x1E; ++offset)
                 t.WriteRegister(offset, offset % 2 ? 0x10 : 0x00);
             t.WriteRegister(0x00, 0x00);
             t.Advance(20);
             EXPECT_EQ(t.ReadRegister(0x23), 0xF0);
             EXPECT_EQ(leds(t), 0x00);
         }},
        {"no input-capture edges",
         [](TTestMachine& t) { t.WriteRegister(0x21, 0x3F); },
         [](TTestMachine& t) {
             t.Advance(7);
             for (int bit = 0; bit < 3; ++bit) t.Machine->InputLedClick(PortAInput, bit);
             EXPECT_EQ(t.ReadRegister(0x23), 0x00);
             EXPECT_EQ(t.ReadRegisterWord(0x10), 0x0000);
             EXPECT_EQ(t.ReadRegisterWord(0x14), 0x00FF);
         }},
        {"the pulse accumulator's gate closed",
         [](TTestMachine& t) {
             t.Machine->InputLedClick(PortAInput, 7);  // PA7 high
             t.WriteRegister(0x26, 0x60);              // gated while PA7 is high
         },
         [](TTestMachine& t) {
             for (int pass = 0; pass < 4; ++pass) t.Advance(64);
             EXPECT_EQ(t.ReadRegister(0x27), 0x00);
             EXPECT_EQ(t.ReadRegister(0x25), 0x00);
         }},
        {"a clear screen and no escape sequence under way",
         [](TTestMachine& t) {
             for (uint8_t byte : {0x41, 0x42, 0x07, 0x04}) t.WriteRegister(0x37, byte);  // "AB", then 7,4 begins a cursor move
         },
         [&row](TTestMachine& t) {
             t.WriteRegister(0x37, 'C');
             EXPECT_EQ(row(t), "C   ");
         }},
        {"the EEPROM contents",
         [](TTestMachine& t) { t.Machine->EepromImage[0x1FF] = 0x12; },
         [](TTestMachine& t) { EXPECT_EQ(t.Machine->EepromImage[0x1FF], 0x12); }},
        {"TMSK2's prescaler writable again",
         [](TTestMachine& t) { t.WriteRegister(0x24, 0x01); },
         [](TTestMachine& t) {
             t.WriteRegister(0x24, 0x83);
             EXPECT_EQ(t.ReadRegister(0x24), 0x83);
             t.Advance(16);
             EXPECT_EQ(t.ReadRegisterWord(0x0E), 1);
         }},
        {"OPTION's protected bits writable again",
         [](TTestMachine& t) { t.WriteRegister(0x39, 0x3B); },
         [](TTestMachine& t) {
             EXPECT_EQ(t.ReadRegister(0x39), 0x10);
             t.WriteRegister(0x39, 0x23);
             EXPECT_EQ(t.ReadRegister(0x39), 0x23);
         }},
        {"INIT writable again",
         [](TTestMachine& t) { t.WriteRegister(0x3D, 0x01); },
         [](TTestMachine& t) {
             t.WriteRegister(0x3D, 0x32);
             EXPECT_EQ(t.Machine->Panel.IRegLabels.Begin, "2000");
             EXPECT_EQ(t.ReadRegister(0x3D), 0x32) << "read at $203D";
         }},
        {"OPT2's CLK4X writable again",
         [](TTestMachine& t) { t.WriteRegister(0x38, 0x00); },
         [](TTestMachine& t) {
             t.WriteRegister(0x38, 0x20);
             EXPECT_EQ(t.ReadRegister(0x38), 0x20);
         }},
        {"HPRIO's IRV writable again",
         [](TTestMachine& t) { t.WriteRegister(0x3C, 0x00); },
         [](TTestMachine& t) {
             t.WriteRegister(0x3C, 0x10);
             EXPECT_EQ(t.ReadRegister(0x3C), 0x30);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TTestMachine t;
        t.Machine->ResetMoor(ExternalReset);
        c.before(t);
        t.Machine->ResetMoor(ExternalReset);
        c.after(t);
    }
}

TEST(Reset, ChipConfigurationSetsTheWatchdogAndTheEepromWindow) {
    // The watchdog is re-armed for one block at every reset, whatever rate the program
    // had chosen before it.
    struct Case {
        uint32_t config;
        bool watchdog;
        const char* eepromBegin;
        const char* eepromEnd;
    } cases[] = {
        {0x0E, false, "", ""},
        {0x0A, true, "", ""},
        {0x0F, false, "0E00", "0FFF"},
        {0x31, true, "3E00", "3FFF"},
        {0xF5, false, "FE00", "FFFF"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "CONFIG $" << std::hex << c.config);
        TTestMachine t;
        TMachine& m = *t.Machine;
        m.ChipConfig = c.config;
        m.ResetMoor(ExternalReset);
        t.WriteRegister(0x39, 0x13);  // a watchdog of 64 blocks
        m.ResetMoor(ExternalReset);
        EXPECT_EQ(m.Panel.IEEPromLabels.Begin, c.eepromBegin);
        EXPECT_EQ(m.Panel.IEEPromLabels.End, c.eepromEnd);
        for (int pass = 0; pass < 32768 / 16 && m.RunState == RunNormal; ++pass) t.Advance(16);
        EXPECT_EQ(m.RunState == RunCopReset, c.watchdog);
    }
}

}  // namespace
}  // namespace hexmoor::testing
