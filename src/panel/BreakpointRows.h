// What the Breakpoints window's two lists show of the debugger: one row a breakpoint (the
// Breakpoint menu's own first) and one a watchpoint, their places named by the program's symbols.
#pragma once

#include <cstdint>
#include <vector>

#include "debug/Breakpoints.h"
#include "panel/PointList.h"

namespace hexmoor {

class TDebugger;

enum TBreakpointColumn { kBpAddress, kBpWhere, kBpCondition, kBpHits, kBpStopAt };
enum TWatchpointColumn { kWpRange, kWpAccess, kWpValue, kWpHits };

struct TAccessName {
    TWatchAccess Access;
    const char* Choice;  // in the access box
    const char* Shown;   // in the list
};
inline constexpr TAccessName kAccessNames[] = {
    {TWatchAccess::Write, "Write", "write"},
    {TWatchAccess::Read, "Read", "read"},
    {TWatchAccess::ReadWrite, "Read/Write", "read/write"},
    {TWatchAccess::Change, "Changes", "changes"},
};

// The Breakpoint menu's address (kNoBreakPoint: none) in a row of its own, then the debugger's.
std::vector<TPointRow> BreakpointRows(const TDebugger& debugger, int32_t menuAddress);
std::vector<TPointRow> WatchpointRows(const TDebugger& debugger);
// "$0040 (count)", "$1000-$103F"; a change watchpoint's expression as typed.
QString RangeText(const TDebugger& debugger, const TWatchpoint& watchpoint);

}  // namespace hexmoor
