// Register writes: masks, protections, flags, derived state and the exact messages.
#include <gmock/gmock.h>

#include <functional>

#include "support/TestMachine.h"

namespace hexmoor::testing {
namespace {

using ::testing::ElementsAreArray;

struct TWriteCase {
    const char* name;
    uint8_t offset;
    uint8_t byte;
    std::vector<std::string> messages;  // with Internal Registers and Warnings checked
    int stored;                         // the block byte afterwards
    std::function<void(TMachine&)> setup = nullptr;
    std::function<void(const TMachine&)> check = nullptr;
};

std::ostream& operator<<(std::ostream& out, const TWriteCase& c) { return out << c.name; }

class RegisterWrites : public ::testing::TestWithParam<TWriteCase> {};

TEST_P(RegisterWrites, MessageStoredValueAndState) {
    const TWriteCase& c = GetParam();
    TTestMachine t;
    TMachine& m = *t.Machine;
    m.ResetMoor(ExternalReset);
    m.Panel.InternalRegistersMenu.Checked = true;
    if (c.setup) c.setup(m);
    t.Panel.Messages.clear();
    m.EffectiveAddress = uint16_t(m.IRegBeg + c.offset);
    m.DataByte = c.byte;
    m.StoreByte();
    EXPECT_THAT(t.Panel.MessageTexts(), ElementsAreArray(c.messages));
    EXPECT_EQ(m.RegisterBlock[c.offset], c.stored);
    if (c.check) c.check(m);
}

void At(TMachine& m, int64_t cycles) { m.CycleCount = cycles; }

INSTANTIATE_TEST_SUITE_P(
    Registers, RegisterWrites,
    ::testing::Values(
        TWriteCase{"DdrdMasked", 0x09, 0xFF, {"Writing $3F to DDRD"}, 0x3F, nullptr,
                   [](const TMachine& m) {
                       EXPECT_EQ(m.Panel.PortGroups[PortDOutput].Leds[5].Hint, " PD5 configured as Output ");
                   }},
        TWriteCase{"PortaLightsItsLeds", 0x00, 0x81, {"Writing $81 to PORTA"}, 0x81, nullptr,
                   [](const TMachine& m) {
                       EXPECT_TRUE(m.Panel.PortGroups[PortAOutput].Leds[7].Lit);
                       EXPECT_FALSE(m.Panel.PortGroups[PortAOutput].Leds[6].Lit);
                   }},
        TWriteCase{"PorteIsInputOnly", 0x0A, 0x12, {"Writing $12 to PORTE (Input Only)"}, 0x00},
        TWriteCase{"Cforc", 0x0B, 0xFF, {"Writing $F8 to CFORC (Output Compare not implemented)"}, 0xF8},
        TWriteCase{"Toc1HighHasALeadingBlank", 0x16, 0x12, {"Writing $12 to  TOC1 (First Byte)"}, 0x12},
        TWriteCase{"Toc4Low", 0x1D, 0x34, {"Writing $34 to TOC4 (Second Byte)"}, 0x34},
        TWriteCase{"TcntIsReadOnly", 0x0F, 0x12, {"Writing $12 to TCNT (Second Byte) (Read Only)"}, 0x00},
        TWriteCase{"Ti4o5WhileInputCapture", 0x1E, 0x12,
                   {"Writing $12 to TI4O5 (First Byte) (IC4 Function Enabled)"}, 0xFF,
                   [](TMachine& m) { m.RegisterBlock[0x26] = 0x04; }},
        TWriteCase{"Tflg1ClearsOnlyWrittenOnes", 0x23, 0x40, {"Writing $40 to TFLG1"}, 0x80,
                   [](TMachine& m) {
                       m.RegisterBlock[0x23] = 0xC0;
                       m.PendingInterrupts = IntOC1 | IntOC2 | IntRTI;
                   },
                   [](const TMachine& m) { EXPECT_EQ(m.PendingInterrupts, IntOC1 | IntRTI); }},
        TWriteCase{"Tflg1ZeroClearsNothing", 0x23, 0x00, {"Writing $00 to TFLG1"}, 0xC0,
                   [](TMachine& m) {
                       m.RegisterBlock[0x23] = 0xC0;
                       m.PendingInterrupts = IntOC1 | IntOC2;
                   },
                   [](const TMachine& m) { EXPECT_EQ(m.PendingInterrupts, IntOC1 | IntOC2); }},
        TWriteCase{"Tflg2", 0x25, 0x4F, {"Writing $40 to TFLG2"}, 0x80,
                   [](TMachine& m) {
                       m.RegisterBlock[0x25] = 0xC0;
                       m.PendingInterrupts = IntTOF | IntRTI | IntOC1;
                   },
                   [](const TMachine& m) { EXPECT_EQ(m.PendingInterrupts, IntTOF | IntOC1); }},
        TWriteCase{"Tmsk2WithinSixtyFourCycles", 0x24, 0x83, {"Writing $83 to TMSK2 within 64 cycles"}, 0x83,
                   nullptr,
                   [](const TMachine& m) {
                       EXPECT_EQ(m.PrescalerShift, 4);
                       EXPECT_EQ(m.PrescalerMask, 15);
                       EXPECT_EQ(m.EnabledInterrupts, IntIRQ | IntTOF);
                   }},
        TWriteCase{"Tmsk2Twice", 0x24, 0x42, {"Writing $42 to TMSK2 (multiple write)"}, 0x43,
                   [](TMachine& m) {
                       m.EffectiveAddress = 0x1024;
                       m.DataByte = 0x83;
                       m.StoreByte();
                   },
                   [](const TMachine& m) {
                       EXPECT_EQ(m.PrescalerShift, 4) << "the prescaler was set once";
                       EXPECT_EQ(m.EnabledInterrupts, IntIRQ | IntRTI);
                   }},
        TWriteCase{"Tmsk2Late", 0x24, 0xF3, {"Writing $F3 to TMSK2 after 64 cycles"}, 0xF0,
                   [](TMachine& m) { At(m, 64); },
                   [](const TMachine& m) { EXPECT_EQ(m.PrescalerShift, 0); }},
        TWriteCase{"Pactl", 0x26, 0xFF, {"Writing $77 to PACTL"}, 0x77, nullptr,
                   [](const TMachine& m) {
                       EXPECT_EQ(m.RtiRate, 8);
                       EXPECT_EQ(m.PulseMode, 4);
                   }},
        TWriteCase{"PactlPulseModes", 0x26, 0x50, {"Writing $50 to PACTL"}, 0x50, nullptr,
                   [](const TMachine& m) { EXPECT_EQ(m.PulseMode, 2); }},
        TWriteCase{"Tmsk1", 0x22, 0xC0, {"Writing $C0 to TMSK1"}, 0xC0, nullptr,
                   [](const TMachine& m) { EXPECT_EQ(m.EnabledInterrupts, IntIRQ | IntOC1 | IntOC2); }},
        TWriteCase{"Spcr", 0x28, 0x80, {"Writing $80 to SPCR (SPI not implemented)"}, 0x80, nullptr,
                   [](const TMachine& m) { EXPECT_EQ(m.EnabledInterrupts, IntIRQ | IntSPI); }},
        TWriteCase{"Sccr2", 0x2D, 0x10, {"Writing $10 to SCCR2"}, 0x10, nullptr,
                   [](const TMachine& m) { EXPECT_EQ(m.EnabledInterrupts, IntIRQ | IntSCI); }},
        TWriteCase{"Oc1", 0x0D, 0xA7, {"Writing $A0 to OC1D"}, 0xA0,
                   [](TMachine& m) { m.RegisterBlock[0x0C] = 0xF8; },
                   [](const TMachine& m) {
                       EXPECT_THAT(m.Oc1Action, ElementsAreArray<uint8_t>({3, 2, 3, 2, 2}));
                   }},
        TWriteCase{"Tctl1TakesPa4", 0x20, 0x5C, {"Writing $5C to TCTL1"}, 0x5C, nullptr,
                   [](const TMachine& m) {
                       EXPECT_EQ(m.Oc2Action, 1);
                       EXPECT_EQ(m.Oc3Action, 1);
                       EXPECT_EQ(m.Oc4Action, 3);
                       const TLed& pa4 = m.Panel.PortGroups[PortAOutput].Leds[4];
                       EXPECT_EQ(pa4.Hint, " PA4 configured as Output Compare ");
                       EXPECT_EQ(pa4.LitColour, kAqua);
                       EXPECT_TRUE(pa4.Lit);
                   }},
        TWriteCase{"Tctl2", 0x21, 0xE4, {"Writing $E4 to TCTL2"}, 0xE4, nullptr,
                   [](const TMachine& m) {
                       EXPECT_EQ(m.Ic4Edge, 3);
                       EXPECT_EQ(m.Ic1Edge, 2);
                       EXPECT_EQ(m.Ic2Edge, 1);
                       EXPECT_EQ(m.Ic3Edge, 0);
                   }},
        TWriteCase{"AdctlUnpowered", 0x30, 0x05, {"Writing $05 to ADCTL (not Powered Up)"}, 0x05,
                   nullptr,
                   [](const TMachine& m) {
                       EXPECT_EQ(m.AdChannel, 5);
                       EXPECT_EQ(m.AdResultIndex, 0);
                       EXPECT_EQ(m.AdConversionDelay, 32);
                   }},
        TWriteCase{"AdctlStabilizing", 0x30, 0xD6, {"Writing $16 to ADCTL (not Stabilized)"}, 0x16,
                   [](TMachine& m) {
                       m.RegisterBlock[0x39] = 0x80;
                       m.AdStabilizeBlocks = 3;
                   },
                   [](const TMachine& m) { EXPECT_EQ(m.AdChannel, 4) << "MULT: the group's first"; }},
        TWriteCase{"Adctl", 0x30, 0x22, {"Writing $22 to ADCTL"}, 0x22,
                   [](TMachine& m) { m.RegisterBlock[0x39] = 0x80; }},
        TWriteCase{"BprotCannotUnprotectLate", 0x35, 0x00,
                   {"Writing $00 to BPROT (Trying to unprotect EE after 64 cycles)",
                    "Writing $1F to BPROT (Protection not Implemented)"},
                   0x1F,
                   [](TMachine& m) {
                       m.RegisterBlock[0x35] = 0x1F;
                       At(m, 100);
                   }},
        TWriteCase{"BprotEarly", 0x35, 0xE0, {"Writing $00 to BPROT (Protection not Implemented)"}, 0x00,
                   [](TMachine& m) { m.RegisterBlock[0x35] = 0x1F; }},
        TWriteCase{"Opt2First", 0x38, 0xFF, {"Writing $E0 to OPT2"}, 0xE0},
        TWriteCase{"Opt2KeepsClk4x", 0x38, 0x00, {"Writing $20 to OPT2"}, 0x20,
                   [](TMachine& m) { m.FirstOpt2Write = false; }},
        TWriteCase{"OptionWithinSixtyFourCycles", 0x39, 0x93, {"Writing $93 to OPTION within 64 cycles"},
                   0x93, [](TMachine& m) { m.CopBlocks = 0; },
                   [](const TMachine& m) {
                       EXPECT_EQ(m.CopBlocks, 64);
                       EXPECT_EQ(m.AdStabilizeBlocks, 10);
                       EXPECT_EQ(m.AdStabilizeCycles, 100);
                   }},
        TWriteCase{"OptionTwice", 0x39, 0x93, {"Writing $93 to OPTION (multiple write)"}, 0xB7,
                   [](TMachine& m) {
                       m.FirstOptionWrite = false;
                       m.RegisterBlock[0x39] = 0x7F;
                   },
                   [](const TMachine& m) { EXPECT_EQ(m.AdStabilizeBlocks, 10) << "restarted"; }},
        TWriteCase{"OptionLate", 0x39, 0xFF, {"Writing $FF to OPTION after 64 cycles"}, 0xD8,
                   [](TMachine& m) { At(m, 64); }},
        TWriteCase{"HprioFirstWithIClear", 0x3C, 0xFF, {"Writing $35 to HPRIO"}, 0x35,
                   [](TMachine& m) { m.FlagI = false; }},
        TWriteCase{"HprioFirstWithISetKeepsAllOfPsel", 0x3C, 0x0F, {"Writing $2F to HPRIO"}, 0x2F},
        TWriteCase{"HprioLaterWithISet", 0x3C, 0x1C, {"Writing $2C to HPRIO"}, 0x2C,
                   [](TMachine& m) {
                       m.FirstHprioWrite = false;
                       m.RegisterBlock[0x3C] = 0x2F;
                   }},
        TWriteCase{"HprioLaterWithIClearChangesNothing", 0x3C, 0x0F, {"Writing $25 to HPRIO"}, 0x25,
                   [](TMachine& m) {
                       m.FirstHprioWrite = false;
                       m.FlagI = false;
                   }},
        TWriteCase{"InitWithinSixtyFourCycles", 0x3D, 0x32, {"Writing $32 to INIT within 64 cycles"}, 0x32,
                   nullptr,
                   [](const TMachine& m) {
                       EXPECT_EQ(m.IRegBeg, 0x2000);
                       EXPECT_EQ(m.IRegEnd, 0x205F);
                       EXPECT_EQ(m.IRamBeg, 0x3000);
                       EXPECT_EQ(m.IRamEnd, 0x33FF);
                       EXPECT_EQ(m.Panel.IRegLabels.End, "205F");
                   }},
        TWriteCase{"InitLate", 0x3D, 0x32, {"Writing $32 to INIT after 64 cycles"}, 0x25,
                   [](TMachine& m) { At(m, 64); },
                   [](const TMachine& m) {
                       EXPECT_EQ(m.IRegBeg, 0x1000);
                       EXPECT_FALSE(m.FirstInitWrite);
                   }},
        TWriteCase{"InitTwice", 0x3D, 0x32, {"Writing $32 to INIT (multiple write)"}, 0x25,
                   [](TMachine& m) { m.FirstInitWrite = false; }},
        TWriteCase{"ConfigIsNotAllowed", 0x3F, 0x00, {"Writing $0A to CONFIG (not Allowed)"}, 0x0F},
        TWriteCase{"Pprog", 0x3B, 0xFF, {"Writing $DB to PPROG (not Implemented)"}, 0x00},
        TWriteCase{"Unassigned", 0x36, 0x12, {"Writing $12 to $36"}, 0x00},
        TWriteCase{"PrinterDataHasNoMessage", 0x40, 0x41, {}, 0x00},
        TWriteCase{"Csctl", 0x5D, 0xA5, {"Writing $A5 to CSCTL"}, 0xA5, nullptr,
                   [](const TMachine& m) {
                       EXPECT_EQ(m.Panel.EProgLabels.Begin, "8000");
                       EXPECT_EQ(m.Panel.EIo1Labels.Begin, "1060");
                       EXPECT_EQ(m.Panel.EIo1Labels.End, "17FF");
                       EXPECT_EQ(m.Panel.EIo2Labels.Begin, "1800");
                       EXPECT_TRUE(m.CsIo1Enabled && m.CsIo2Enabled && m.CsPrgEnabled);
                       EXPECT_EQ(m.Panel.PortGroups[PortGInput].Leds[5].UnlitColour, kYellow);
                       EXPECT_EQ(m.Panel.PortGroups[PortGOutput].Leds[4].LitColour, kAqua);
                   }},
        TWriteCase{"CsctlReleasesPg7", 0x5D, 0x00, {"Writing $00 to CSCTL"}, 0x00, nullptr,
                   [](const TMachine& m) {
                       EXPECT_FALSE(m.CsPrgEnabled);
                       EXPECT_EQ(m.Panel.EProgLabels.Begin, "");
                       EXPECT_EQ(m.Panel.PortGroups[PortGInput].Leds[7].LitColour, kLime);
                       EXPECT_EQ(m.Panel.PortGroups[PortGOutput].Leds[7].LitColour, kOlive);
                   }},
        TWriteCase{"GeneralChipSelect32K", 0x5F, 0x01, {"Writing $01 to CSGSIZ"}, 0x01,
                   [](TMachine& m) { m.RegisterBlock[0x5E] = 0x80; },
                   [](const TMachine& m) {
                       EXPECT_EQ(m.Panel.EGenLabels.Begin, "8000");
                       EXPECT_EQ(m.Panel.EGenLabels.End, "FFFF");
                       EXPECT_EQ(m.Panel.PortGroups[PortGOutput].Leds[6].LitColour, kAqua);
                   }},
        TWriteCase{"GeneralChipSelect1K", 0x5E, 0xB7, {"Writing $B4 to CSGADR"}, 0xB4,
                   [](TMachine& m) { m.RegisterBlock[0x5F] = 0x06; },
                   [](const TMachine& m) {
                       EXPECT_EQ(m.EGenBeg, 0xB400);
                       EXPECT_EQ(m.EGenEnd, 0xB7FF);
                   }},
        TWriteCase{"GeneralChipSelectOff", 0x5F, 0xFF, {"Writing $DF to CSGSIZ"}, 0xDF,
                   [](TMachine& m) { m.Panel.EGenLabels.Begin = "8000"; },
                   [](const TMachine& m) {
                       EXPECT_FALSE(m.CsGenEnabled);
                       EXPECT_EQ(m.Panel.EGenLabels.Begin, "");
                   }}),
    [](const auto& info) { return info.param.name; });

TEST(RegisterWriteSequences, CoprstArmsThenRestarts) {
    struct Case {
        std::vector<uint8_t> bytes;
        bool restarted;
        uint8_t state;
    } cases[] = {
        {{0x55, 0xAA}, true, 0x55},
        {{0xAA}, false, 0x55},
        {{0x55, 0x00, 0xAA}, false, 0x55},
        {{0x55}, false, 0xAA},
    };
    for (const Case& c : cases) {
        TTestMachine t;
        TMachine& m = *t.Machine;
        m.ResetMoor(ExternalReset);
        m.CopCycles = 100;
        for (uint8_t byte : c.bytes) {
            m.EffectiveAddress = 0x103A;
            m.DataByte = byte;
            m.StoreByte();
        }
        EXPECT_EQ(m.CopCycles == 32768, c.restarted) << c.bytes.size();
        EXPECT_EQ(m.RegisterBlock[0x3A], c.state);
    }
}

TEST(RegisterWriteSequences, WarningsShowUnderEitherOptionAndCancelSilencesThatOne) {
    TTestMachine t;
    TMachine& m = *t.Machine;
    m.Panel.InternalRegistersMenu.Checked = false;
    m.Panel.WarningsMenu.Checked = true;
    t.Panel.Answers = {TMessageResult::Cancel};
    for (uint16_t address : {0x1001, 0x100F, 0x100F}) {  // DDRA (info), TCNT (read only) twice
        m.EffectiveAddress = address;
        m.DataByte = 1;
        m.StoreByte();
    }
    EXPECT_EQ(t.Panel.MessageTexts(), std::vector<std::string>{"Writing $01 to TCNT (Second Byte) (Read Only)"});
    EXPECT_FALSE(m.Panel.WarningsMenu.Checked);
}

TEST(RegisterPrograms, RelocationInTheFirstInstructions) {
    TTestMachine t;
    t.RunProgram("relocate");
    const TMachine& m = *t.Machine;
    EXPECT_EQ(m.IRegBeg, 0x4000);
    EXPECT_EQ(m.IRamBeg, 0x9000);
    EXPECT_EQ(m.RegisterBlock[0x18], 0x12);
    EXPECT_EQ(m.RegisterBlock[0x19], 0x34);
    EXPECT_EQ(t.Word(0x9000), 0x1234) << "read back through the moved window";
    EXPECT_EQ(m.MemoryImage[0x9002], 1) << "a RAM variable in the moved RAM";
    EXPECT_EQ(m.MemoryImage[0x1018], 0x5A) << "plain memory where the registers were";
    EXPECT_EQ(m.RegisterSP, 0x93FF);
}

TEST(RegisterWriteSequences, Tmsk2PrescalerBitsOnceWithin64CyclesAndNoBits3To2) {
    struct Case {
        const char* name;
        int64_t cycle;
        std::vector<uint8_t> bytes;
        uint8_t reads;
    } cases[] = {
        {"first write early", 3, {0xFF}, 0xF3},
        {"first write at cycle 63", 63, {0x0E}, 0x02},
        {"first write at cycle 64", 64, {0xFF}, 0xF0},
        {"a second write changes bits 7-4 only", 3, {0x0F, 0xFC}, 0xF3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TTestMachine t;
        t.Machine->ResetMoor(ExternalReset);
        t.Machine->CycleCount = c.cycle;
        for (uint8_t byte : c.bytes) t.WriteRegister(0x24, byte);
        EXPECT_EQ(t.ReadRegister(0x24), c.reads);
    }
}

TEST(RegisterWriteSequences, Ti4o5IsStoredOnlyWhilePactlLeavesItACompare) {
    struct Case {
        uint8_t pactl;
        uint16_t reads;  // both bytes, through the read half of a read-modify-write
    } cases[] = {{0x00, 0x1234}, {0x73, 0x1234}, {0x04, 0xFF00}, {0xFF, 0xFF00}};
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "PACTL $" << std::hex << int(c.pactl));
        TTestMachine t;
        t.Machine->ResetMoor(ExternalReset);
        t.WriteRegister(0x26, c.pactl);
        t.WriteRegister(0x1E, 0x12);
        t.WriteRegister(0x1F, 0x34);
        EXPECT_EQ(t.ReadLatch(0x1E) << 8 | t.ReadLatch(0x1F), c.reads);
    }
}

TEST(RegisterWriteSequences, GeneralChipSelectForEverySize) {
    // CSGSIZ (bit 5 does not exist) then CSGADR $57 and $AB (bits 1-0 do not exist): the
    // size decides how many of the address bits count.
    struct Case {
        uint8_t size;
        TRangeLabels low, high;
    } cases[] = {
        {0, {"0000", "FFFF"}, {"0000", "FFFF"}}, {1, {"0000", "7FFF"}, {"8000", "FFFF"}},
        {2, {"4000", "7FFF"}, {"8000", "BFFF"}}, {3, {"4000", "5FFF"}, {"A000", "BFFF"}},
        {4, {"5000", "5FFF"}, {"A000", "AFFF"}}, {5, {"5000", "57FF"}, {"A800", "AFFF"}},
        {6, {"5400", "57FF"}, {"A800", "ABFF"}}, {7, {"", ""}, {"", ""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "size " << int(c.size));
        TTestMachine t;
        TMachine& m = *t.Machine;
        m.ResetMoor(ExternalReset);
        t.WriteRegister(0x5F, uint8_t(0x20 | c.size));
        EXPECT_EQ(t.ReadRegister(0x5F), c.size);
        auto labels = [&m] { return std::pair(m.Panel.EGenLabels.Begin, m.Panel.EGenLabels.End); };
        t.WriteRegister(0x5E, 0x57);
        EXPECT_EQ(labels(), std::pair(c.low.Begin, c.low.End));
        t.WriteRegister(0x5E, 0xAB);
        EXPECT_EQ(t.ReadRegister(0x5E), 0xA8);
        EXPECT_EQ(labels(), std::pair(c.high.Begin, c.high.End));
        EXPECT_EQ(m.Panel.PortGroups[PortGOutput].Leds[6].LitColour, c.size == 7 ? kOlive : kAqua);
    }
}

TEST(RegisterWriteSequences, ChipSelectsAfterTheRegisterBlockMoves) {
    // IO1 and IO2 sit above the register block as it is at the CSCTL write; moving the
    // block with INIT leaves them until CSCTL is written again.
    struct Case {
        uint8_t init, csctl;
        const char *ram, *registers;
        TRangeLabels program, io1, io2;
    } cases[] = {
        {0x01, 0xA4, "0000", "1000", {"0000", "FFFF"}, {"1060", "17FF"}, {"1800", "1FFF"}},
        {0x0B, 0xA5, "0000", "B000", {"8000", "FFFF"}, {"B060", "B7FF"}, {"B800", "BFFF"}},
        {0x32, 0x86, "3000", "2000", {"C000", "FFFF"}, {"2060", "27FF"}, {"", ""}},
        {0xF4, 0x27, "F000", "4000", {"E000", "FFFF"}, {"", ""}, {"4800", "4FFF"}},
        {0x01, 0x00, "0000", "1000", {"", ""}, {"", ""}, {"", ""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << std::hex << "INIT $" << int(c.init) << " CSCTL $"
                                          << int(c.csctl));
        TTestMachine t;
        const TPanelState& p = t.Machine->Panel;
        t.Machine->ResetMoor(ExternalReset);
        t.WriteRegister(0x5D, 0xA0);
        t.WriteRegister(0x3D, c.init);
        EXPECT_EQ(p.IRamLabels.Begin, c.ram);
        EXPECT_EQ(p.IRegLabels.Begin, c.registers);
        EXPECT_EQ(p.EIo1Labels.Begin, "1060") << "not moved by INIT";
        t.WriteRegister(0x5D, c.csctl);
        EXPECT_EQ(t.ReadRegister(0x5D), c.csctl);
        auto range = [](const TRangeLabels& labels) { return std::pair(labels.Begin, labels.End); };
        EXPECT_EQ(range(p.EProgLabels), range(c.program));
        EXPECT_EQ(range(p.EIo1Labels), range(c.io1));
        EXPECT_EQ(range(p.EIo2Labels), range(c.io2));
    }
}

TEST(RegisterWriteSequences, WhichViewOptionShowsEachMessageAndWhichOneCancelUnchecks) {
    // Each access under the four settings of Internal Registers and Warnings, answered with
    // Cancel. Cancel unchecks the first option that let the message through, Internal
    // Registers before Warnings.
    struct Case {
        const char* name;
        uint16_t address;
        bool write;
        bool underRegisters, underWarnings;
        TMessageKind kind = TMessageKind::Information;
    } cases[] = {
        {"write DDRA", 0x1001, true, true, false},
        {"write CFORC", 0x100B, true, true, false},
        {"write TCTL1", 0x1020, true, true, false},
        {"write PPROG", 0x103B, true, true, false},
        {"write PORTE", 0x100A, true, true, true, TMessageKind::Warning},
        {"write TCNT", 0x100E, true, true, true, TMessageKind::Warning},
        {"write CONFIG", 0x103F, true, true, true, TMessageKind::Warning},
        {"write unassigned", 0x1041, true, true, true, TMessageKind::Warning},
        {"write the printer", 0x1040, true, false, false},
        {"read DDRA", 0x1001, false, true, false},
        {"read PORTA", 0x1000, false, true, false},
        {"read PORTE", 0x100A, false, true, false},
        {"read TI4O5", 0x101E, false, true, false},
        {"read SPCR", 0x1028, false, true, false},
        {"read CFORC", 0x100B, false, true, true, TMessageKind::Warning},
        {"read unassigned", 0x1041, false, false, true, TMessageKind::Warning},
        {"read the terminal status", 0x1036, false, false, false},
    };
    for (const Case& c : cases) {
        for (int options = 0; options < 4; ++options) {
            const bool registers = options & 1, warnings = options & 2;
            SCOPED_TRACE(::testing::Message() << c.name << ", Internal Registers " << registers
                                              << ", Warnings " << warnings);
            TTestMachine t;
            TMachine& m = *t.Machine;
            m.ResetMoor(ExternalReset);
            m.Panel.InternalRegistersMenu.Checked = registers;
            m.Panel.WarningsMenu.Checked = warnings;
            t.Panel.Messages.clear();
            t.Panel.Answers = {TMessageResult::Cancel};
            m.EffectiveAddress = c.address;
            m.DataByte = 0x01;
            c.write ? m.StoreByte() : m.LoadByte();
            const bool byRegisters = registers && c.underRegisters;
            const bool shown = byRegisters || (warnings && c.underWarnings);
            ASSERT_EQ(t.Panel.Messages.size(), shown ? 1u : 0u);
            if (shown) {
                EXPECT_EQ(t.Panel.Messages[0].Kind, c.kind);
            }
            EXPECT_EQ(m.Panel.InternalRegistersMenu.Checked, registers && !(shown && byRegisters));
            EXPECT_EQ(m.Panel.WarningsMenu.Checked, warnings && !(shown && !byRegisters));
        }
    }
}

}  // namespace
}  // namespace hexmoor::testing
