#include "debug/SymbolFiles.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <chrono>
#include <filesystem>

#include "core/Hex.h"
#include "core/ShownText.h"
#include "core/TextLineReader.h"
#include "core/TextLines.h"
#include "debug/DwarfLines.h"

namespace hexmoor {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kMapHeading = "Linker script and memory map";
// A file that is no symbol list at all says so in the first lines; the rest are counted.
constexpr int kLineProblemsShown = 20;
// The linker writes the map, and the S-records are made from its output just after: a
// symbol file this much older than the program counts as made with it.
constexpr auto kSameBuild = std::chrono::seconds(5);

std::string CannotRead(const std::string& path, const std::string& reason) {
    return "Cannot read symbols from " + path + ": " + reason;
}

// Adds to the load's one message.
void Tell(TSymbolLoad& load, const std::string& text) {
    if (load.Messages.empty())
        load.Messages.push_back(text);
    else
        load.Messages.back() += "\n" + text;
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
    if (!address) return ShownText(fields[0]) + " is not a hexadecimal address";
    if (*address > 0xFFFF) return ShownText(fields[0]) + " lies beyond $FFFF";
    if (!IsSymbolName(name)) return ShownText(name) + " is not a symbol name";
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
void ReadTextSymbols(const std::string& path, std::string_view text, TSymbolLoad& load) {
    const std::vector<std::string_view> lines = TextLines(text);
    if (const auto heading = std::find(lines.begin(), lines.end(), kMapHeading); heading != lines.end()) {
        for (auto line = heading + 1; line != lines.end(); ++line) ReadMapLine(*line, load.Table);
        return;
    }
    int bad = 0;
    std::string shown;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string problem = ReadSymLine(lines[i], load.Table);
        if (!problem.empty() && ++bad <= kLineProblemsShown)
            shown += "\n line " + std::to_string(i + 1) + ": " + problem;
    }
    if (bad == 0) return;
    std::string message = path + ": " + std::to_string(bad) + (bad == 1 ? " line" : " lines") + " could not be read:";
    message += shown;
    if (bad > kLineProblemsShown) message += "\n ... and " + std::to_string(bad - kLineProblemsShown) + " more";
    Tell(load, message);
}

void ReadElfProgram(const std::string& name, std::span<const uint8_t> bytes, TSymbolLoad& load) {
    load.Source = name;
    const TElfSymbols elf = ReadElfSymbols(bytes);
    for (const TElfSymbol& symbol : elf.Symbols) {
        if (symbol.Absolute)
            load.Table.AddConstant(symbol.Name, symbol.Value);
        else
            load.Table.Add(symbol.Name, symbol.Value);
    }
    if (!elf.Message.empty()) Tell(load, CannotRead(name, elf.Message));
    TDwarfLines lines = ReadDwarfLines(bytes, name);
    load.Lines = std::move(lines.Table);
    // Sections that cannot be found keep both tables from being read: that is told once.
    if (!lines.Note.empty() && (elf.Message.empty() || !lines.Note.ends_with(": " + elf.Message))) {
        lines.Note[0] = char(std::toupper(static_cast<unsigned char>(lines.Note[0])));  // "The line table of ..."
        Tell(load, lines.Note);
    }
}

// The rest of the file, or nothing with the reason told: a file too long to read whole is
// refused rather than read in part.
std::optional<std::vector<uint8_t>> ReadWhole(const std::string& path, TTextLineReader& file, TSymbolLoad& load) {
    std::vector<uint8_t> bytes;
    if (file.ReadAll(bytes, kMaxSymbolFileSize)) return bytes;
    Tell(load, CannotRead(path, file.Error()));
    return std::nullopt;
}

bool IsElf(std::span<const uint8_t> bytes) {
    return std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()).starts_with(kElfMagic);
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
        Tell(load, CannotRead(path, file.Error()));
        return load;
    }
    const std::optional<std::vector<uint8_t>> bytes = ReadWhole(path, file, load);
    if (!bytes) return load;
    if (IsElf(*bytes)) {
        ReadElfProgram(path, *bytes, load);
    } else {
        load.Source = path;
        ReadTextSymbols(path, std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()), load);
    }
    return load;
}

TSymbolLoad ReadProgramSymbols(std::span<const uint8_t> program, const std::string& name) {
    TSymbolLoad load;
    if (IsElf(program)) ReadElfProgram(name, program, load);
    return load;
}

TSymbolLoad LoadSymbolsFor(const std::string& programPath) {
    std::error_code error;
    // A program that came through a pipe is not read again.
    if (fs::is_regular_file(programPath, error)) {
        TTextLineReader program;
        if (program.Open(programPath) && program.StartsWith(kElfMagic)) {
            TSymbolLoad load;
            const std::optional<std::vector<uint8_t>> bytes = ReadWhole(programPath, program, load);
            return bytes ? ReadProgramSymbols(*bytes, programPath) : load;
        }
    }
    for (const char* extension : {".sym", ".map"}) {
        const fs::path symbols = fs::path(programPath).replace_extension(extension);
        if (!fs::exists(symbols, error)) continue;
        TSymbolLoad load = LoadSymbolFile(symbols);
        if (WrittenBefore(symbols, programPath)) {
            std::string warning = symbols.string() + " is older than " + programPath + "; its names may be out of date";
            if (!load.Messages.empty()) warning += "\n" + load.Messages.front();
            load.Messages = {warning};
        }
        return load;
    }
    return {};
}

}  // namespace hexmoor
