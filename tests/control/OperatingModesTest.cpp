// The mode pins as a program sees them: where special bootstrap mode starts, what answers
// on the bus, the boot ROM's vectors, the mode bits of HPRIO and the protected registers.
#include <gmock/gmock.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "support/TestMachine.h"

namespace hexmoor::testing {
namespace {

constexpr uint8_t kLdaaExtended = 0xB6, kStaaExtended = 0xB7;

// The byte a program's LDAA finds at `address`, the instruction placed at $0100 of the RAM.
uint8_t ProgramReads(TTestMachine& t, uint16_t address) {
    t.Place(0x0100, {kLdaaExtended, uint8_t(address >> 8), uint8_t(address)});
    t.Step();
    return t.Machine->RegisterA;
}

void ProgramWrites(TTestMachine& t, uint16_t address, uint8_t byte) {
    t.Machine->RegisterA = byte;
    t.Place(0x0100, {kStaaExtended, uint8_t(address >> 8), uint8_t(address)});
    t.Step();
}

TTestMachine& ResetInto(TTestMachine& t, bool bootstrap) {
    if (bootstrap) t.Machine->ModeLedClick();
    t.Poke(0x2000, {0x12});  // external memory
    t.Poke(0xBFFE, {0x55, 0x66});
    t.Poke(0xFFF6, {0x30, 0x00});  // SWI
    t.Machine->ResetMoor(ExternalReset);
    return t;
}

TEST(OperatingModes, WhatAProgramFindsAfterAResetInEachMode) {
    struct Case {
        bool bootstrap;
        uint16_t pc;
        uint8_t hprio, external, bootRomHigh, bootRomLow, sciVectorLow;
        uint16_t swiHandler;
        TColour busColour;
    } cases[] = {
        // In bootstrap mode nothing answers outside the chip, and the boot ROM's vectors
        // lead to the pseudo-vectors in RAM ($00C4 for the SCI, $00F4 for SWI).
        {true, 0x0000, 0xD5, 0xFF, 0xBF, 0x40, 0xC4, 0x00F4, kBlack},
        {false, 0xFFFF, 0x25, 0x12, 0x55, 0x66, 0x00, 0x3000, kNavy},
    };
    for (const Case& c : cases) {
        TTestMachine t;
        t.Poke(0xFFFE, {0xFF, 0xFF});
        TMachine& m = *ResetInto(t, c.bootstrap).Machine;
        SCOPED_TRACE(c.bootstrap ? "bootstrap" : "expanded");
        EXPECT_EQ(m.RegisterPC, c.pc);
        EXPECT_EQ(ProgramReads(t, 0x103C), c.hprio);
        EXPECT_EQ(ProgramReads(t, 0x2000), c.external);
        EXPECT_EQ(ProgramReads(t, 0xBFFE), c.bootRomHigh);
        EXPECT_EQ(ProgramReads(t, 0xBFFF), c.bootRomLow);
        EXPECT_EQ(ProgramReads(t, 0xBFD7), c.sciVectorLow);
        ProgramWrites(t, 0x2000, 0x77);
        EXPECT_EQ(ProgramReads(t, 0x2000), c.bootstrap ? 0xFF : 0x77);
        ProgramWrites(t, 0x0E00, 0x5A);  // the EEPROM's window answers in every mode
        EXPECT_EQ(ProgramReads(t, 0x0E00), 0x5A);
        if (c.bootstrap) {  // where the boot ROM's reset vector leads: JMP $0000
            const uint8_t exit[] = {ProgramReads(t, 0xBF40), ProgramReads(t, 0xBF41), ProgramReads(t, 0xBF42)};
            EXPECT_THAT(exit, ::testing::ElementsAre(0x7E, 0x00, 0x00));
        }
        t.Place(0x0100, {0x3F});  // SWI
        t.Step();
        EXPECT_EQ(m.RegisterPC, c.swiHandler);
        EXPECT_EQ(m.Panel.PortGroups[PortBOutput].Colour, c.busColour);
        EXPECT_EQ(m.Panel.PortGroups[PortGOutput].Leds[7].Hint,
                  c.bootstrap ? " PG7 configured as Input " : " PG7 currently used as CSPRG ");
        EXPECT_EQ(m.Panel.EProgLabels.Begin, c.bootstrap ? "" : "0000");
    }
}

// Setting MDA brings the external memory back as it was; clearing RBOOT takes the boot ROM
// away; SMOD cleared is for good. In the normal modes the mode bits stay as they are.
TEST(OperatingModes, HprioModeBitsChangeTheMapInTheSpecialModesOnly) {
    struct Step {
        uint8_t written, hprio;
        uint8_t external, bootRom;
    };
    const Step bootstrap[] = {
        {0xF5, 0xF5, 0x12, 0xBF},  // MDA: special test mode, the bus answers
        {0x75, 0x75, 0x12, 0x55},  // RBOOT cleared: the external memory at $BFFE
        {0x35, 0x35, 0x12, 0x55},  // SMOD cleared: normal expanded mode
        {0xC5, 0x35, 0x12, 0x55},  // and the mode bits are fixed from then on
    };
    TTestMachine t;
    ResetInto(t, true);
    t.Machine->FlagI = true;
    for (const Step& s : bootstrap) {
        SCOPED_TRACE(s.written);
        ProgramWrites(t, 0x103C, s.written);
        EXPECT_EQ(ProgramReads(t, 0x103C), s.hprio);
        EXPECT_EQ(ProgramReads(t, 0x2000), s.external);
        EXPECT_EQ(ProgramReads(t, 0xBFFE), s.bootRom);
    }
}

// The boot loader's program may set up the chip whenever it likes: the special modes lift
// the 64-cycle and once-only limits of INIT, OPTION and TMSK2.
TEST(OperatingModes, ProtectedRegistersStayWritableInBootstrapMode) {
    for (bool bootstrapMode : {true, false}) {
        TTestMachine t;
        ResetInto(t, bootstrapMode);
        t.Machine->CycleCount = 1000;
        ProgramWrites(t, 0x1024, 0x03);  // TMSK2's prescaler
        ProgramWrites(t, 0x103D, 0x02);  // INIT: the registers to $2000
        const uint16_t tmsk2 = bootstrapMode ? 0x2024 : 0x1024;
        EXPECT_EQ(ProgramReads(t, tmsk2) & 0x03, bootstrapMode ? 3 : 0) << bootstrapMode;
    }
}

TEST(OperatingModes, ALoadInBootstrapModeFillsTheRamAndAHintOtherwise) {
    const std::filesystem::path file = std::filesystem::path(::testing::TempDir()) / "ram_program.s19";
    std::ofstream(file) << "S1060000CE1234E5\nS9030000FC\n";  // $0000: LDX #$1234
    for (bool bootstrapMode : {true, false}) {
        TTestMachine t;
        TMachine& m = *t.Machine;
        if (bootstrapMode) m.ModeLedClick();
        EXPECT_EQ(m.LoadFile(file.string()), TLoadResult::Loaded);
        m.ResetMoor(ExternalReset);
        EXPECT_EQ(ProgramReads(t, 0x0001), bootstrapMode ? 0x12 : 0x00) << bootstrapMode;
        const bool hinted = std::any_of(t.Panel.Messages.begin(), t.Panel.Messages.end(), [](auto& shown) {
            return shown.Kind == TMessageKind::Note && shown.Text.find("--mode bootstrap") != std::string::npos;
        });
        EXPECT_EQ(hinted, !bootstrapMode);
    }
}

TEST(OperatingModes, TheModeLedsSwitchBothPinsAndSaySo) {
    TTestMachine t;
    TMachine& m = *t.Machine;
    for (bool lit : {false, true}) {
        m.ModeLedClick();
        EXPECT_EQ(m.Panel.MODALed.Lit, lit);
        EXPECT_EQ(m.Panel.MODBLed.Lit, lit);
        EXPECT_THAT(m.Panel.MODALed.Hint, ::testing::HasSubstr(lit ? "Mode: Expanded" : "Mode: Special Bootstrap"));
    }
}

}  // namespace
}  // namespace hexmoor::testing
