#include "debug/SessionRecord.h"

#include "debug/DebugSession.h"

namespace hexmoor {

TSessionRecord RecordSession(const TDebugSession& session) {
    TSessionRecord record;
    const TDebugger& debugger = session.Debugger();
    for (const TBreakpoint& b : debugger.Breakpoints()) {
        const std::string where = b.Line ? b.Line->File + ":" + std::to_string(b.Line->Line) : b.Where;
        record.Breakpoints.push_back({where, b.ConditionText, b.StopAtHit, b.Enabled});
    }
    for (const TWatchpoint& w : debugger.Watchpoints())
        record.Watchpoints.push_back({w.Where, w.Access, w.Value, w.Enabled});
    return record;
}

std::vector<std::string> RestoreSession(TDebugSession& session, const TSessionRecord& record) {
    std::vector<std::string> problems;
    TDebugger& debugger = session.Debugger();
    for (const TSessionRecord::TBreak& b : record.Breakpoints) {
        if (std::string error = session.AddBreakpoint(b.Where, b.Condition, b.StopAtHit); !error.empty())
            problems.push_back("breakpoint at " + b.Where + ": " + error);
        else if (!b.Enabled)
            debugger.EnableBreakpoint(debugger.Breakpoints().back().Id, false);
    }
    for (const TSessionRecord::TWatch& w : record.Watchpoints) {
        if (std::string error = session.AddWatchpoint(w.Where, w.Access, w.Value); !error.empty())
            problems.push_back("watchpoint on " + w.Where + ": " + error);
        else if (!w.Enabled)
            debugger.EnableWatchpoint(debugger.Watchpoints().back().Id, false);
    }
    return problems;
}

}  // namespace hexmoor
