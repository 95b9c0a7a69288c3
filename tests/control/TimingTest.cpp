// The time-driven parts of the chip, advanced pass by pass.
#include <gmock/gmock.h>

#include "support/TestMachine.h"

namespace hexmoor::testing {
namespace {

struct TClock : TTestMachine {
    // Advances time by one pass of `cycles` cycles.
    void Advance(int cycles) {
        Machine->InstructionCycles = cycles;
        Machine->InstructionPreProcessing();
    }
    void SetCounter(uint16_t count) { Machine->TimerCount = count; }
    void SetCompare(uint8_t offset, uint16_t value) {
        Machine->RegisterBlock[offset] = uint8_t(value >> 8);
        Machine->RegisterBlock[offset + 1] = uint8_t(value);
    }
    uint8_t Block(uint8_t offset) const { return Machine->RegisterBlock[offset]; }
};

TEST(Timing, PrescaleOneCountsEveryCycle) {
    TClock t;
    t.Advance(3);
    t.Advance(41);
    EXPECT_EQ(t.Machine->TimerCount, 44);
    EXPECT_EQ(t.Block(0x0E), 0x00);
    EXPECT_EQ(t.Block(0x0F), 44) << "TCNT follows in the register block";
}

TEST(Timing, PrescaleSixteenKeepsTheRemainder) {
    TClock t;
    t.Machine->PrescalerShift = 4;
    t.Machine->PrescalerMask = 15;
    for (int i = 0; i < 5; ++i) t.Advance(3);
    EXPECT_EQ(t.Machine->TimerCount, 0) << "15 cycles are not a tick yet";
    t.Advance(3);
    EXPECT_EQ(t.Machine->TimerCount, 1);
    EXPECT_EQ(t.Machine->PrescalerCount, 2);
}

TEST(Timing, CounterWrapSetsTof) {
    TClock t;
    t.SetCounter(0xFFFE);
    t.Advance(5);
    EXPECT_EQ(t.Machine->TimerCount, 0x0003);
    EXPECT_EQ(t.Block(0x25), 0x80);
    EXPECT_EQ(t.Machine->PendingInterrupts & 0x0F00, IntTOF);
    EXPECT_EQ(t.Block(0x23), 0xF0) << "the compares at their reset value $FFFF matched too";
}

TEST(Timing, CompareMatchesAcrossAWrap) {
    struct Case {
        uint16_t old;
        int cycles;
        uint16_t compare;
        bool matches;
    } cases[] = {
        {0xFFFE, 7, 0xFFFF, true},  {0xFFFE, 7, 0x0000, true},  {0xFFFE, 7, 0x0002, true},
        {0xFFFE, 7, 0x0005, true},  {0xFFFE, 7, 0xFFFE, false}, {0xFFFE, 7, 0x0006, false},
        {0x1000, 4, 0x1000, false}, {0x1000, 4, 0x1004, true},  {0x1000, 4, 0x1005, false},
        {0x1000, 0, 0x1000, false},  // a pass that leaves the counter still matches nothing
    };
    for (const Case& c : cases) {
        TClock t;
        t.SetCounter(c.old);
        t.SetCompare(0x18, c.compare);  // TOC2
        t.Advance(c.cycles);
        EXPECT_EQ(bool(t.Block(0x23) & 0x40), c.matches)
            << std::hex << c.old << " + " << std::dec << c.cycles << " vs " << std::hex << c.compare;
        EXPECT_EQ(bool(t.Machine->PendingInterrupts & IntOC2), c.matches);
    }
}

TEST(Timing, OutputComparePinActions) {
    struct Case {
        const char* name;
        uint8_t oc2Action;
        uint8_t oc1Pa6;
        bool before, after;
    } cases[] = {
        {"OC2 toggles", 1, 0, false, true},
        {"OC2 toggles back", 1, 0, true, false},
        {"OC2 clears", 2, 0, true, false},
        {"OC2 sets", 3, 0, false, true},
        {"OC1 wins on a shared pin", 2, 3, true, true},
        {"OC1 clears what OC2 set", 3, 2, false, false},
    };
    for (const Case& c : cases) {
        TClock t;
        TMachine& m = *t.Machine;
        m.Oc2Action = c.oc2Action;
        m.Oc1Action[1] = c.oc1Pa6;  // PA6
        m.Panel.PortGroups[PortAOutput].Leds[6].Lit = c.before;
        t.SetCompare(0x18, 0x0004);
        t.SetCompare(0x16, 0x0004);
        t.Advance(4);
        EXPECT_EQ(m.Panel.PortGroups[PortAOutput].Leds[6].Lit, c.after) << c.name;
        EXPECT_EQ(t.Block(0x00), 0x00) << "pin actions leave the PORTA byte";
        EXPECT_EQ(t.Block(0x23), 0xC0) << c.name;
    }
}

TEST(Timing, RealTimeInterruptFirstAt4096ThenEvery4095) {
    TClock t;
    TMachine& m = *t.Machine;
    std::vector<int> requests;
    for (int cycle = 1; cycle <= 4096 + 2 * 4095; ++cycle) {
        t.Advance(1);
        if (m.PendingInterrupts & IntRTI) {
            requests.push_back(cycle);
            m.PendingInterrupts = 0;
        }
    }
    EXPECT_THAT(requests, ::testing::ElementsAre(4096, 4096 + 4095, 4096 + 2 * 4095));
    EXPECT_EQ(t.Block(0x25), 0x40);
}

TEST(Timing, RealTimeRateDividesTicks) {
    TClock t;
    TMachine& m = *t.Machine;
    m.RtiRate = 4;
    int requests = 0;
    for (int cycle = 0; cycle < 4096 + 4095 * 7; ++cycle) {
        t.Advance(1);
        requests += bool(m.PendingInterrupts & IntRTI);
        m.PendingInterrupts = 0;
    }
    EXPECT_EQ(requests, 2);
}

TEST(Timing, LoweringTheRateBelowTheTicksCountedStillFires) {
    TClock t;
    TMachine& m = *t.Machine;
    m.RtiRate = 8;
    m.RtiTicks = 5;
    m.RtiRate = 2;  // a PACTL write
    m.RtiAccumulator = 4095;
    t.Advance(1);
    EXPECT_EQ(m.PendingInterrupts, IntRTI);
    EXPECT_EQ(m.RtiTicks, 0);
}

TEST(Timing, PulseAccumulatorCountsEverySixtyFourCycles) {
    TClock t;
    TMachine& m = *t.Machine;
    m.PulseGate = true;
    m.RegisterBlock[0x27] = 0xFF;
    t.Advance(40);
    EXPECT_EQ(t.Block(0x27), 0xFF);
    t.Advance(30);
    EXPECT_EQ(t.Block(0x27), 0x00);
    EXPECT_EQ(t.Block(0x25), 0x30) << "PAOVF and PAIF";
    EXPECT_EQ(m.PendingInterrupts, IntPAOV | IntPAI);
    EXPECT_EQ(m.PulseDivider, 6);
}

TEST(Timing, PactlWritesOpenAndCloseTheGate) {
    struct Case {
        const char* name;
        bool pa7;
        uint8_t pactl;
        bool gate;
    } cases[] = {
        {"gated while high, PA7 high", true, 0x60, true},
        {"gated while high, PA7 low", false, 0x60, false},
        {"gated while low, PA7 low", false, 0x70, true},
        {"event counting", true, 0x40, false},
        {"disabled", true, 0x00, false},
    };
    for (const Case& c : cases) {
        TTestMachine t;
        TMachine& m = *t.Machine;
        m.PulseGate = true;
        m.PulseDivider = 50;
        m.Panel.PortGroups[PortAInput].Leds[7].Lit = c.pa7;
        m.EffectiveAddress = 0x1026;
        m.DataByte = c.pactl;
        m.StoreByte();
        EXPECT_EQ(m.PulseGate, c.gate) << c.name;
        m.InstructionCycles = 30;
        m.InstructionPreProcessing();
        EXPECT_EQ(m.RegisterBlock[0x27], c.gate ? 1 : 0) << c.name << ": counts only while open";
    }
}

TEST(Timing, WatchdogTimesOutWhenTheChipEnablesIt) {
    TTestMachine t;
    TMachine& m = *t.Machine;
    m.ChipConfig = 0x0A;  // NOCOP clear
    m.ResetMoor(ExternalReset);
    ASSERT_FALSE(m.CopDisabled);
    for (int pass = 0; pass < 32768 / 8 - 1; ++pass) {
        m.InstructionCycles = 8;
        m.InstructionPreProcessing();
    }
    EXPECT_EQ(m.RunState, RunNormal);
    m.InstructionPreProcessing();
    EXPECT_EQ(m.RunState, RunCopReset);
}

TEST(Timing, NoWatchdogWithTheFixedConfig) {
    TTestMachine t;
    TMachine& m = *t.Machine;
    m.ResetMoor(ExternalReset);
    for (int pass = 0; pass < 100000; ++pass) {
        m.InstructionCycles = 41;
        m.InstructionPreProcessing();
    }
    EXPECT_EQ(m.RunState, RunNormal);
}

TEST(Timing, ResetRequestOverridesAWatchdogTimeout) {
    TTestMachine t;
    TMachine& m = *t.Machine;
    m.CopDisabled = false;
    m.CopCycles = 1;
    m.CopBlocks = 1;
    m.ResetRequest = true;
    m.InstructionCycles = 2;
    m.InstructionPreProcessing();
    EXPECT_EQ(m.RunState, RunExternalReset);
}

}  // namespace
}  // namespace hexmoor::testing
