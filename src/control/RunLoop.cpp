// The run loop: one pass advances time, arbitrates interrupts and acts on RunState.
#include <chrono>

#include "core/Machine.h"

namespace hexmoor {

void TMachine::EnterInterrupt(bool stack) {
    if (stack) StackRegisters();
    FlagI = true;
    if (InterruptVector == kXirqVector) FlagX = true;
    RegisterPC = uint16_t(MemoryImage[InterruptVector] << 8 | MemoryImage[uint16_t(InterruptVector + 1)]);
    InstructionCycles = 11;
    RunState = RunNormal;
    // Like SWI: the read-outs then show the stacked SP and the CCR with I set.
    ChangeMask = stack ? 0x3010 : 0x0010;
}

// Most passes execute one instruction; everything else is ActOnRunState's.
void TMachine::RunPass() {
    InstructionPreProcessing();
    CheckForInterrupt();
    if (InterruptVector == 0 && RunState == RunNormal && RegisterPC != BreakPointAddress) {
        FastExecuteInstruction();
        ++InstructionCount;
    } else {
        ActOnRunState();
    }
    CycleCount += InstructionCycles;
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
            FrontPanel.ShowMessage(TMessageKind::Information, TMessageButtons::Ok, "BreakPoint");
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

// Untraced: the panel is refreshed only when the run ends, and user actions are handled
// every few milliseconds of host time rather than after every pass.
void TMachine::FastMoor() {
    using Clock = std::chrono::steady_clock;
    constexpr auto kPumpInterval = std::chrono::milliseconds(5);
    auto lastPump = Clock::now();
    unsigned passes = 0;
    do {
        RunPass();
        if ((++passes & 0x3FF) == 0 && Clock::now() - lastPump >= kPumpInterval) {
            FrontPanel.PumpEvents();
            lastPump = Clock::now();
        }
    } while (Panel.RunningLed.Lit);
    ShowNextInstruction();
    DisplayMemory();
    DisplayAllRegisters();
}

// Traced, and every single step: the panel follows every pass.
void TMachine::Moor() {
    ChangeMask = 0;
    do {
        RunPass();
        DisplayMemory();
        DisplayRegisters();
        if (Panel.StepLed.Lit) {
            Change(Panel.StepLed.Lit, false, TPanelItem::RunControls);
        } else if (Panel.RunningLed.Lit) {
            ShowNextInstruction();
            FrontPanel.PumpEvents();
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
