// A program loaded from its source: the assembler behind the loader, and what a debugger
// needs of the assembly that loaded (its symbols, where each line's bytes went).
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "asm/Assembler.h"
#include "core/ProgramAssembler.h"
#include "debug/Symbols.h"

namespace hexmoor {

class TDebugger;

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

// Labels name places; EQU and SET values are constants, found by name only.
TSymbolTable SymbolTableOf(const TAssembly& assembly);

// The line whose bytes hold `address`; null when no line gave it.
const TAsmLine* LineAt(const TAssembly& assembly, uint16_t address);
// The address of the first line with bytes at or after `line` in the file `file`: a
// breakpoint on a comment or a label alone goes to the code that follows it.
std::optional<uint16_t> AddressOfLine(const TAssembly& assembly, int file, int line);
// "FILE:LINE", the file by its path as the assembler opened it or by its name alone
// ("prog.asm:12"). Nullopt when the text is no source position at all; `error` set when it
// is one that names no code.
std::optional<uint16_t> SourcePosition(const TAssembly& assembly, std::string_view text, std::string& error);
bool LooksLikeSourcePosition(std::string_view text);

// After a source assembled again: each breakpoint on a line of the old assembly moves to
// the code of the line of that number now (an edit above it does not carry it along, as
// in a debugger that keeps breakpoints by FILE:LINE).
void MoveBreakpointsByLine(TDebugger& debugger, const TAssembly& before, const TAssembly& after);

}  // namespace hexmoor
