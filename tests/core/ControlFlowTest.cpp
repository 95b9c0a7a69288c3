// Branches, calls, returns, the stack, SWI/RTI, WAI, STOP and the traps.
#include <gmock/gmock.h>

#include <vector>

#include "support/TestMachine.h"

namespace hexmoor::testing {
namespace {

using ::testing::ElementsAre;

constexpr uint16_t kCode = 0x2000;

// Each conditional branch after CMPA a,b against what it means for the two numbers.
TEST(ControlFlow, ConditionalBranchesFollowTheComparison) {
    struct Branch {
        uint8_t code;
        bool (*taken)(uint8_t a, uint8_t b);
    } branches[] = {
        {0x20, [](uint8_t, uint8_t) { return true; }},
        {0x21, [](uint8_t, uint8_t) { return false; }},
        {0x22, [](uint8_t a, uint8_t b) { return a > b; }},    // BHI
        {0x23, [](uint8_t a, uint8_t b) { return a <= b; }},   // BLS
        {0x24, [](uint8_t a, uint8_t b) { return a >= b; }},   // BCC
        {0x25, [](uint8_t a, uint8_t b) { return a < b; }},    // BCS
        {0x26, [](uint8_t a, uint8_t b) { return a != b; }},   // BNE
        {0x27, [](uint8_t a, uint8_t b) { return a == b; }},   // BEQ
        {0x28, [](uint8_t a, uint8_t b) { int d = int8_t(a) - int8_t(b); return d >= -128 && d <= 127; }},
        {0x29, [](uint8_t a, uint8_t b) { int d = int8_t(a) - int8_t(b); return d < -128 || d > 127; }},
        {0x2A, [](uint8_t a, uint8_t b) { return uint8_t(a - b) < 0x80; }},  // BPL
        {0x2B, [](uint8_t a, uint8_t b) { return uint8_t(a - b) >= 0x80; }}, // BMI
        {0x2C, [](uint8_t a, uint8_t b) { return int8_t(a) >= int8_t(b); }},  // BGE
        {0x2D, [](uint8_t a, uint8_t b) { return int8_t(a) < int8_t(b); }},   // BLT
        {0x2E, [](uint8_t a, uint8_t b) { return int8_t(a) > int8_t(b); }},   // BGT
        {0x2F, [](uint8_t a, uint8_t b) { return int8_t(a) <= int8_t(b); }},  // BLE
    };
    const uint8_t values[] = {0x00, 0x01, 0x7F, 0x80, 0x81, 0xFF};
    TTestMachine t;
    TMachine& m = *t.Machine;
    for (const Branch& branch : branches) {
        for (uint8_t a : values) {
            for (uint8_t b : values) {
                t.Place(kCode, {0x81, b, branch.code, 0x10});  // CMPA #b; Bcc *+$12
                m.RegisterA = a;
                t.Step();
                m.ChangeMask = 0x5555;
                EXPECT_EQ(t.Step(), 3);
                const uint16_t expected = branch.taken(a, b) ? 0x2014 : 0x2004;
                EXPECT_EQ(m.RegisterPC, expected)
                    << "branch $" << std::hex << int(branch.code) << " a=" << int(a) << " b=" << int(b);
                EXPECT_EQ(m.ChangeMask, 0x5555) << "a branch leaves ChangeMask";
            }
        }
    }
}

TEST(ControlFlow, BranchToItselfAndBranchNever) {
    TTestMachine t;
    t.Place(kCode, {0x20, 0xFE});
    t.Step();
    EXPECT_EQ(t.Machine->RegisterPC, kCode);
    t.Place(kCode, {0x21, 0x40});
    EXPECT_EQ(t.Step(), 3);
    EXPECT_EQ(t.Machine->RegisterPC, kCode + 2);
}

TEST(ControlFlow, BitTestBranches) {
    struct Case {
        const char* name;
        std::vector<uint8_t> code;
        uint8_t operand;
        uint16_t pc;
        int cycles;
    } cases[] = {
        {"BRSET with all mask bits set", {0x12, 0x40, 0x81, 0x10}, 0x81, 0x2014, 6},
        {"BRSET with one mask bit clear", {0x12, 0x40, 0x81, 0x10}, 0x80, 0x2004, 6},
        {"BRSET with an empty mask", {0x12, 0x40, 0x00, 0x10}, 0x00, 0x2014, 6},
        {"BRCLR with an empty mask", {0x13, 0x40, 0x00, 0x10}, 0xFF, 0x2014, 6},
        {"BRCLR indexed X", {0x1F, 0x00, 0x0F, 0xF0}, 0xF0, 0x1FF4, 7},
        {"BRCLR 5,Y", {0x18, 0x1F, 0x05, 0x20, 0x10}, 0x00, 0x2015, 8},
    };
    for (const Case& c : cases) {
        TTestMachine t;
        TMachine& m = *t.Machine;
        m.RegisterX = 0x0040;
        m.RegisterY = 0x003B;
        m.MemoryImage[0x0040] = c.operand;
        t.Place(kCode, c.code);
        EXPECT_EQ(t.Step(), c.cycles) << c.name;
        EXPECT_EQ(m.RegisterPC, c.pc) << c.name;
    }
}

TEST(ControlFlow, CallsPushTheReturnAddress) {
    struct Case {
        const char* name;
        std::vector<uint8_t> code;
        uint16_t pc, returnAddress;
        int cycles;
    } cases[] = {
        {"BSR", {0x8D, 0x10}, 0x2012, 0x2002, 6},
        {"JSR extended", {0xBD, 0x30, 0x00}, 0x3000, 0x2003, 6},
        {"JSR direct", {0x9D, 0x40}, 0x0040, 0x2002, 5},
        {"JSR indexed Y", {0x18, 0xAD, 0x04}, 0x3004, 0x2003, 7},
    };
    for (const Case& c : cases) {
        TTestMachine t;
        TMachine& m = *t.Machine;
        m.RegisterSP = 0x01FF;
        m.RegisterY = 0x3000;
        t.Place(kCode, c.code);
        EXPECT_EQ(t.Step(), c.cycles) << c.name;
        EXPECT_EQ(m.RegisterPC, c.pc) << c.name;
        EXPECT_EQ(m.MemoryImage[0x01FF], uint8_t(c.returnAddress)) << c.name;
        EXPECT_EQ(m.MemoryImage[0x01FE], c.returnAddress >> 8) << c.name;
        EXPECT_EQ(m.RegisterSP, 0x01FD) << c.name;
        EXPECT_EQ(m.ChangeMask, 0x3000) << c.name;
    }
}

TEST(ControlFlow, ReturnFromSubroutine) {
    TTestMachine t;
    TMachine& m = *t.Machine;
    t.Place(kCode, {0x39});
    m.RegisterSP = 0x01FD;
    t.Poke(0x01FE, {0x12, 0x34});
    EXPECT_EQ(t.Step(), 5);
    EXPECT_EQ(m.RegisterPC, 0x1234);
    EXPECT_EQ(m.RegisterSP, 0x01FF);
}

TEST(ControlFlow, PushesAndPulls) {
    TTestMachine t;
    TMachine& m = *t.Machine;
    // PSHA, PSHX, PULY, PULB
    t.Place(kCode, {0x36, 0x3C, 0x18, 0x38, 0x33});
    m.RegisterSP = 0x01FF;
    m.RegisterA = 0xAA;
    m.RegisterX = 0x1234;
    const int cycles[] = {3, 4, 6, 4};
    for (int expected : cycles) EXPECT_EQ(t.Step(), expected);
    EXPECT_EQ(m.RegisterY, 0x1234);
    EXPECT_EQ(m.RegisterB, 0xAA);
    EXPECT_EQ(m.RegisterSP, 0x01FF);
    EXPECT_EQ(m.ChangeMask, 0x1200);
    EXPECT_THAT(std::vector<uint8_t>(m.MemoryImage.begin() + 0x01FD, m.MemoryImage.begin() + 0x0200),
                ElementsAre(0x12, 0x34, 0xAA));
}

TEST(ControlFlow, SoftwareInterruptStacksEverything) {
    TTestMachine t;
    TMachine& m = *t.Machine;
    t.Place(kCode, {0x3F});
    t.Poke(0xFFF6, {0x30, 0x00});
    m.RegisterSP = 0x01FF;
    m.RegisterY = 0x5566;
    m.RegisterX = 0x3344;
    m.RegisterD = 0x1122;
    m.FlagS = m.FlagX = m.FlagI = m.FlagZ = false;
    m.FlagN = true;
    m.SetIrqButtonHint();
    EXPECT_EQ(t.Step(), 14);
    EXPECT_EQ(m.RegisterPC, 0x3000);
    EXPECT_EQ(m.RegisterSP, 0x01F6);
    EXPECT_THAT(std::vector<uint8_t>(m.MemoryImage.begin() + 0x01F7, m.MemoryImage.begin() + 0x0200),
                ElementsAre(0x08, 0x22, 0x11, 0x33, 0x44, 0x55, 0x66, 0x20, 0x01));
    EXPECT_TRUE(m.FlagI);
    EXPECT_EQ(m.Panel.IrqButton.Hint, kIrqDisabledHint);
    EXPECT_EQ(m.ChangeMask, 0x3010);
}

TEST(ControlFlow, ReturnFromInterruptCanOnlyClearX) {
    struct Case {
        bool xBefore;
        uint8_t ccr;
        bool x, i;
        const char* hint;
    } cases[] = {
        {false, 0xD0, false, true, kIrqDisabledHint},
        {true, 0x80, false, false, kIrqEnabledHint},
        {true, 0x40, true, false, kIrqEnabledHint},
    };
    for (const Case& c : cases) {
        TTestMachine t;
        TMachine& m = *t.Machine;
        t.Place(kCode, {0x3B});
        m.RegisterSP = 0x01F6;
        t.Poke(0x01F7, {c.ccr, 0x22, 0x11, 0x33, 0x44, 0x55, 0x66, 0x20, 0x01});
        m.FlagX = c.xBefore;
        EXPECT_EQ(t.Step(), 12);
        EXPECT_EQ(m.FlagX, c.x);
        EXPECT_EQ(m.FlagI, c.i);
        EXPECT_FALSE(m.MaskDelay) << "RTI does not delay interrupts";
        EXPECT_EQ(m.Panel.IrqButton.Hint, c.hint);
        EXPECT_EQ(m.RegisterD, 0x1122);
        EXPECT_EQ(m.RegisterX, 0x3344);
        EXPECT_EQ(m.RegisterY, 0x5566);
        EXPECT_EQ(m.RegisterPC, 0x2001);
        EXPECT_EQ(m.RegisterSP, 0x01FF);
        EXPECT_EQ(m.ChangeMask, 0x1FFF);
    }
}

TEST(ControlFlow, WaitStacksAndWaits) {
    TTestMachine t;
    TMachine& m = *t.Machine;
    t.Place(kCode, {0x3E});
    m.RegisterSP = 0x01FF;
    EXPECT_EQ(t.Step(), 12);
    EXPECT_EQ(m.RegisterSP, 0x01F6);
    EXPECT_EQ(t.Word(0x01FE), 0x2001);
    EXPECT_EQ(m.RunState, RunWaiting);
    EXPECT_EQ(m.Panel.RegisterSPDisplay.Text, "01F6") << "the warning shows the stacked state";
    EXPECT_EQ(m.Panel.MemoryAddressDisplay.Text, "01F7");
    EXPECT_EQ(m.Panel.StatusLed.LitColour, kAqua);
    EXPECT_EQ(m.Panel.StatusLed.Hint, " The CPU is Waiting for an Interrupt ");
    EXPECT_EQ(t.Panel.MessageTexts(), std::vector<std::string>{"Entering WAI mode"});
}

TEST(ControlFlow, StopInItsThreeCases) {
    struct Case {
        const char* name;
        bool s, x, i;
        uint8_t option;
        uint16_t pc;
        uint8_t runState;
        std::vector<std::string> warnings;
        const char* hint;
    } cases[] = {
        {"S set: a NOP", true, true, true, 0x00, 0x2001, RunNormal, {"STOP executed as NOP"},
         " Normal Mode "},
        {"clock monitor on", false, true, true, 0x08, 0x2000, RunClockMonitorReset,
         {"Entering STOP mode"}, " Normal Mode "},
        {"stopped, XIRQ masked", false, true, true, 0x00, 0x2000, RunStopped,
         {"Entering STOP mode"},
         " The CPU is in STOP Mode, to Exit: \r ° RESET \r ° XIRQ (NOP)"},
        {"stopped, IRQ enabled", false, false, false, 0x00, 0x2000, RunStopped,
         {"Entering STOP mode"},
         " The CPU is in STOP Mode, to Exit: \r ° RESET \r ° XIRQ (Interrupt)\r ° IRQ"},
    };
    for (const Case& c : cases) {
        TTestMachine t;
        TMachine& m = *t.Machine;
        t.Place(kCode, {0xCF});
        m.FlagS = c.s;
        m.FlagX = c.x;
        m.FlagI = c.i;
        m.RegisterBlock[0x39] = c.option;
        m.InstructionCycles = 99;
        t.Machine->FastExecuteInstruction();
        EXPECT_EQ(m.RegisterPC, c.pc) << c.name;
        EXPECT_EQ(m.RunState, c.runState) << c.name;
        EXPECT_EQ(m.InstructionCycles, c.runState == RunClockMonitorReset ? 99 : 2) << c.name;
        EXPECT_EQ(t.Panel.MessageTexts(), c.warnings) << c.name;
        EXPECT_EQ(m.Panel.StatusLed.Hint, c.hint) << c.name;
        EXPECT_EQ(m.Panel.StatusLed.LitColour, c.runState == RunStopped ? kYellow : kLime) << c.name;
    }
}

TEST(ControlFlow, ProgramWithCallsAndTraps) {
    TTestMachine t;
    t.RunProgram("calls_and_traps");
    TMachine& m = *t.Machine;
    EXPECT_EQ(m.MemoryImage[0x4000], 6) << "SWI's handler changed the stacked A";
    EXPECT_EQ(m.MemoryImage[0x4001], 3) << "three traps";
    EXPECT_EQ(t.Word(0x4002), 55) << "fib(10)";
    EXPECT_EQ(m.RegisterSP, 0x01FF);
    EXPECT_EQ(t.Panel.MessageTexts(),
              (std::vector<std::string>{"Illegal Instruction (Page 1)",
                                        "Illegal Instruction (Page 2)",
                                        "Illegal Instruction (Page 4)"}));
}

}  // namespace
}  // namespace hexmoor::testing
