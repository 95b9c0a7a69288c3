// The runner's debugging options: symbols, --break, --watch, --watch-change and --dump,
// through the debug session; its stops and notes are said on standard error.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/HeadlessRunner.h"
#include "debug/DebugSession.h"

namespace hexmoor {

class TRunnerDebugging {
public:
    TRunnerDebugging(const TRunnerOptions& options, TMachine& machine, TDebugSession& session);

    // After the load: the symbols, then every address the options name. The exit status
    // when something failed (said on standard error).
    std::optional<int> Prepare();
    // The --dump rows, "E000: 8E 03 FF ...", each dump on lines of its own.
    std::string Dumps() const;

private:
    const TRunnerOptions& options_;
    TMachine& machine_;
    TDebugSession& session_;
    std::vector<std::pair<uint16_t, uint16_t>> dumps_;
};

}  // namespace hexmoor
