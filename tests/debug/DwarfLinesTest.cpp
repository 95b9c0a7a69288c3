// The line table of an ELF program assembled with --gdwarf-N, against the lines GNU objdump
// reads from the same file, and what is kept of a damaged one.
#include <gmock/gmock.h>

#include <filesystem>
#include <regex>
#include <set>

#include "core/Hex.h"
#include "debug/DwarfLines.h"
#include "loader/ElfReader.h"
#include "support/CommandOutput.h"
#include "support/ElfBytes.h"

namespace hexmoor::testing {
namespace {

std::string DwarfProgram(int version) {
    return std::string(HEXMOOR_TEST_PROGRAMS_DIR) + "/dwarf" + std::to_string(version) + "/lines.elf";
}

std::string LineText(const TLineTable& table, const TLineEntry& entry) {
    return table.Files[entry.File] + ":" + std::to_string(entry.Line);
}

// "FILE:LINE" of the entry holding `address`; empty when none does.
std::string LineAt(const TLineTable& table, uint16_t address) {
    for (const TLineEntry& entry : table.Entries)
        if (address >= entry.Address && address - entry.Address < entry.Length) return LineText(table, entry);
    return "";
}

// Each instruction objdump disassembles, with the source line it says the instruction is on.
std::vector<std::pair<uint16_t, std::string>> ObjdumpLines(const std::string& elf) {
    const std::regex instruction(R"(^\s*([0-9a-f]+):\t)"), position(R"(^(/.*:[0-9]+)$)");
    std::vector<std::pair<uint16_t, std::string>> lines;
    std::string line;
    for (const std::string& text : CommandOutput(std::string(HEXMOOR_M68HC11_OBJDUMP) + " -d -l " + elf)) {
        std::smatch match;
        if (std::regex_search(text, match, position))
            line = match[1];
        else if (std::regex_search(text, match, instruction))
            lines.emplace_back(uint16_t(std::stoul(match[1], nullptr, 16)), line);
    }
    return lines;
}

TEST(DwarfLines, EveryInstructionIsOnTheLineObjdumpReads) {
    for (int version : {2, 4, 5}) {
        SCOPED_TRACE("--gdwarf-" + std::to_string(version));
        const std::string elf = DwarfProgram(version);
        const TDwarfLines lines = ReadDwarfLines(ReadBytes(elf), elf);
        EXPECT_EQ(lines.Note, "");
        const auto listed = ObjdumpLines(elf);
        EXPECT_GE(listed.size(), 10u);
        std::set<std::string> listedLines, tableLines;
        for (const auto& [address, line] : listed) {
            EXPECT_EQ(LineAt(lines.Table, address), line) << "$" << Hex4(address);
            listedLines.insert(line);
        }
        for (const TLineEntry& entry : lines.Table.Entries) tableLines.insert(LineText(lines.Table, entry));
        EXPECT_EQ(tableLines, listedLines);
        EXPECT_EQ(lines.Table.Files.size(), 2u) << "the program and the file it includes";
        for (const std::string& file : lines.Table.Files) EXPECT_TRUE(std::filesystem::exists(file)) << file;
    }
}

TEST(DwarfLines, ADamagedTableGivesTheLinesBeforeTheDamage) {
    const std::string elf = DwarfProgram(4);
    const std::vector<uint8_t> intact = ReadBytes(elf);
    const TDwarfLines whole = ReadDwarfLines(intact, elf);
    const std::span<const uint8_t> section = FindElfSection(intact, ".debug_line").Bytes;
    const std::size_t table = std::size_t(section.data() - intact.data());
    struct Case {
        const char* name;
        std::size_t offset;
        int size;
        uint32_t value;
        std::string note;     // after "the line table of ELF "
        std::size_t entries;  // the first of the whole table's
    } cases[] = {
        {"the program runs past the section", table, 4, uint32_t(section.size()),
         "is damaged: the line program at offset 0 ends past the section", 0},
        {"the program ends inside its last instruction", table, 4, Field(intact, table, 4) - 2,
         "is damaged: a line program ends inside an instruction", whole.Table.Entries.size() - 1},
        {"a version not read", table + 4, 2, 9, "uses DWARF version 9, which is not read", 0},
        {"a line range of 0", table + 4 + 2 + 4 + 4, 1, 0, "is damaged: a line program has a line range of 0", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<uint8_t> bytes = intact;
        Put(bytes, c.offset, c.size, c.value);
        const TDwarfLines lines = ReadDwarfLines(bytes, elf);
        EXPECT_EQ(lines.Note, "the line table of " + elf + " " + c.note);
        ASSERT_EQ(lines.Table.Entries.size(), c.entries);
        for (std::size_t i = 0; i < c.entries; ++i)
            EXPECT_EQ(LineText(lines.Table, lines.Table.Entries[i]), LineText(whole.Table, whole.Table.Entries[i]));
    }
    const TDwarfLines none = ReadDwarfLines(ReadBytes(std::string(HEXMOOR_TEST_PROGRAMS_DIR) + "/hello.elf"), "hello");
    EXPECT_TRUE(none.Table.Empty());
    EXPECT_EQ(none.Note, "") << "a program without a line table";
}

}  // namespace
}  // namespace hexmoor::testing
