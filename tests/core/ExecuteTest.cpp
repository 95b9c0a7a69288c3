// Single instructions: results, condition codes, lengths, cycles and ChangeMask.
#include <gmock/gmock.h>

#include <vector>

#include "support/TestMachine.h"

namespace hexmoor::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr uint16_t kCode = 0x2000;

// Sets all eight flags from a CCR byte (X included, unlike TAP).
void SetCcr(TMachine& m, uint8_t ccr) {
    m.FlagX = ccr & 0x40;
    m.UnpackCcr(ccr);
}

// --- 8-bit operations on an accumulator -------------------------------------------------

struct TAccumulatorCase {
    const char* name;
    std::vector<uint8_t> code;
    uint8_t value;  // the accumulator the instruction works on (A, or B for $Cx/$5x codes)
    uint8_t ccrIn;
    uint8_t expected;
    uint8_t ccrOut;  // H N Z V C; S X I clear
};
std::ostream& operator<<(std::ostream& out, const TAccumulatorCase& c) { return out << c.name; }


class AccumulatorOperations : public ::testing::TestWithParam<TAccumulatorCase> {};

TEST_P(AccumulatorOperations, ResultAndFlags) {
    const TAccumulatorCase& c = GetParam();
    TTestMachine t;
    TMachine& m = *t.Machine;
    t.Place(kCode, c.code);
    const bool onB = (c.code[0] & 0xF0) == 0xC0 || (c.code[0] & 0xF0) == 0x50;
    (onB ? m.RegisterB : m.RegisterA) = c.value;
    SetCcr(m, c.ccrIn);
    t.Step();
    EXPECT_EQ(onB ? m.RegisterB : m.RegisterA, c.expected);
    EXPECT_EQ(m.PackedCcr(), c.ccrOut) << "flags HINZVC";
    EXPECT_EQ(m.RegisterPC, kCode + c.code.size());
}

INSTANTIATE_TEST_SUITE_P(
    Cpu, AccumulatorOperations,
    ::testing::Values(
        TAccumulatorCase{"AddHalfCarryAndOverflow", {0x8B, 0x55}, 0x2B, 0x00, 0x80, 0x2A},
        TAccumulatorCase{"AddCarriesOut", {0x8B, 0x01}, 0xFF, 0x00, 0x00, 0x25},
        TAccumulatorCase{"AddOnB", {0xCB, 0x55}, 0x2B, 0x00, 0x80, 0x2A},
        TAccumulatorCase{"AddWithCarryIn", {0x89, 0x00}, 0xFF, 0x01, 0x00, 0x25},
        TAccumulatorCase{"SubtractBorrowsKeepsH", {0x80, 0x01}, 0x00, 0x20, 0xFF, 0x29},
        TAccumulatorCase{"SubtractOverflows", {0x80, 0x01}, 0x80, 0x00, 0x7F, 0x02},
        TAccumulatorCase{"SubtractWithBorrowIn", {0x82, 0x00}, 0x00, 0x01, 0xFF, 0x09},
        TAccumulatorCase{"CompareKeepsAccumulator", {0x81, 0x30}, 0x30, 0x00, 0x30, 0x04},
        TAccumulatorCase{"AndClearsVKeepsC", {0x84, 0x0F}, 0xF3, 0x03, 0x03, 0x01},
        TAccumulatorCase{"BitKeepsAccumulator", {0x85, 0x80}, 0x80, 0x00, 0x80, 0x08},
        TAccumulatorCase{"Or", {0x8A, 0x80}, 0x01, 0x00, 0x81, 0x08},
        TAccumulatorCase{"ExclusiveOr", {0x88, 0xFF}, 0xFF, 0x00, 0x00, 0x04},
        TAccumulatorCase{"LoadClearsV", {0x86, 0x00}, 0x55, 0x02, 0x00, 0x04},
        TAccumulatorCase{"NegateMostNegative", {0x40}, 0x80, 0x00, 0x80, 0x0B},
        TAccumulatorCase{"NegateZero", {0x40}, 0x00, 0x0F, 0x00, 0x04},
        TAccumulatorCase{"NegateOne", {0x50}, 0x01, 0x00, 0xFF, 0x09},
        TAccumulatorCase{"Complement", {0x43}, 0x00, 0x00, 0xFF, 0x09},
        TAccumulatorCase{"IncrementOverflowsKeepsC", {0x4C}, 0x7F, 0x01, 0x80, 0x0B},
        TAccumulatorCase{"DecrementOverflows", {0x4A}, 0x80, 0x00, 0x7F, 0x02},
        TAccumulatorCase{"DecrementToZero", {0x5A}, 0x01, 0x00, 0x00, 0x04},
        TAccumulatorCase{"Clear", {0x4F}, 0x55, 0x0B, 0x00, 0x04},
        TAccumulatorCase{"TestClearsVAndC", {0x4D}, 0x80, 0x03, 0x80, 0x08},
        TAccumulatorCase{"ShiftLeftCarry", {0x48}, 0xC0, 0x00, 0x80, 0x09},
        TAccumulatorCase{"ShiftLeftOverflow", {0x48}, 0x40, 0x00, 0x80, 0x0A},
        TAccumulatorCase{"LogicalShiftRight", {0x44}, 0x01, 0x00, 0x00, 0x07},
        TAccumulatorCase{"ArithmeticShiftRightKeepsSign", {0x47}, 0x81, 0x00, 0xC0, 0x09},
        TAccumulatorCase{"RotateLeftThroughCarry", {0x49}, 0x80, 0x00, 0x00, 0x07},
        TAccumulatorCase{"RotateLeftTakesCarryIn", {0x59}, 0x01, 0x01, 0x03, 0x00},
        TAccumulatorCase{"RotateRightTakesCarryIn", {0x46}, 0x01, 0x01, 0x80, 0x09}),
    [](const auto& info) { return info.param.name; });

