#include "app/RunnerDebugging.h"

#include <cstdio>

#include "core/Hex.h"
#include "debug/Peek.h"
#include "debug/SymbolFiles.h"

namespace hexmoor {

namespace {

constexpr int kDumpRow = 16;

}  // namespace

TRunnerDebugging::TRunnerDebugging(const TRunnerOptions& options, TMachine& machine, const TSourceProgram& source)
    : options_(options), machine_(machine), source_(source), debugger_(machine) {
    debugger_.OnStop = [](const TDebugStop& stop) { std::fprintf(stderr, "hexmoor-run: %s\n", stop.Text.c_str()); };
}

std::optional<std::pair<uint16_t, uint16_t>> TRunnerDebugging::ResolveRange(std::string_view text,
                                                                            std::string& error) const {
    return ReadRange(text, error,
                     [this](std::string_view part, std::string& why) { return debugger_.ParseHexFirst(part, why); });
}

// A source position ("prog.asm:12") in a program loaded from source, else an address.
std::optional<uint16_t> TRunnerDebugging::ResolveBreak(const std::string& text, std::string& error) const {
    if (LooksLikeSourcePosition(text)) {
        if (const TAssembly* assembly = source_.LoadedFrom(options_.Program))
            return SourcePosition(*assembly, text, error);
        error = "a FILE:LINE position needs a program given as source";
        return std::nullopt;
    }
    return debugger_.ParseHexFirst(text, error);
}

std::optional<int> TRunnerDebugging::Prepare() {
    const TAssembly* assembly = source_.LoadedFrom(options_.Program);
    if (assembly && !options_.SymbolFile) {
        debugger_.Symbols = SymbolTableOf(*assembly);
    } else {
        // A program from standard input cannot be read again: the loader kept an ELF program's bytes.
        const TSymbolLoad symbols = options_.SymbolFile     ? LoadSymbolFile(*options_.SymbolFile)
                                    : options_.Program == "-" ? ReadProgramSymbols(machine_.LoadedElf, "-")
                                                              : LoadSymbolsFor(options_.Program);
        for (const std::string& message : symbols.Messages) std::fprintf(stderr, "hexmoor-run: %s\n", message.c_str());
        if (options_.SymbolFile && symbols.Source.empty()) return kExitFile;
        debugger_.Symbols = symbols.Table;
    }

    auto refuse = [](const char* option, const std::string& text, const std::string& error) {
        std::fprintf(stderr, "hexmoor-run: %s %s: %s\n", option, text.c_str(), error.c_str());
        return kExitArguments;
    };
    std::string error;
    for (const std::string& text : options_.BreakPoints) {
        const std::optional<uint16_t> address = ResolveBreak(text, error);
        if (!address) return refuse("--break", text, error);
        debugger_.AddBreakpoint("$" + Hex4(*address));
    }
    for (const std::string& text : options_.Watches) {
        const std::size_t colon = text.rfind(':');
        const std::string_view kind = colon == std::string::npos ? "w" : std::string_view(text).substr(colon + 1);
        const TWatchAccess access = kind == "r" ? TWatchAccess::Read : kind == "rw" ? TWatchAccess::ReadWrite
                                                                                     : TWatchAccess::Write;
        if (kind != "r" && kind != "w" && kind != "rw") return refuse("--watch", text, "the access is r, w or rw");
        const auto range = ResolveRange(std::string_view(text).substr(0, colon), error);
        if (!range) return refuse("--watch", text, error);
        debugger_.AddWatchpoint("$" + Hex4(range->first) + "-$" + Hex4(range->second), access);
    }
    for (const std::string& text : options_.Dumps) {
        auto range = ResolveRange(text, error);
        if (!range) return refuse("--dump", text, error);
        if (range->first == range->second) range->second = uint16_t(std::min(range->first + kDumpRow - 1, 0xFFFF));
        dumps_.push_back(*range);
    }
    return std::nullopt;
}

std::string TRunnerDebugging::Dumps() const {
    std::string text;
    for (const auto& [first, last] : dumps_) {
        for (uint32_t row = first; row <= last; row += kDumpRow) {
            text += Hex4(uint16_t(row)) + ":";
            for (uint32_t address = row; address <= last && address < row + kDumpRow; ++address)
                text += " " + Hex2(PeekByte(machine_, uint16_t(address)));
            text += "\n";
        }
    }
    return text;
}

}  // namespace hexmoor
