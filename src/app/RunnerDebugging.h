// The runner's debugging options: symbols, --break, --watch and --dump, through the
// debugger core; its stops are said on standard error.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/HeadlessRunner.h"
#include "asm/SourceProgram.h"
#include "debug/Debugger.h"

namespace hexmoor {

class TRunnerDebugging {
public:
    // `source` is what loaded the program when it was given as source.
    TRunnerDebugging(const TRunnerOptions& options, TMachine& machine, const TSourceProgram& source);

    // After the load: the symbols, then every address the options name. The exit status
    // when something failed (said on standard error).
    std::optional<int> Prepare();
    // The --dump rows, "E000: 8E 03 FF ...", each dump on lines of its own.
    std::string Dumps() const;

private:
    std::optional<std::pair<uint16_t, uint16_t>> ResolveRange(std::string_view text, std::string& error) const;

    std::optional<uint16_t> ResolveBreak(const std::string& text, std::string& error) const;

    const TRunnerOptions& options_;
    TMachine& machine_;
    const TSourceProgram& source_;
    TDebugger debugger_;
    std::vector<std::pair<uint16_t, uint16_t>> dumps_;
};

}  // namespace hexmoor
