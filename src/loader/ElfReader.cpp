// ELF32 parsing: the header, the program header table, the section header table, the symbol
// table and its strings, each checked to lie in the file before a field of it is read.
#include "loader/ElfReader.h"

#include <algorithm>

#include "core/Hex.h"

namespace hexmoor {

namespace {

constexpr uint64_t kHeaderSize = 52, kProgramHeaderSize = 32, kSectionHeaderSize = 40, kSymbolSize = 16;
constexpr uint8_t kClass32 = 1, kLittleEndian = 1, kBigEndian = 2, kCurrentVersion = 1;
constexpr uint16_t kRelocatable = 1, kExecutable = 2, kMachine68hc11 = 70;
constexpr uint32_t kLoadSegment = 1, kSymbolTableSection = 2, kNoBitsSection = 8;
constexpr uint16_t kUndefinedSection = 0, kFirstReservedSection = 0xFF00, kAbsoluteSection = 0xFFF1;
constexpr uint8_t kLastKeptSymbolType = 2;  // no type (a plain label), object, function
constexpr uint64_t kAddressSpace = 0x10000;
// Names take their bytes from one string table, where names may share their ends: a bound on
// the bytes taken keeps a small damaged file from asking for gigabytes.
constexpr std::size_t kMaxNameBytes = 1 << 20;

// The file's fields in its byte order, and its header's table positions.
struct TElf {
    std::span<const uint8_t> Bytes;
    bool BigEndian = true;

