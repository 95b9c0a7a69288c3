#include "panel/BreakpointRows.h"

#include "control/ControlState.h"
#include "core/Hex.h"
#include "debug/Debugger.h"

namespace hexmoor {

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

// The Breakpoint menu's address; one past $FFFF is kept as typed and never reached.
TPointRow MenuBreakpointRow(const TDebugger& debugger, int32_t address) {
    const QString typed = QString::number(address, 16).toUpper().rightJustified(4, '0');
    const QString place =
        address <= 0xFFFF ? Q(debugger.Describe(uint16_t(address))) : "$" + typed + " (never reached)";
    return {{place, typed, "Breakpoint menu", "", ""}, std::nullopt, -1};
}

}  // namespace

std::vector<TPointRow> BreakpointRows(const TDebugger& debugger, int32_t menuAddress) {
    std::vector<TPointRow> rows;
    if (menuAddress != kNoBreakPoint) rows.push_back(MenuBreakpointRow(debugger, menuAddress));
    for (const TBreakpoint& b : debugger.Breakpoints()) {
        const QString place = b.Placed ? Q(debugger.Describe(b.Address)) : "not placed: its line has no code";
        rows.push_back(
            {{place, Q(b.Where), Q(b.ConditionText), QString::number(b.Hits), QString::number(b.StopAtHit)},
             b.Enabled,
             b.Id});
    }
    return rows;
}

std::vector<TPointRow> WatchpointRows(const TDebugger& debugger) {
    std::vector<TPointRow> rows;
    for (const TWatchpoint& w : debugger.Watchpoints()) {
        const char* access = "";
        for (const TAccessName& name : kAccessNames)
            if (name.Access == w.Access) access = name.Shown;
        const QString value = w.Value ? Q("$" + Hex2(*w.Value)) : "";
        rows.push_back({{RangeText(debugger, w), access, value, QString::number(w.Hits)}, w.Enabled, w.Id});
    }
    return rows;
}

QString RangeText(const TDebugger& debugger, const TWatchpoint& watchpoint) {
    if (watchpoint.Access == TWatchAccess::Change) return Q(watchpoint.Where);
    std::string text = debugger.Describe(watchpoint.First);
    if (watchpoint.Last != watchpoint.First) text += "-" + debugger.Describe(watchpoint.Last);
    return Q(text);
}

}  // namespace hexmoor
