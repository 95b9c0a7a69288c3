// Untraced runs in spans. A pass of the run loop advances time by the last instruction's
// cycles, looks for an interrupt and executes one instruction. Between two timed events
// (an RTI tick, a timer tick that reaches a compare value or wraps, a COP block, an A/D
// step, a pulse count), while no interrupt can be taken and the CPU runs normally, the
// passes do nothing but execute: so a span executes instructions back to back and
// advances time by their sum at its end. An access to the register window settles the time
// owed so far, so the program reads the counters and flags it would have read; after that
// instruction a new span begins, with what is due worked out afresh, unless the access
// stopped the run or let an interrupt in.
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
    if (RunState != RunNormal || !PassesOnlyExecute() || InstructionCount >= limits.MaxInstructions) return 0;
    // Before each instruction the passes would have advanced time by the cycles of all
    // instructions so far, and of the one before the span: CycleCount - SpanBase. That may
    // grow up to the next event; and an instruction starts only while CycleCount is below
    // the cycle limit.
    SpanCycleLimit = limits.MaxCycles - 1;
    OpenSpan();
    // Bounded, so that a run without tail calls (an unoptimised build) nests no deeper.
    const uint32_t count = uint32_t(std::min<uint64_t>({maxInstructions, limits.MaxInstructions - InstructionCount, 4096}));
    SpanLeft = SpanCounted = count;
    bool abandoned = false;
    try {
        if (CycleCount <= SpanCeiling && !MarkedStop(RegisterPC)) {
            if (FollowPasses) ExecuteFollowedInSpan();
            else ExecuteInSpan();
        }
    } catch (const TReadAbandoned&) {
        // The read settled the span first; the abandoned instruction is one more pass.
        AbandonRead();
        abandoned = true;
    }
    CountSpanInstructions();
    const uint32_t done = count - SpanLeft + abandoned;
    if (done != 0) InterruptVector = 0;
    if (SpanOpen) {
        SpanOpen = false;
        AdvanceTimeQuietly(int32_t(CycleCount - InstructionCycles - SpanBase));
    }
    return done;
}

void TMachine::OpenSpan() {
    SpanBase = CycleCount - InstructionCycles;
    SpanCeiling = std::min(SpanBase + CyclesBeforeNextEvent(), SpanCycleLimit);
    SpanOpen = true;
}

// After the instruction whose register access settled the span: a new span starts here
// when a run pass would find nothing to do but execute. The access may have stopped the
// run, requested a reset, or unmasked an interrupt that is pending.
bool TMachine::ReopenSpan() {
    if (RunState != RunNormal || !Panel.RunningLed.Lit || FollowPasses || !PassesOnlyExecute()) return false;
    OpenSpan();
    return true;
}

// In the middle of an instruction, all instructions before it are in CycleCount.
void TMachine::SettleSpan() {
    if (!SpanOpen) return;
    CountSpanInstructions();
    SpanOpen = false;
    SpanCeiling = -1;  // the span ends after this instruction
    AdvanceTimeQuietly(int32_t(CycleCount - SpanBase));
}

// A WAI's passes add one cycle each; while nothing can wake it, they run to the next timed
// event at once.
uint32_t TMachine::SkipWaitPasses(const TRunLimits& limits, uint32_t maxPasses) {
    if (RunState != RunWaiting || !PassesOnlyExecute()) return 0;
    const int64_t byEvent = int64_t(CyclesBeforeNextEvent()) - InstructionCycles + 1;
    const int64_t passes = std::min({byEvent, limits.MaxCycles - CycleCount, int64_t(maxPasses)});
    if (passes <= 0) return 0;
    AdvanceTimeQuietly(int32_t(InstructionCycles + passes - 1));
    InterruptVector = 0;
    InstructionCycles = 1;
    CycleCount += passes;
    return uint32_t(passes);
}

// While the debugger follows passes it is asked after each, or, when it follows registers
// (FollowedMask), after each span: a span ends after an instruction that moved one of them,
// or a write to a byte it watches (FollowFromInstruction).
//
// A recorder is asked between them whether something is due, and its limits bound the run.
uint32_t TMachine::RunSlice(const TRunLimits& runLimits, uint32_t passes) {
    StopExecuted = false;
    const uint32_t asked = passes;
    while (passes > 0 && Panel.RunningLed.Lit) {
        AskRecorderIfDue();
        const TRunLimits limits = Recorder ? TRunLimits{std::min(runLimits.MaxInstructions, Recorder->Limits.MaxInstructions),
                                                        std::min(runLimits.MaxCycles, Recorder->Limits.MaxCycles)}
                                           : runLimits;
        if (InstructionCount >= limits.MaxInstructions || CycleCount >= limits.MaxCycles) break;
        const uint8_t state = RunState;
        const bool spans = !FollowPasses || FollowedMask != TRegisterWords{};
        uint32_t done = spans ? RunSpan(limits, passes) : 0;
        if (done == 0 && spans) done = SkipWaitPasses(limits, passes);
        const bool onePass = done == 0;
        if (onePass) {
            RunPass();
            done = 1;
        }
        AskDebuggerAfterPass();
        if (onePass && (RunState != state || StopExecuted)) return asked - passes + 1;
        passes -= done;
    }
    return asked - passes;
}

}  // namespace hexmoor
