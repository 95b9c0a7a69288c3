// A snapshot of the whole machine: everything a program or the front panel can observe and
// everything that decides what happens next, taken between two instructions. Taken often
// (a debugger going back in time keeps one every so often), restored into a live machine,
// compared with another, written to a state file.
//
// Not in a snapshot: the front panel itself, a debugger's hooks and stop marks, the
// Breakpoint menu's address, which pages a debugger watches, the assembler, the open log,
// input and printer files, and the run controls and options the user sets (see
// PanelFields.h). A restore leaves them as they are.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "control/ControlState.h"
#include "control/RunState.h"
#include "control/TimerState.h"
#include "core/CallStack.h"
#include "core/ConditionCodes.h"
#include "core/CpuRegisters.h"
#include "core/DebugHooks.h"
#include "core/MemoryState.h"
#include "core/PanelState.h"
#include "io/PortState.h"
#include "io/SciState.h"
#include "io/WaitLoop.h"
#include "registers/AdState.h"
#include "state/TerminalParts.h"

namespace hexmoor {

class TMachine;

// The machine's parts under the names the machine gives them (RegisterA, CycleCount,
// MemoryImage, Panel, ...), so code that reads a snapshot reads it as it reads the machine.
struct TMachineState : TCpuRegisters,
                       TConditionCodes,
                       TScratch,
                       TInterruptState,
                       TRunControlState,
                       TTimerState,
                       TWriteOnceLatches,
                       TAdState,
                       TPortState,
                       TSciState,
                       TAddressWindows,
                       TMemoryImages {
    uint8_t RunState = RunNormal;
    uint8_t OperatingMode = 3;
    TWaitLoop WaitLoop;
    TCallStack CallStack;
    TTransferLog Transfers;
    TTerminalLinkState TerminalLink;
    TScreenContents Screen;
    TPanelState Panel;
    std::string TraceText;
};

// Whether a snapshot may be taken or restored now: between instructions, not inside an
// untraced run's span, a wait for terminal input or an I/O pause.
bool BetweenInstructions(const TMachine& machine);

// Into an existing snapshot, reusing its storage: taking many costs no allocation.
// Throws std::logic_error when the machine is not between instructions.
void CaptureState(const TMachine& machine, TMachineState& state);
TMachineState CaptureState(const TMachine& machine);

// Afterwards the machine runs on exactly as the captured one would, and the front panel is
// told that everything changed. Throws std::logic_error when the machine is not between
// instructions.
void RestoreState(TMachine& machine, const TMachineState& state);

// The first `limit` differences, each in words ("RegisterA: $12 vs $13", "MemoryImage[$2004]:
// $00 vs $FF", "Panel.StatusLed.Hint: ..."); none when the snapshots are alike in all they hold.
std::vector<std::string> StateDifferences(const TMachineState& a, const TMachineState& b, std::size_t limit = 10);

}  // namespace hexmoor
