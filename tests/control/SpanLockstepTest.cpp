// Untraced runs execute plain instructions in spans and advance time once per span; a
// machine run that way must stay exactly where one run pass by pass is, also when a debugger
// follows registers (a change watchpoint on them ends a span after each instruction that
// moves one).
#include <gtest/gtest.h>

#include <random>

#include "debug/Debugger.h"
#include "support/MachineDifference.h"
#include "support/TestMachine.h"

namespace hexmoor::testing {
namespace {

struct TLockstepCase {
    const char* Name;
    uint8_t Setup;  // the program's $5000: prescaler, RTI rate, pulse accumulator, COP service, WAI
    bool Cop;       // the chip programmed with the COP on
};

class SpanLockstep : public ::testing::TestWithParam<std::tuple<TLockstepCase, bool>> {};

TEST_P(SpanLockstep, SpansLeaveTheMachineAsPassesDo) {
    const auto& [c, followed] = GetParam();
    TTestMachine passes, spans;
    for (TTestMachine* t : {&passes, &spans}) {
        t->LoadThroughPanel("timing_stress");
        t->Poke(0x5000, {c.Setup});
        if (c.Cop) t->Machine->ChipConfig = 0x0A;
        t->Machine->Panel.RunningLed.Lit = true;
    }
    TMachine& reference = *passes.Machine;
    TMachine& fast = *spans.Machine;
    TDebugger debugger(fast);
    if (followed) {
        // Never changes, but is read again after every instruction that moved one of them.
        ASSERT_EQ(debugger.AddChangeWatchpoint("(D | X | Y | SP | CCR.I) * 0"), "");
        ASSERT_TRUE(fast.FollowPasses);
    }
    std::mt19937 random(c.Setup * 7 + c.Cop);
    std::uniform_int_distribution<uint32_t> length(1, 3000);
    uint64_t spannedPasses = 0;
    for (int slice = 0; slice < 3000 && fast.CycleCount < 4'000'000; ++slice) {
        const uint32_t run = fast.RunSlice(TRunLimits{}, length(random));
        ASSERT_GT(run, 0u);
        spannedPasses += run;
        for (uint32_t i = 0; i < run; ++i) reference.RunPass();
        const std::string difference = Difference(reference, fast);
        ASSERT_EQ(difference, "") << "after slice " << slice << ", cycle " << reference.CycleCount;
        // The outside world acts between slices, the same on both.
        if (slice % 97 == 40)
            for (TMachine* m : {&reference, &fast}) m->InputCaptureClick(slice % 3);
        if (slice % 131 == 60)
            for (TMachine* m : {&reference, &fast}) m->AnalogInputChange(slice % 4, slice % 256);
        passes.Panel.CheckTime();
    }
    // Most of the run went in spans: far fewer slices than passes.
    EXPECT_GT(spannedPasses, 100'000u);
}

const TLockstepCase kLockstepCases[] = {
    {"Prescale1Rti0", 0x00, false}, {"Prescale4Rti1", 0x05, false},    {"Prescale8Rti2", 0x0A, false},
    {"Prescale16Rti3", 0x0F, false}, {"PulseAccumulator", 0x11, false}, {"Wai", 0x86, false},
    {"WaiAndPulses", 0x93, false},   {"CopServiced", 0x41, true},       {"CopTimesOut", 0x02, true},
};

INSTANTIATE_TEST_SUITE_P(Timing, SpanLockstep,
                         ::testing::Combine(::testing::ValuesIn(kLockstepCases), ::testing::Bool()),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param).Name) +
                                    (std::get<1>(info.param) ? "FollowingRegisters" : "");
                         });

// A run cut by an instruction or cycle limit stops where a pass-by-pass run with the same
// limit stops, in the same state.
TEST(SpanLimits, RunsCutByALimitEndAlike) {
    struct TCase {
        uint64_t Instructions;
        int64_t Cycles;
    };
    const TCase cases[] = {{12'345, INT64_MAX}, {400'001, INT64_MAX}, {UINT64_MAX, 54'321}, {UINT64_MAX, 1'500'002},
                           {200'000, 900'000}, {900'000, 200'000}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(std::to_string(c.Instructions) + " instructions, " + std::to_string(c.Cycles) + " cycles");
        TTestMachine passes, spans;
        for (TTestMachine* t : {&passes, &spans}) {
            t->LoadThroughPanel("timing_stress");
            t->Poke(0x5000, {0x91});  // prescale 4, pulse accumulator, WAI
            t->Machine->Panel.RunningLed.Lit = true;
        }
        TMachine& reference = *passes.Machine;
        while (reference.InstructionCount < c.Instructions && reference.CycleCount < c.Cycles) reference.RunPass();
        TMachine& fast = *spans.Machine;
        const TRunLimits limits{c.Instructions, c.Cycles};
        for (int slice = 0; slice < 100'000 && fast.InstructionCount < c.Instructions && fast.CycleCount < c.Cycles;
             ++slice)
            fast.RunSlice(limits, 4096);
        EXPECT_EQ(Difference(reference, fast), "");
        EXPECT_EQ(fast.CycleCount, reference.CycleCount);
    }
}

}  // namespace
}  // namespace hexmoor::testing
