// A program loaded from its source: the assembler behind the loader, keeping the assembly
// that loaded for a debugger (its symbols, where each line's bytes went).
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "asm/Assembler.h"
#include "core/ProgramAssembler.h"

namespace hexmoor {

class TSourceProgram : public TProgramAssembler {
public:
    // Told of every assembly with something to say, errors or warnings: a window shows a
    // dialog, the runner writes the lines.
    using TReport = std::function<void(const TAssembly&)>;
    explicit TSourceProgram(TReport report) : report_(std::move(report)) {}

    std::optional<std::vector<TBytes>> Assemble(const std::string& path) override;

    // The last assembly that loaded, when it came from `path`; one with errors loads
    // nothing and leaves the one before.
    const TAssembly* LoadedFrom(const std::string& path) const {
        return loaded_ && loadedPath_ == path ? &*loaded_ : nullptr;
    }
    const TAssembly* Loaded() const { return loaded_ ? &*loaded_ : nullptr; }
    // Sources handed over by the loader, and those of them that loaded.
    uint64_t Attempts() const { return attempts_; }
    uint64_t Loads() const { return loads_; }

private:
    TReport report_;
    uint64_t attempts_ = 0, loads_ = 0;
    std::optional<TAssembly> loaded_;
    std::string loadedPath_;
};

}  // namespace hexmoor
