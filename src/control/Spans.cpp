// Untraced runs in spans. A pass of the run loop advances time by the last instruction's
// cycles, looks for an interrupt and executes one instruction. Between two timed events
// (an RTI tick, a timer tick that reaches a compare value or wraps, a COP block, an A/D
// step, a pulse count), while no interrupt can be taken and the CPU runs normally, the
// passes do nothing but execute: so a span executes instructions back to back and
// advances time by their sum at its end. The first access to the register window settles
// the time owed so far, so the program reads the counters and flags it would have read,
// and ends the span after that instruction: a register write may change what is due.
#include <algorithm>

#include "core/Machine.h"

namespace hexmoor {

// No interrupt can be taken before a timed event or an instruction that ends a span: a
// pending request is masked by I (only CLI, TAP and RTI clear it), XIRQ is masked by X, and
// no reset or mask delay is due.
bool TMachine::PassesOnlyExecute() const {
    return !ResetRequest && !MaskDelay && (!XirqLatch || FlagX) &&
           (FlagI || (PendingInterrupts & EnabledInterrupts) == 0);
}

uint32_t TMachine::RunSpan(const TRunLimits& limits, uint32_t maxInstructions) {
    if (RunState != RunNormal || !PassesOnlyExecute()) return 0;
    const int32_t budget = CyclesBeforeNextEvent();
    uint32_t count = 0;
    SpanOpen = true;
    SpanOwedCycles = 0;
    while (count < maxInstructions && InstructionCount < limits.MaxInstructions && CycleCount < limits.MaxCycles &&
           RegisterPC != BreakPointAddress && !EndsSpan(RegisterPC) &&
           SpanOwedCycles + InstructionCycles <= budget) {
        // The pass would advance time by the last instruction's cycles here and find no
        // interrupt.
        SpanOwedCycles += InstructionCycles;
        InterruptVector = 0;
        FastExecuteInstruction();
        ++InstructionCount;
        CycleCount += InstructionCycles;
        ++count;
        if (!SpanOpen) break;
    }
    SettleSpan();
    return count;
}

void TMachine::SettleSpan() {
    if (!SpanOpen) return;
    SpanOpen = false;
    AdvanceTime(SpanOwedCycles);
    SpanOwedCycles = 0;
}

// A WAI's passes add one cycle each; while nothing can wake it, they run to the next timed
// event at once.
uint32_t TMachine::SkipWaitPasses(const TRunLimits& limits, uint32_t maxPasses) {
    if (RunState != RunWaiting || !PassesOnlyExecute()) return 0;
    const int64_t byEvent = int64_t(CyclesBeforeNextEvent()) - InstructionCycles + 1;
    const int64_t passes = std::min({byEvent, limits.MaxCycles - CycleCount, int64_t(maxPasses)});
    if (passes <= 0) return 0;
    AdvanceTime(int32_t(InstructionCycles + passes - 1));
    InterruptVector = 0;
    InstructionCycles = 1;
    CycleCount += passes;
    return uint32_t(passes);
}

uint32_t TMachine::RunSlice(const TRunLimits& limits, uint32_t passes) {
    StopExecuted = false;
    const uint32_t asked = passes;
    while (passes > 0 && Panel.RunningLed.Lit && InstructionCount < limits.MaxInstructions &&
           CycleCount < limits.MaxCycles) {
        uint32_t done = RunSpan(limits, passes);
        if (done == 0) done = SkipWaitPasses(limits, passes);
        if (done == 0) {
            const uint8_t state = RunState;
            RunPass();
            if (RunState != state || StopExecuted) return asked - passes + 1;
            done = 1;
        }
        passes -= done;
    }
    return asked - passes;
}

}  // namespace hexmoor