    bool Holds(uint64_t offset, uint64_t size) const {
        return offset <= Bytes.size() && size <= Bytes.size() - offset;
    }
    // A field the caller has checked to lie in the file.
    uint32_t Field(uint64_t offset, int size) const {
        uint32_t value = 0;
        for (int i = 0; i < size; ++i) {
            const uint8_t byte = Bytes[offset + (BigEndian ? i : size - 1 - i)];
            value = value << 8 | byte;
        }
        return value;
    }
    uint16_t Half(uint64_t offset) const { return uint16_t(Field(offset, 2)); }
    uint32_t Word(uint64_t offset) const { return Field(offset, 4); }
};

// The reason the bytes are no linked 68HC11 program; empty when they are one.
std::string Open(std::span<const uint8_t> bytes, TElf& elf) {
    const std::string_view start(reinterpret_cast<const char*>(bytes.data()), std::min<std::size_t>(bytes.size(), 4));
    if (start != kElfMagic) return "not an ELF file";
    if (bytes.size() < kHeaderSize) return "the file ends inside its ELF header";
    if (bytes[4] != kClass32) return "not a 32-bit ELF file (class " + std::to_string(bytes[4]) + ")";
    if (bytes[5] != kLittleEndian && bytes[5] != kBigEndian)
        return "unknown ELF byte order (" + std::to_string(bytes[5]) + ")";
    if (bytes[6] != kCurrentVersion) return "unknown ELF version " + std::to_string(bytes[6]);
    elf.Bytes = bytes;
    elf.BigEndian = bytes[5] == kBigEndian;
    const uint16_t machine = elf.Half(18), type = elf.Half(16);
    if (machine != kMachine68hc11)
        return "an ELF file for machine " + std::to_string(machine) + ", not for the 68HC11";
    if (type == kRelocatable) return "an object file: link it into a program first";
    if (type != kExecutable) return "not an executable ELF file (type " + std::to_string(type) + ")";
    return "";
}

// Checks a table of `count` entries of `entrySize` bytes at `offset`: each entry holds the
// `needed` bytes read from it, and the table lies in the file. The reason when not.
std::string CheckTable(const TElf& elf, const std::string& table, uint64_t offset, uint64_t entrySize,
                       uint64_t count, uint64_t needed) {
    if (count == 0) return "";
    if (entrySize < needed)
        return "the " + table + "'s entries have " + std::to_string(entrySize) + " bytes, fewer than " +
               std::to_string(needed);
    if (!elf.Holds(offset, entrySize * count)) return "the " + table + " ends past the end of the file";
    return "";
}

// The section header table, checked to lie in the file.
struct TSectionTable {
    uint32_t Offset = 0;
    uint16_t EntrySize = 0, Count = 0;
    uint64_t Header(uint32_t index) const { return Offset + uint64_t(index) * EntrySize; }
};

std::string OpenSections(const TElf& elf, TSectionTable& sections) {
    sections = {elf.Word(32), elf.Half(46), elf.Half(48)};
    return CheckTable(elf, "section header table", sections.Offset, sections.EntrySize, sections.Count,
                      kSectionHeaderSize);
}

// Names the assembler makes for itself and keeps in the table: ".L1\0021" for a local label
// a relocation refers to, "L0\001" for the places of its debug information.
bool IsAssemblerName(std::string_view name) {
    return name.starts_with(".L") ||
           std::any_of(name.begin(), name.end(), [](char c) { return uint8_t(c) < 0x20 || c == 0x7F; });
}

}  // namespace

TElfSegments ReadElfSegments(std::span<const uint8_t> file) {
    TElfSegments result;
    TElf elf;
    result.Message = Open(file, elf);
    if (!result.Message.empty()) return result;
    const uint32_t tableOffset = elf.Word(28);
    const uint16_t entrySize = elf.Half(42), count = elf.Half(44);
    result.Message = CheckTable(elf, "program header table", tableOffset, entrySize, count, kProgramHeaderSize);
    if (!result.Message.empty()) return result;

    uint64_t loaded = 0;  // intact segments' bytes: together no more than the address space holds
    for (uint16_t i = 0; i < count; ++i) {
        const uint64_t header = tableOffset + uint64_t(i) * entrySize;
        const uint32_t offset = elf.Word(header + 4), address = elf.Word(header + 12), size = elf.Word(header + 16);
        if (elf.Word(header) != kLoadSegment || size == 0) continue;
        TElfSegment& segment = result.Segments.emplace_back();
        segment.Address = uint16_t(address);
        const std::string name = "segment " + std::to_string(i);
        if (!elf.Holds(offset, size))
            segment.Message = name + " ends past the end of the file";
        else if (address + uint64_t(size) > kAddressSpace)
            segment.Message = name + " at $" + HexDigits(address, 8) + " reaches past $FFFF";
        else if (loaded + size > kAddressSpace)
            segment.Message = name + " takes the segments past 65536 bytes, more than the address space";
        if (!segment.Message.empty()) continue;
        segment.Bytes.assign(file.begin() + offset, file.begin() + offset + size);
        loaded += size;
    }
    return result;
}

TElfSymbols ReadElfSymbols(std::span<const uint8_t> file) {
    TElfSymbols result;
    TElf elf;
    result.Message = Open(file, elf);
    if (!result.Message.empty()) return result;
    TSectionTable sections;
    result.Message = OpenSections(elf, sections);
    if (!result.Message.empty()) return result;
    const uint16_t sectionCount = sections.Count;
    const auto section = [&](uint32_t index) { return sections.Header(index); };
    uint16_t table = 0;
    while (table < sectionCount && elf.Word(section(table) + 4) != kSymbolTableSection) ++table;
    if (table == sectionCount) return result;

    const uint32_t symbols = elf.Word(section(table) + 16), symbolsSize = elf.Word(section(table) + 20),
                   stringsIndex = elf.Word(section(table) + 24), symbolSize = elf.Word(section(table) + 36);
    // An entry size of 0 is reported as too small, not divided by.
    const uint64_t symbolCount = symbolSize == 0 ? 1 : symbolsSize / symbolSize;
    result.Message = CheckTable(elf, "symbol table", symbols, symbolSize, symbolCount, kSymbolSize);
    if (!result.Message.empty()) return result;
    if (stringsIndex >= sectionCount) return {{}, "the symbol table names no string table"};
    const uint32_t strings = elf.Word(section(stringsIndex) + 16), stringsSize = elf.Word(section(stringsIndex) + 20);
    if (!elf.Holds(strings, stringsSize)) return {{}, "the string table ends past the end of the file"};

    std::size_t nameBytes = 0;
    for (uint64_t i = 0; i < symbolCount; ++i) {
        const uint64_t entry = symbols + i * symbolSize;
        const uint32_t nameOffset = elf.Word(entry), value = elf.Word(entry + 4);
        const uint8_t type = file[entry + 12] & 0xF;
        const uint16_t index = elf.Half(entry + 14);
        const bool defined = index != kUndefinedSection && (index < kFirstReservedSection || index == kAbsoluteSection);
        if (type > kLastKeptSymbolType || !defined || value >= kAddressSpace) continue;
        if (nameOffset >= stringsSize) {
            result.Message = "symbol " + std::to_string(i) + "'s name lies outside the string table";
            break;
        }
        // The name ends at a NUL inside the table and within what is left of the bound.
        const auto begin = file.begin() + strings + nameOffset;
        const auto end = begin + std::min<std::size_t>(stringsSize - nameOffset, kMaxNameBytes - nameBytes + 1);
        const auto nul = std::find(begin, end, 0);
        if (nul == end) {
            result.Message = nameBytes + (end - begin) > kMaxNameBytes
                                 ? "the symbol names take more than " + std::to_string(kMaxNameBytes) + " bytes"
                                 : "symbol " + std::to_string(i) + "'s name runs past the end of the string table";
            break;
        }
        const std::string name(begin, nul);
        if (name.empty() || IsAssemblerName(name)) continue;
        nameBytes += name.size();
        result.Symbols.push_back({name, uint16_t(value), index == kAbsoluteSection});
    }
    return result;
}

TElfSection FindElfSection(std::span<const uint8_t> file, std::string_view name) {
    TElfSection result;
    TElf elf;
    result.Message = Open(file, elf);
    if (!result.Message.empty()) return result;
    result.BigEndian = elf.BigEndian;
    TSectionTable sections;
    result.Message = OpenSections(elf, sections);
    // Section 0 as the names' table: the sections have no names.
    const uint16_t namesIndex = elf.Half(50);
    if (!result.Message.empty() || namesIndex == 0) return result;
    if (namesIndex >= sections.Count) return {{}, elf.BigEndian, "the section names' string table is not in the file"};
    const uint32_t names = elf.Word(sections.Header(namesIndex) + 16),
                   namesSize = elf.Word(sections.Header(namesIndex) + 20);
    if (!elf.Holds(names, namesSize))
        return {{}, elf.BigEndian, "the section names' string table ends past the end of the file"};

    for (uint16_t i = 0; i < sections.Count; ++i) {
        const uint64_t header = sections.Header(i);
        const uint32_t nameOffset = elf.Word(header);
        // The name and its NUL lie in the names' table.
        if (nameOffset >= namesSize || namesSize - nameOffset <= name.size()) continue;
        const auto stored = file.subspan(names + nameOffset, name.size() + 1);
        if (!std::equal(name.begin(), name.end(), stored.begin()) || stored.back() != 0) continue;
        if (elf.Word(header + 4) == kNoBitsSection) return result;
        const uint32_t offset = elf.Word(header + 16), size = elf.Word(header + 20);
        if (!elf.Holds(offset, size))
            return {{}, elf.BigEndian, "section " + std::string(name) + " ends past the end of the file"};
        result.Bytes = file.subspan(offset, size);
        return result;
    }
    return result;
}

}  // namespace hexmoor
