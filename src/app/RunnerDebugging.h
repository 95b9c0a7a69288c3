// The runner's debugging options: symbols, --break (and --break ADDR,print), --watch,
// --watch-change, --dump and --backtrace, through the debug session; its stops, notes, hits
// and call stacks are said on standard error, and the trace names the targets of calls and
// branches by the program's symbols.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/HeadlessRunner.h"
#include "debug/DebugSession.h"
#include "debug/History.h"

namespace hexmoor {

class TRunnerDebugging {
public:
    TRunnerDebugging(const TRunnerOptions& options, TMachine& machine, TDebugSession& session);
    ~TRunnerDebugging();
    TRunnerDebugging(const TRunnerDebugging&) = delete;
    TRunnerDebugging& operator=(const TRunnerDebugging&) = delete;

    // After the load: the symbols, then every address the options name. The exit status
    // when something failed (said on standard error).
    std::optional<int> Prepare();
    // The --dump rows, "E000: 8E 03 FF ...  |...|", each dump on lines of its own.
    std::string Dumps() const;
    // "hexmoor-run: call stack:" and a line a frame, frame 0 first.
    void PrintCallStack() const;

private:
    // A --break ADDR,print hit: the breakpoint, the registers' line and the call stack.
    void PrintHit(const TBreakpoint& breakpoint);
    std::string CallStackLines() const;  // a line a frame, indented

    const TRunnerOptions& options_;
    TMachine& machine_;
    TDebugSession& session_;
    TSymbolNames traceNames_;
    std::vector<std::pair<uint16_t, uint16_t>> dumps_;
};

}  // namespace hexmoor
