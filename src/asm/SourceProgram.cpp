#include "asm/SourceProgram.h"

#include <algorithm>
#include <charconv>

#include "debug/Debugger.h"

namespace hexmoor {

std::optional<std::vector<TProgramAssembler::TBytes>> TSourceProgram::Assemble(const std::string& path) {
    ++attempts_;
    TAssembly assembly = hexmoor::Assemble(path);
    if (!assembly.Diagnostics.empty() && report_) report_(assembly);
    if (assembly.Failed()) return std::nullopt;
    std::vector<TBytes> program;
    for (const TAsmChunk& chunk : assembly.Chunks) program.push_back({chunk.Address, chunk.Bytes});
    loaded_ = std::move(assembly);
    loadedPath_ = path;
    ++loads_;
    return program;
}

TSymbolTable SymbolTableOf(const TAssembly& assembly) {
    TSymbolTable table;
    for (const TAsmSymbol& symbol : assembly.Symbols) {
        if (symbol.Label)
            table.Add(symbol.Name, uint16_t(symbol.Value));
        else
            table.AddConstant(symbol.Name, uint16_t(symbol.Value));
    }
    return table;
}

const TAsmLine* LineAt(const TAssembly& assembly, uint16_t address) {
    for (const TAsmLine& line : assembly.Lines)
        if (line.Length != 0 && uint16_t(address - line.Address) < line.Length) return &line;
    return nullptr;
}

std::optional<uint16_t> AddressOfLine(const TAssembly& assembly, int file, int line) {
    const TAsmLine* best = nullptr;
    for (const TAsmLine& l : assembly.Lines)
        if (l.File == file && l.Line >= line && l.Length != 0 && (!best || l.Line < best->Line)) best = &l;
    if (!best) return std::nullopt;
    return best->Address;
}

namespace {

std::string_view FileName(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

// The part before the last colon, and the line number after it.
std::optional<std::pair<std::string_view, int>> SplitPosition(std::string_view text) {
    const std::size_t colon = text.rfind(':');
    if (colon == std::string_view::npos || colon == 0) return std::nullopt;
    const std::string_view digits = text.substr(colon + 1);
    int line = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), line);
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size() || line < 1)
        return std::nullopt;
    return std::pair{text.substr(0, colon), line};
}

}  // namespace

bool LooksLikeSourcePosition(std::string_view text) { return SplitPosition(text).has_value(); }

std::optional<uint16_t> SourcePosition(const TAssembly& assembly, std::string_view text, std::string& error) {
    const auto position = SplitPosition(text);
    if (!position) return std::nullopt;
    const auto [file, line] = *position;
    for (int pass = 0; pass < 2; ++pass) {
        for (std::size_t i = 0; i < assembly.Files.size(); ++i) {
            const std::string_view name = pass == 0 ? std::string_view(assembly.Files[i]) : FileName(assembly.Files[i]);
            if (name != file) continue;
            if (std::optional<uint16_t> address = AddressOfLine(assembly, int(i), line)) return address;
            error = "no code at or after line " + std::to_string(line) + " of " + std::string(file);
            return std::nullopt;
        }
    }
    error = "no source file " + std::string(file) + " in the program";
    return std::nullopt;
}

void MoveBreakpointsByLine(TDebugger& debugger, const TAssembly& before, const TAssembly& after) {
    for (std::size_t i = 0; i < debugger.Breakpoints().size(); ++i) {
        const TAsmLine* line = LineAt(before, debugger.Breakpoints()[i].Address);
        if (!line) continue;
        const auto file = std::find(after.Files.begin(), after.Files.end(), before.Files[line->File]);
        if (file == after.Files.end()) continue;
        if (std::optional<uint16_t> address = AddressOfLine(after, int(file - after.Files.begin()), line->Line))
            debugger.MoveBreakpoint(i, *address);
    }
}

}  // namespace hexmoor
