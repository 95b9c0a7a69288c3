// The run loop: one pass advances time, arbitrates interrupts and acts on RunState.
#include <chrono>

#include "core/Machine.h"

namespace hexmoor {

void TMachine::EnterInterrupt(bool stack) {
    WaitLoop.InterruptEntered();
    if (stack) StackRegisters();
    FlagI = true;
    if (InterruptVector == kXirqVector) FlagX = true;
    const uint16_t from = RegisterPC;
    RegisterPC = ReadVector(InterruptVector);
    Transfers.RecordInterrupt(from, RegisterPC);
    CallStack.Push({from, RegisterPC, InterruptVector, RegisterSP});
    InstructionCycles = 11;
    RunState = RunNormal;
    // Like SWI: the read-outs then show the stacked SP and the CCR with I set.
    ChangeMask = stack ? 0x3010 : 0x0010;
}

// Most passes execute one instruction; everything else is ActOnRunState's.
void TMachine::RunPass() {
    InstructionPreProcessing();
    CheckForInterrupt();
    try {
        if (InterruptVector == 0 && RunState == RunNormal && !MarkedStop(RegisterPC)) {
            FastExecuteInstruction();
            ++InstructionCount;
        } else {
            ActOnRunState();
        }
    } catch (const TReadAbandoned&) {
        AbandonRead();
    }
    CycleCount += InstructionCycles;
}

// A control ended the wait of a terminal read. Its instruction had changed nothing before
// the read (PC still on it), and it takes no time: the next pass runs it again.
void TMachine::AbandonRead() {
    InstructionCycles = 0;
    ChangeMask = 0;
}

void TMachine::ActOnRunState() {
    if (InterruptVector != 0) {
        RunState = RunState == RunWaiting ? RunWaitWakeUp
                 : RunState == RunStopped ? RunStopWakeUp
                                          : RunInterrupt;
    }
    switch (RunState) {
    case RunNormal:
        if (RegisterPC == BreakPointAddress) {
            FrontPanel.ShowMessage(TMessageKind::BreakPoint, TMessageButtons::Ok, "BreakPoint");
            Change(Panel.RunningLed.Lit, false, TPanelItem::RunControls);
            InstructionCycles = 0;
        } else if (Debugger && (StopMarks[RegisterPC] & kDebuggerStop) && Debugger->StopBefore(*this)) {
            Change(Panel.RunningLed.Lit, false, TPanelItem::RunControls);
            InstructionCycles = 0;
        } else {
            FastExecuteInstruction();
            ++InstructionCount;
        }
        break;
    case RunExternalReset:
    case RunClockMonitorReset:
    case RunCopReset:
        ResetMoor(TResetKind(RunState));
        break;
    case RunStopped:
        InstructionCycles = 0;  // time stands still
        if (XirqLatch) {        // XIRQ while X is set: leave STOP without an interrupt
            SetStatusLed(kLime, kNormalModeHint);
            XirqLatch = false;
            Warning("Out of Stop, NOP");
            RegisterPC = uint16_t(RegisterPC + 1);
            RunState = RunNormal;
        }
        break;
    case RunWaiting:
        InstructionCycles = 1;
        break;
    case RunInterrupt:
        EnterInterrupt(true);
        break;
    case RunWaitWakeUp:
        EnterInterrupt(false);  // WAI stacked the registers already
        InstructionCycles = 1;
        SetStatusLed(kLime, kNormalModeHint);
        Warning(" Out of Wait ");
        break;
    case RunStopWakeUp:
        if (InterruptVector == kXirqVector || InterruptVector == kIrqVector) {
            Warning(InterruptVector == kXirqVector ? "Out of Stop, XIRQ" : "Out of Stop, IRQ");
            SetStatusLed(kLime, kNormalModeHint);
            RegisterPC = uint16_t(RegisterPC + 1);
            EnterInterrupt(true);
        } else {
            Warning("Spurious Interrupt during Stop Mode");
            RunState = RunStopped;
            InstructionCycles = 0;
        }
        break;
    }
}

bool TMachine::OnlyAClickCanWake() const {
    if (ResetRequest) return false;
    if (RunState == RunStopped)  // time stands still: only XIRQ or an IRQ let in wakes it
        return !XirqLatch && (FlagI || !(PendingInterrupts & EnabledInterrupts & IntIRQ));
    if (RunState != RunWaiting || (XirqLatch && !FlagX) || !CopDisabled) return false;
    // A frame on its way out, a typed byte on its way in, an input file to read from.
    if (SciBusy() || (InputFileOpen && SciReceiverBusy())) return false;
    if (FlagI) return true;
    // Time drives the output compares, the real-time interrupt, the timer overflow, and
    // the pulse accumulator while its time gate is open.
    uint16_t timed = IntOC1 | IntOC2 | IntOC3 | IntOC4 | IntRTI | IntTOF;
    if (PulseGate) timed |= IntPAI | IntPAOV;
    return (EnabledInterrupts & (timed | PendingInterrupts)) == 0;
}

namespace {

// Paces a run to the chip's E clock of 2 MHz: whenever the simulation is ahead of the wall
// clock it waits (handling events) until the clock catches up. After a reset, a dialog or
// anything else that held the run up, it starts counting afresh instead of racing to
// catch up.
class TChipClock {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr double kCyclesPerSecond = 2'000'000;

