#include "debug/SourceLines.h"

#include <charconv>
#include <filesystem>
#include <system_error>

namespace hexmoor {

TLineTable LineTableOf(const TAssembly& assembly) {
    TLineTable table{.Files = assembly.Files, .Entries = {}};
    for (const TAsmLine& line : assembly.Lines)
        if (line.Length != 0) table.Entries.push_back({line.Address, uint16_t(line.Length), line.File, line.Line});
    return table;
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

const TLineEntry* LineAt(const TLineTable& lines, uint16_t address) {
    for (const TLineEntry& entry : lines.Entries)
        if (uint16_t(address - entry.Address) < entry.Length) return &entry;
    return nullptr;
}

const TLineEntry* CodeAtOrAfter(const TLineTable& lines, int file, int line) {
    const TLineEntry* best = nullptr;
    for (const TLineEntry& entry : lines.Entries)
        if (entry.File == file && entry.Line >= line && (!best || entry.Line < best->Line)) best = &entry;
    return best;
}

const TLineEntry* CodeOfLine(const TLineTable& lines, int file, int line) {
    const TLineEntry* code = CodeAtOrAfter(lines, file, line);
    return code && code->Line == line ? code : nullptr;
}

namespace {

std::string_view BaseName(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

// The same file by another spelling of its path: "./prog.asm", "/home/me/prog.asm".
bool SameFile(const std::string& known, std::string_view typed) {
    std::error_code error;
    const std::filesystem::path a = std::filesystem::weakly_canonical(known, error);
    if (error) return false;
    const std::filesystem::path b = std::filesystem::weakly_canonical(std::filesystem::path(typed), error);
    return !error && a == b;
}

}  // namespace

int FileNamed(const TLineTable& lines, std::string_view name) {
    for (std::size_t i = 0; i < lines.Files.size(); ++i)
        if (lines.Files[i] == name) return int(i);
    for (std::size_t i = 0; i < lines.Files.size(); ++i)
        if (SameFile(lines.Files[i], name)) return int(i);
    if (name.find('/') == std::string_view::npos)
        for (std::size_t i = 0; i < lines.Files.size(); ++i)
            if (BaseName(lines.Files[i]) == name) return int(i);
    return -1;
}

std::optional<const TLineEntry*> ReadSourcePosition(const TLineTable& lines, std::string_view text,
                                                    std::string& error) {
    const std::size_t colon = text.rfind(':');
    if (colon == std::string_view::npos || colon == 0) return std::nullopt;
    const std::string_view file = text.substr(0, colon), digits = text.substr(colon + 1);
    const std::string where(text);
    if (digits.empty()) {
        error = where + ": a line number must follow the colon";
        return nullptr;
    }
    int line = 0;
    const auto [end, failed] = std::from_chars(digits.data(), digits.data() + digits.size(), line);
    if (failed != std::errc() || end != digits.data() + digits.size() || line < 1) {
        error = where + ": the line number must be 1 or more";
        return nullptr;
    }
    if (lines.Empty()) {
        error = where + ": the program loaded has no source lines";
        return nullptr;
    }
    const int index = FileNamed(lines, file);
    if (index < 0) {
        error = "no source file " + std::string(file) + " in the program";
        return nullptr;
    }
    const TLineEntry* code = CodeAtOrAfter(lines, index, line);
    if (!code) error = "no code at or after line " + std::to_string(line) + " of " + std::string(file);
    return code;
}

}  // namespace hexmoor
