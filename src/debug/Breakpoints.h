// Breakpoints, watchpoints and why a run stopped: plain data, copied freely.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "expr/Expression.h"

namespace hexmoor {

// Each breakpoint and watchpoint keeps its number for as long as it exists, whatever is
// added or removed around it; a stop names its point by it.
using TPointId = uint32_t;

// The source line a breakpoint was set on: when the program's source is assembled again,
// the breakpoint goes to that line's code.
struct TSourceLineRef {
    std::string File;  // as the line table names it
    int Line = 0;
};

struct TBreakpoint {
    TPointId Id = 0;
    uint16_t Address = 0;
    std::string Where;  // as the user wrote it: "E00B", "$E00B", "halt", "loop+3", "prog.asm:12"
    bool Enabled = true;
    // False when the line it was set on has no code since the source was assembled again:
    // it keeps its place in the list but never stops.
    bool Placed = true;
    std::optional<TSourceLineRef> Line;
    std::string ConditionText;  // empty: every time it is reached
    std::optional<TExpression> Condition;
    uint64_t Hits = 0;       // times reached with the condition true
    uint64_t StopAtHit = 1;  // stops from this hit on: 3 lets it pass twice
    // False: from that hit on, each hit is told (TDebugger::OnHitGoingOn) and the run goes on.
    bool Stops = true;
};

// Change: not an access but the value of an expression (Where), which the instruction that
// changed it stops after.
enum class TWatchAccess : uint8_t { Read = 1, Write = 2, ReadWrite = 3, Change = 4 };

struct TWatchpoint {
    TPointId Id = 0;
    uint16_t First = 0, Last = 0;  // inclusive; none for a change watchpoint
    std::string Where;
    TWatchAccess Access = TWatchAccess::Write;
    std::optional<uint8_t> Value;  // only a write of this byte
    bool Enabled = true;
    uint64_t Hits = 0;
};

// Why the last run a debugger watched ended, as the panel and the runner say it.
struct TDebugStop {
    // Change: a change watchpoint's expression changed value.
    enum TKind : uint8_t { Breakpoint, Watchpoint, StepOver, StepOut, RunTo, Change };
    TKind Kind = Breakpoint;
    TPointId Id = 0;       // of the breakpoint or watchpoint
    uint16_t Address = 0;  // where the run stopped; the watched byte for an access watchpoint
    // A watchpoint's access: the instruction that made it, the byte before and after.
    uint16_t Instruction = 0;
    uint8_t Before = 0, After = 0;
    bool Write = false;
    std::string Text;  // "breakpoint at $E00B (halt)", "watchpoint: $0040 (count) written ...",
                       // "X changed: $0010 -> $0011 at $E00B (loop)"
};

}  // namespace hexmoor