    void Pace(TFrontPanel& panel, int64_t cycles, Clock::time_point now) {
        if (!started_ || cycles < startCycles_) Restart(cycles, now);
        const auto due = start_ + std::chrono::duration_cast<Clock::duration>(
                                      std::chrono::duration<double>((cycles - startCycles_) / kCyclesPerSecond));
        if (now - due > kLagLimit) Restart(cycles, now);
        else if (due - now > kSlice) panel.WaitUntil(due);
    }

private:
    void Restart(int64_t cycles, Clock::time_point now) {
        started_ = true;
        startCycles_ = cycles;
        start_ = now;
    }
    static constexpr auto kSlice = std::chrono::milliseconds(2);
    static constexpr auto kLagLimit = std::chrono::milliseconds(100);
    bool started_ = false;
    int64_t startCycles_ = 0;
    Clock::time_point start_;
};

}  // namespace

// Untraced: the run goes in slices of passes and spans; user actions are handled every few
// milliseconds of host time, between slices, and the registers and cycles are shown a few
// times a second (no trace line, no log line: those follow every pass only when traced). A wait for a key goes at the chip's speed, so it leaves the host's processor idle.
void TMachine::FastMoor() {
    using Clock = std::chrono::steady_clock;
    constexpr auto kPumpInterval = std::chrono::milliseconds(5);
    constexpr auto kReadoutInterval = std::chrono::milliseconds(200);
    constexpr uint32_t kSlicePasses = 1024;
    auto lastPump = Clock::now(), lastReadout = lastPump;
    TChipClock chipClock;
    do {
        RunSlice(TRunLimits{}, kSlicePasses);
        const auto now = Clock::now();
        // A program waiting for a key in a polling loop needs no more than the chip's speed.
        if (Panel.ChipSpeedMenu.Checked || WaitsForAKey()) chipClock.Pace(FrontPanel, CycleCount, now);
        if (now - lastPump >= kPumpInterval) {
            if (now - lastReadout >= kReadoutInterval) {
                DisplayAllRegisters();
                lastReadout = now;
            }
            FrontPanel.PumpEvents();
            lastPump = Clock::now();
        }
        // Nothing changes on the panel meanwhile (a repaint would wake the wait again).
        if ((RunState == RunStopped || RunState == RunWaiting) && OnlyAClickCanWake() &&
            Panel.RunningLed.Lit)
            FrontPanel.WaitForEvents();
    } while (Panel.RunningLed.Lit);
    ShowWhereStopped();
}

void TMachine::ShowWhereStopped() {
    ShowNextInstruction();
    DisplayMemory();
    DisplayAllRegisters();
}

// Traced, and every single step: the panel follows every pass. A traced wait for a key goes
// at the chip's speed too.
void TMachine::Moor() {
    ChangeMask = 0;
    TChipClock chipClock;
    do {
        const uint16_t address = RegisterPC;
        const uint64_t executed = InstructionCount;
        RunPass();
        if (Debugger && InstructionCount != executed) Debugger->Traced(*this, address);
        AskDebuggerAfterPass();
        AskRecorderIfDue();
        DisplayMemory();
        DisplayRegisters();
        if (Panel.StepLed.Lit) {
            Change(Panel.StepLed.Lit, false, TPanelItem::RunControls);
        } else if (Panel.RunningLed.Lit) {
            ShowNextInstruction();
            if (OnlyAClickCanWake()) {
                FrontPanel.WaitForEvents();
            } else {
                if (WaitsForAKey()) chipClock.Pace(FrontPanel, CycleCount, std::chrono::steady_clock::now());
                FrontPanel.PumpEvents();
            }
        } else {
            FrontPanel.ShowMessage(TMessageKind::Warning, TMessageButtons::Ok,
                                   "Step was Off, Running was Off");
        }
    } while (Panel.RunningLed.Lit);
}

void TMachine::ShowNextInstruction() {
    if (RunState == RunWaiting)
        Change(Panel.InstructionLabel, "WAI", TPanelItem::Trace);
    else
        DecodeInstruction();
}

}  // namespace hexmoor
