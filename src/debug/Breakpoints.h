// Breakpoints, watchpoints and why a run stopped: plain data, copied freely.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "debug/Expression.h"

namespace hexmoor {

struct TBreakpoint {
    uint16_t Address = 0;
    std::string Where;  // as the user wrote it: "E00B", "$E00B", "halt", "loop+3"
    bool Enabled = true;
    std::string ConditionText;  // empty: every time it is reached
    std::optional<TExpression> Condition;
    uint64_t Hits = 0;       // times reached with the condition true
    uint64_t StopAtHit = 1;  // stops from this hit on: 3 lets it pass twice
};

enum class TWatchAccess : uint8_t { Read = 1, Write = 2, ReadWrite = 3 };

struct TWatchpoint {
    uint16_t First = 0, Last = 0;  // inclusive
    std::string Where;
    TWatchAccess Access = TWatchAccess::Write;
    std::optional<uint8_t> Value;  // only a write of this byte
    bool Enabled = true;
    uint64_t Hits = 0;
};

// Why the last run a debugger watched ended, as the panel and the runner say it.
struct TDebugStop {
    enum TKind : uint8_t { Breakpoint, Watchpoint, StepOver, StepOut, RunTo };
    TKind Kind = Breakpoint;
    std::size_t Index = 0;  // of the breakpoint or watchpoint
    uint16_t Address = 0;   // where the run stopped; the watched byte for a watchpoint
    // A watchpoint's access: the instruction that made it, the byte before and after.
    uint16_t Instruction = 0;
    uint8_t Before = 0, After = 0;
    bool Write = false;
    std::string Text;  // "breakpoint at $E00B (halt)", "watchpoint: $0040 (count) written ..."
};

}  // namespace hexmoor