// --- 16-bit operations, multiply and divide ------------------------------------------

struct TWordCase {
    const char* name;
    std::vector<uint8_t> code;
    uint16_t d, x;
    uint8_t ccrIn;
    uint16_t expectedD, expectedX;
    uint8_t ccrOut;
};
std::ostream& operator<<(std::ostream& out, const TWordCase& c) { return out << c.name; }


class WordOperations : public ::testing::TestWithParam<TWordCase> {};

TEST_P(WordOperations, ResultAndFlags) {
    const TWordCase& c = GetParam();
    TTestMachine t;
    TMachine& m = *t.Machine;
    t.Place(kCode, c.code);
    m.RegisterD = c.d;
    m.RegisterX = c.x;
    SetCcr(m, c.ccrIn);
    t.Step();
    EXPECT_EQ(m.RegisterD, c.expectedD);
    EXPECT_EQ(m.RegisterX, c.expectedX);
    EXPECT_EQ(m.PackedCcr(), c.ccrOut) << "flags HINZVC";
}

INSTANTIATE_TEST_SUITE_P(
    Cpu, WordOperations,
    ::testing::Values(
        TWordCase{"ShiftDRightIntoCarry", {0x04}, 0x0001, 0, 0x00, 0x0000, 0, 0x07},
        TWordCase{"ShiftDLeftOverflows", {0x05}, 0x4000, 0, 0x00, 0x8000, 0, 0x0A},
        TWordCase{"AddDCarriesOut", {0xC3, 0x00, 0x01}, 0xFFFF, 0, 0x00, 0x0000, 0, 0x05},
        TWordCase{"SubtractDOverflows", {0x83, 0x00, 0x01}, 0x8000, 0, 0x00, 0x7FFF, 0, 0x02},
        TWordCase{"CompareD", {0x1A, 0x83, 0x12, 0x34}, 0x1234, 0, 0x00, 0x1234, 0, 0x04},
        TWordCase{"CompareXBorrows", {0x8C, 0x80, 0x00}, 0, 0x0000, 0x00, 0, 0x0000, 0x0B},
        TWordCase{"LoadXClearsV", {0xCE, 0x80, 0x00}, 0, 0, 0x02, 0, 0x8000, 0x08},
        TWordCase{"IncrementXWrapsSetsOnlyZ", {0x08}, 0, 0xFFFF, 0x0B, 0, 0x0000, 0x0F},
        TWordCase{"DecrementXClearsOnlyZ", {0x09}, 0, 0x0002, 0x05, 0, 0x0001, 0x01},
        TWordCase{"MultiplyLargest", {0x3D}, 0xFFFF, 0, 0x00, 0xFE01, 0, 0x00},
        TWordCase{"MultiplyCarryIsBit7OfB", {0x3D}, 0x0240, 0, 0x00, 0x0080, 0, 0x01},
        TWordCase{"IntegerDivide", {0x02}, 0x1234, 0x0010, 0x03, 0x0004, 0x0123, 0x00},
        TWordCase{"IntegerDivideQuotientZero", {0x02}, 0x0005, 0x0010, 0x00, 0x0005, 0x0000, 0x04},
        TWordCase{"IntegerDivideByZero", {0x02}, 0x1234, 0x0000, 0x06, 0x1234, 0xFFFF, 0x01},
        TWordCase{"FractionalDivide", {0x03}, 0x1000, 0x4000, 0x00, 0x0000, 0x4000, 0x00},
        TWordCase{"FractionalDivideOverflows", {0x03}, 0x1234, 0x1234, 0x05, 0x1234, 0xFFFF, 0x02},
        TWordCase{"FractionalDivideByZeroSetsVAndC", {0x03}, 0x0000, 0x0000, 0x04, 0x0000, 0xFFFF, 0x03},
        TWordCase{"ExchangeDX", {0x8F}, 0x1234, 0x5678, 0x00, 0x5678, 0x1234, 0x00},
        TWordCase{"AddBToXUnsigned", {0x3A}, 0x00FF, 0x1000, 0x00, 0x00FF, 0x10FF, 0x00}),
    [](const auto& info) { return info.param.name; });

