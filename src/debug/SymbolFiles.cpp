#include "debug/SymbolFiles.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <filesystem>

#include "core/Hex.h"
#include "core/TextLineReader.h"
#include "loader/ElfReader.h"

namespace hexmoor {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kMapHeading = "Linker script and memory map";
// A file that is no symbol list at all says so in the first lines; the rest are counted.
constexpr std::size_t kLineProblemsShown = 20;
// The linker writes the map, and the S-records are made from its output just after: a
// symbol file this much older than the program counts as made with it.
constexpr auto kSameBuild = std::chrono::seconds(5);

std::string CannotRead(const std::string& path, const std::string& reason) {
    return "Cannot read symbols from " + path + ": " + reason;
}

std::vector<std::string_view> Fields(std::string_view line) {
    std::vector<std::string_view> fields;
    constexpr std::string_view kBlanks = " \t";
    for (std::size_t begin = line.find_first_not_of(kBlanks); begin != std::string_view::npos;) {
        const std::size_t end = std::min(line.find_first_of(kBlanks, begin), line.size());
        fields.push_back(line.substr(begin, end - begin));
        begin = line.find_first_not_of(kBlanks, end);
    }
    return fields;
}

// Hexadecimal digits only; a value too large for 64 bits counts as beyond $FFFF.
std::optional<uint64_t> HexValue(std::string_view digits) {
    uint64_t value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value, 16);
    if (digits.empty() || end != digits.data() + digits.size()) return std::nullopt;
    return error == std::errc::result_out_of_range ? UINT64_MAX : value;
}

// What the assembler takes for a name: letters, digits, _ . and $, not starting with a digit.
bool IsSymbolName(std::string_view text) {
    const auto nameCharacter = [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
               c == '.' || c == '$';
    };
    return !text.empty() && !(text[0] >= '0' && text[0] <= '9') && std::all_of(text.begin(), text.end(), nameCharacter);
}

// One line of a .sym file into the table: what is wrong with it, empty when nothing is.
std::string ReadSymLine(std::string_view line, TSymbolTable& table) {
    const std::vector<std::string_view> fields = Fields(line.substr(0, line.find(';')));
    if (fields.empty() || fields[0].starts_with('*') || fields[0].starts_with('#')) return "";
    if (fields.size() != 2) return "an address and a name expected";
    std::string_view digits = fields[0];
    if (digits.starts_with('$'))
        digits.remove_prefix(1);
    else if (digits.starts_with("0x") || digits.starts_with("0X"))
        digits.remove_prefix(2);
    const std::optional<uint64_t> address = HexValue(digits);
    const std::string name(fields[1]);
    if (!address) return std::string(fields[0]) + " is not a hexadecimal address";
    if (*address > 0xFFFF) return std::string(fields[0]) + " lies beyond $FFFF";
    if (!IsSymbolName(name)) return name + " is not a symbol name";
    if (!table.Add(name, uint16_t(*address))) return name + " already stands for $" + Hex4(*table.Find(name));
    return "";
}

void ReadMapLine(std::string_view line, TSymbolTable& table) {
    const std::vector<std::string_view> fields = Fields(line);
    if (fields.size() != 2 || !fields[0].starts_with("0x") || !IsSymbolName(fields[1])) return;
    const std::optional<uint64_t> value = HexValue(fields[0].substr(2));
    if (value && *value <= 0xFFFF) table.Add(std::string(fields[1]), uint16_t(*value));
}

// A .sym list, or a map: its heading turns what came before into the map's preamble.
void ReadTextSymbols(const std::string& path, TTextLineReader& file, TSymbolLoad& load) {
    bool map = false;
    std::vector<std::string> problems;
    std::size_t unshown = 0;
    std::string line;
    while (file.ReadLine(line)) {
        if (map) {
            ReadMapLine(line, load.Table);
            continue;
        }
        if (line == kMapHeading) {
            map = true;
            load.Table = {};
            problems.clear();
            unshown = 0;
            continue;
        }
        const std::string problem = ReadSymLine(line, load.Table);
        if (problem.empty()) continue;
        if (problems.size() < kLineProblemsShown)
            problems.push_back(path + ":" + std::to_string(file.LineNumber()) + ": " + problem);
        else
            ++unshown;
    }
    if (unshown > 0) problems.push_back(path + ": " + std::to_string(unshown) + " more lines could not be read");
    if (!file.Error().empty()) problems.push_back(CannotRead(path, file.Error()));
    load.Messages.insert(load.Messages.end(), problems.begin(), problems.end());
}

void ReadElfSymbolTable(const std::string& path, TTextLineReader& file, TSymbolLoad& load) {
    std::vector<uint8_t> bytes;
    if (!file.ReadAll(bytes, kMaxElfFileSize)) {
        load.Messages.push_back(CannotRead(path, file.Error()));
        return;
    }
    const TElfSymbols elf = ReadElfSymbols(bytes);
    for (const TElfSymbol& symbol : elf.Symbols) {
        if (symbol.Absolute)
            load.Table.AddConstant(symbol.Name, symbol.Value);
        else
            load.Table.Add(symbol.Name, symbol.Value);
    }
    if (!elf.Message.empty()) load.Messages.push_back(CannotRead(path, elf.Message));
}

// Whether `older` was written before `newer` and not in the same build.
bool WrittenBefore(const fs::path& older, const fs::path& newer) {
    std::error_code error;
    const fs::file_time_type olderTime = fs::last_write_time(older, error);
    if (error) return false;
    const fs::file_time_type newerTime = fs::last_write_time(newer, error);
    return !error && olderTime + kSameBuild < newerTime;
}

}  // namespace

TSymbolLoad LoadSymbolFile(const std::string& path) {
    TSymbolLoad load;
    TTextLineReader file;
    if (!file.Open(path)) {
        load.Messages.push_back(CannotRead(path, file.Error()));
        return load;
    }
    load.Source = path;
    if (file.StartsWith(kElfMagic))
        ReadElfSymbolTable(path, file, load);
    else
        ReadTextSymbols(path, file, load);
    return load;
}

TSymbolLoad LoadSymbolsFor(const std::string& programPath) {
    std::error_code error;
    // A program that came through a pipe is not read again.
    if (fs::is_regular_file(programPath, error)) {
        TTextLineReader program;
        if (program.Open(programPath) && program.StartsWith(kElfMagic)) {
            TSymbolLoad load;
            load.Source = programPath;
            ReadElfSymbolTable(programPath, program, load);
            return load;
        }
    }
    for (const char* extension : {".sym", ".map"}) {
        const fs::path symbols = fs::path(programPath).replace_extension(extension);
        if (!fs::exists(symbols, error)) continue;
        TSymbolLoad load = LoadSymbolFile(symbols);
        if (WrittenBefore(symbols, programPath))
            load.Messages.insert(load.Messages.begin(), symbols.string() + " is older than " + programPath +
                                                            "; its names may be out of date");
        return load;
    }
    return {};
}

}  // namespace hexmoor