// --- Addressing modes: where the operand comes from, lengths and cycles -----------------

struct TAddressingCase {
    const char* name;
    std::vector<uint8_t> code;
    uint16_t operandAddress;  // where the test puts $5A $A5; 0 for immediate operands
    int cycles;
    bool word;  // the instruction loads D, X or Y rather than A
};
std::ostream& operator<<(std::ostream& out, const TAddressingCase& c) { return out << c.name; }


class AddressingModes : public ::testing::TestWithParam<TAddressingCase> {};

TEST_P(AddressingModes, OperandLengthAndCycles) {
    const TAddressingCase& c = GetParam();
    TTestMachine t;
    TMachine& m = *t.Machine;
    m.RegisterX = 0x3000;
    m.RegisterY = 0xFF80;
    t.Place(kCode, c.code);
    if (c.operandAddress) {
        m.MemoryImage[c.operandAddress] = 0x5A;
        m.MemoryImage[uint16_t(c.operandAddress + 1)] = 0xA5;
    }
    EXPECT_EQ(t.Step(), c.cycles);
    EXPECT_EQ(m.RegisterPC, kCode + c.code.size());
    if (!c.word) {
        EXPECT_EQ(m.RegisterA, 0x5A);
    } else {
        const uint16_t loaded = c.code[0] == 0xCD ? m.RegisterX
                              : c.code[0] == 0xCC || c.code[0] == 0xFC ? m.RegisterD
                                                                       : m.RegisterY;
        EXPECT_EQ(loaded, 0x5AA5);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cpu, AddressingModes,
    ::testing::Values(
        TAddressingCase{"Immediate", {0x86, 0x5A}, 0, 2, false},
        TAddressingCase{"Direct", {0x96, 0x40}, 0x0040, 3, false},
        TAddressingCase{"Extended", {0xB6, 0x43, 0x21}, 0x4321, 4, false},
        TAddressingCase{"IndexedX", {0xA6, 0x10}, 0x3010, 4, false},
        TAddressingCase{"IndexedYWraps", {0x18, 0xA6, 0xFF}, 0x007F, 5, false},
        TAddressingCase{"Immediate16", {0xCC, 0x5A, 0xA5}, 0, 3, true},
        TAddressingCase{"ExtendedWord", {0xFC, 0x43, 0x21}, 0x4321, 5, true},
        TAddressingCase{"ImmediateAfterPrebyte", {0x18, 0xCE, 0x5A, 0xA5}, 0, 4, true},
        TAddressingCase{"IndexedXAfter1A", {0x1A, 0xEE, 0x05}, 0x3005, 6, true},
        TAddressingCase{"IndexedYAfterCDStraddles", {0xCD, 0xEE, 0xFF}, 0x007F, 6, true}),
    [](const auto& info) { return info.param.name; });

// --- Instructions that write memory ----------------------------------------------------

TEST(Cpu, StoreSetsFlagsAndReportsTheByte) {
    TTestMachine t;
    TMachine& m = *t.Machine;
    t.Place(kCode, {0xB7, 0x40, 0x00});  // STAA $4000
    m.RegisterA = 0x80;
    m.FlagV = true;
    EXPECT_EQ(t.Step(), 4);
    EXPECT_EQ(m.MemoryImage[0x4000], 0x80);
    EXPECT_TRUE(m.FlagN);
    EXPECT_FALSE(m.FlagV);
    EXPECT_EQ(m.ChangeMask & 0xFF00, 0x2000);
    EXPECT_EQ(m.EffectiveAddress, 0x4000);
    EXPECT_EQ(m.DataByte, 0x80);
}

TEST(Cpu, WordStoreReportsTheWord) {
    TTestMachine t;
    TMachine& m = *t.Machine;
    t.Place(kCode, {0x18, 0xED, 0x02});  // STD 2,Y
    m.RegisterY = 0x4000;
    m.RegisterD = 0x0000;
    EXPECT_EQ(t.Step(), 6);
    EXPECT_EQ(t.Word(0x4002), 0x0000);
    EXPECT_TRUE(m.FlagZ);
    EXPECT_EQ(m.ChangeMask & 0xFF00, 0x4000);
    EXPECT_EQ(m.OperandWord, 0x0000);
}

TEST(Cpu, ReadModifyWriteOnMemory) {
    struct Case {
        const char* name;
        std::vector<uint8_t> code;
        uint8_t before, after;
        int cycles;
    } cases[] = {
        {"INC extended", {0x7C, 0x40, 0x00}, 0x7F, 0x80, 6},
        {"NEG indexed X", {0x60, 0x00}, 0x01, 0xFF, 6},
        {"CLR indexed Y", {0x18, 0x6F, 0x00}, 0x55, 0x00, 7},
        {"BSET direct", {0x14, 0x40, 0x81}, 0x10, 0x91, 6},
        {"BCLR indexed X", {0x1D, 0x00, 0x0F}, 0x3C, 0x30, 7},
        {"BSET indexed Y", {0x18, 0x1C, 0x00, 0x01}, 0x00, 0x01, 8},
    };
    for (const Case& c : cases) {
        TTestMachine t;
        TMachine& m = *t.Machine;
        const uint16_t address = c.code[0] == 0x14 ? 0x0040 : 0x4000;
        m.RegisterX = m.RegisterY = 0x4000;
        m.MemoryImage[address] = c.before;
        t.Place(kCode, c.code);
        EXPECT_EQ(t.Step(), c.cycles) << c.name;
        EXPECT_EQ(m.MemoryImage[address], c.after) << c.name;
        EXPECT_EQ(m.RegisterPC, kCode + c.code.size()) << c.name;
        EXPECT_EQ(m.ChangeMask & 0xFF00, 0x2000) << c.name;
    }
}

TEST(Cpu, TestOnMemoryOnlyReads) {
    TTestMachine t;
    TMachine& m = *t.Machine;
    t.Place(kCode, {0x7D, 0x40, 0x00});  // TST $4000
    m.MemoryImage[0x4000] = 0x00;
    m.FlagC = true;
    EXPECT_EQ(t.Step(), 6);
    EXPECT_TRUE(m.FlagZ);
    EXPECT_FALSE(m.FlagC);
    EXPECT_EQ(m.ChangeMask & 0xFF00, 0x0000);
}

// --- Decimal adjust -------------------------------------------------------------------

uint8_t Bcd(int n) { return uint8_t((n / 10) << 4 | n % 10); }

TEST(Cpu, DecimalAdjustAfterEveryBcdAddition) {
    TTestMachine t;
    TMachine& m = *t.Machine;
    for (int carry = 0; carry <= 1; ++carry) {
        for (int a = 0; a < 100; ++a) {
            for (int b = 0; b < 100; ++b) {
                t.Place(kCode, {0x89, Bcd(b), 0x19});  // ADCA #b; DAA
                m.RegisterA = Bcd(a);
                m.FlagC = carry;
                t.Step();
                t.Step();
                const int sum = a + b + carry;
                ASSERT_EQ(m.RegisterA, Bcd(sum % 100)) << a << " + " << b << " + " << carry;
                ASSERT_EQ(m.FlagC, sum >= 100) << a << " + " << b << " + " << carry;
                ASSERT_EQ(m.FlagZ, sum % 100 == 0);
            }
        }
    }
    EXPECT_THAT(t.Panel.Messages, IsEmpty());
}

TEST(Cpu, DecimalAdjustCases) {
    struct Case {
        uint8_t a;
        bool c, h;
        uint8_t expectedA;
        bool expectedC;
        bool warned;
    } cases[] = {
        {0x9A, false, false, 0x00, true, false},
        {0x35, true, false, 0x35, true, true},    // no carry can follow from these digits
        {0x0C, false, true, 0x0C, false, true},
        {0x42, false, true, 0x48, false, false},
    };
    for (const Case& c : cases) {
        TTestMachine t;
        TMachine& m = *t.Machine;
        t.Place(kCode, {0x19});
        m.RegisterA = c.a;
        m.FlagC = c.c;
        m.FlagH = c.h;
        t.Step();
        EXPECT_EQ(m.RegisterA, c.expectedA) << std::hex << int(c.a);
        EXPECT_EQ(m.FlagC, c.expectedC) << std::hex << int(c.a);
        EXPECT_EQ(m.FlagZ, c.expectedA == 0);
        EXPECT_EQ(t.Panel.MessageTexts(), c.warned ? std::vector<std::string>{"DAA Invalid"}
                                                    : std::vector<std::string>{});
    }
}

// --- Flag instructions and the interrupt mask ------------------------------------------

TEST(Cpu, InterruptMaskInstructions) {
    struct Case {
        const char* name;
        std::vector<uint8_t> code;
        uint8_t a;
        bool xBefore;
        bool i, x, maskDelay;
        const char* hint;
    } cases[] = {
        {"CLI", {0x0E}, 0x00, true, false, true, true, kIrqEnabledHint},
        {"SEI", {0x0F}, 0x00, true, true, true, false, kIrqDisabledHint},
        {"TAP clearing X and I", {0x06}, 0x00, true, false, false, true, kIrqEnabledHint},
        {"TAP cannot set X", {0x06}, 0xFF, false, true, false, false, kIrqDisabledHint},
    };
    for (const Case& c : cases) {
        TTestMachine t;
        TMachine& m = *t.Machine;
        t.Place(kCode, c.code);
        m.FlagI = !c.i;
        m.FlagX = c.xBefore;
        m.SetIrqButtonHint();
        t.Panel.Changes.clear();
        m.RegisterA = c.a;
        EXPECT_EQ(t.Step(), 2);
        EXPECT_EQ(m.FlagI, c.i) << c.name;
        EXPECT_EQ(m.FlagX, c.x) << c.name;
        EXPECT_EQ(m.MaskDelay, c.maskDelay) << c.name;
        EXPECT_EQ(m.Panel.IrqButton.Hint, c.hint) << c.name;
        EXPECT_THAT(t.Panel.Changes, ElementsAre(TPanelItem::InterruptButtons)) << c.name;
        EXPECT_NE(m.ChangeMask & 0x00FF, 0) << c.name << " changes the CCR read-out";
    }
}

TEST(Cpu, TransferFromCcrKeepsFlags) {
    TTestMachine t;
    TMachine& m = *t.Machine;
    t.Place(kCode, {0x07});  // TPA
    SetCcr(m, 0xD5);
    m.ChangeMask = 0;
    t.Step();
    EXPECT_EQ(m.RegisterA, 0xD5);
    EXPECT_EQ(m.PackedCcr(), 0xD5);
    EXPECT_EQ(m.ChangeMask, 0x0100);
}

// --- Illegal opcodes and TEST ------------------------------------------------------------

TEST(Cpu, IllegalOpcodesTrapWithTheirPage) {
    struct Case {
        std::vector<uint8_t> code;
        const char* warning;
        int cycles;
    } cases[] = {
        {{0x41}, "Illegal Instruction (Page 1)", 12},
        {{0x18, 0x00}, "Illegal Instruction (Page 2)", 13},
        {{0x1A, 0x00}, "Illegal Instruction (Page 3)", 13},
        {{0xCD, 0x12}, "Illegal Instruction (Page 4)", 13},
        {{0x00}, "TEST (Illegal Instruction", 12},
    };
    for (const Case& c : cases) {
        TTestMachine t;
        TMachine& m = *t.Machine;
        t.Place(kCode, c.code);
        m.MemoryImage[0xFFF8] = 0x30;
        m.MemoryImage[0xFFF9] = 0x00;
        m.RegisterSP = 0x01FF;
        SetCcr(m, 0xC0);
        EXPECT_EQ(t.Step(), c.cycles) << c.warning;
        EXPECT_EQ(m.RegisterPC, 0x3000) << c.warning;
        EXPECT_EQ(t.Word(0x01FE), kCode) << "the illegal instruction itself is stacked";
        EXPECT_EQ(m.MemoryImage[0x01F7], 0xC0) << "CCR stacked before I is set";
        EXPECT_EQ(m.RegisterSP, 0x01F6);
        EXPECT_TRUE(m.FlagI);
        EXPECT_EQ(m.ChangeMask, 0x3010);
        EXPECT_EQ(t.Panel.MessageTexts(), std::vector<std::string>{c.warning});
        EXPECT_EQ(m.Panel.IrqButton.Hint, kIrqDisabledHint) << "the trap leaves the hint";
    }
}

TEST(Cpu, TestInstructionOutsideExpandedModeIsANop) {
    TTestMachine t;
    TMachine& m = *t.Machine;
    m.OperatingMode = 2;
    t.Place(kCode, {0x00});
    m.ChangeMask = 0x1234;
    EXPECT_EQ(t.Step(), 2);
    EXPECT_EQ(m.RegisterPC, kCode + 1);
    EXPECT_EQ(m.ChangeMask, 0x1234);
    EXPECT_THAT(t.Panel.Messages, IsEmpty());
}

TEST(Cpu, PrebytePagesDecodeTheirSecondByte) {
    TTestMachine t;
    TMachine& m = *t.Machine;
    t.Place(kCode, {0x18, 0x08});  // INY
    m.RegisterY = 0x00FF;
    EXPECT_EQ(t.Step(), 4);
    EXPECT_EQ(m.RegisterY, 0x0100);
    EXPECT_EQ(m.RegisterPC, kCode + 2);
}

TEST(Cpu, CancelOnAWarningSilencesWarnings) {
    TTestMachine t;
    TMachine& m = *t.Machine;
    t.Panel.Answers = {TMessageResult::Cancel};
    for (int i = 0; i < 2; ++i) {
        t.Place(kCode, {0x19});
        m.RegisterA = 0x35;
        m.FlagC = true;
        t.Step();
    }
    EXPECT_EQ(t.Panel.Messages.size(), 1u);
    EXPECT_EQ(t.Panel.Messages[0].Kind, TMessageKind::Warning);
    EXPECT_EQ(t.Panel.Messages[0].Buttons, TMessageButtons::OkCancel);
    EXPECT_FALSE(m.Panel.WarningsMenu.Checked);
    EXPECT_EQ(t.Panel.Changes.back(), TPanelItem::Menus);
}

}  // namespace
}  // namespace hexmoor::testing
