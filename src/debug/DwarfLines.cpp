// A line program is a byte code for a state machine whose registers (address, file, line)
// make a row each time the program says so; a row's code runs up to the next row's address,
// and an end-of-sequence row closes the last one. Every field is read through a bounded
// cursor and every opcode takes at least one byte, so a damaged table ends the reading in
// at most as many steps as the section has bytes.
#include "debug/DwarfLines.h"

#include <algorithm>
#include <climits>
#include <map>
#include <optional>
#include <string_view>
#include <vector>

#include "debug/DwarfCompileDirs.h"
#include "loader/ElfReader.h"

namespace hexmoor {

namespace {

constexpr uint32_t k64BitDwarf = 0xFFFFFFFF, kFirstReservedLength = 0xFFFFFFF0;
constexpr uint64_t kAddressSpace = 0x10000;
// A register moved past these stays there instead of wrapping around into real places.
constexpr uint64_t kFarAddress = uint64_t(1) << 40;
constexpr int64_t kFarLine = int64_t(1) << 40;

// Standard opcodes.
enum : uint8_t {
    kCopy = 1, kAdvancePc, kAdvanceLine, kSetFile, kSetColumn, kNegateStatement, kSetBasicBlock, kConstAddPc,
    kFixedAdvancePc, kSetPrologueEnd, kSetEpilogueBegin, kSetIsa,
};
// Extended opcodes.
enum : uint8_t { kEndSequence = 1, kSetAddress, kDefineFile };
// What the fields of a version 5 directory or file entry hold.
constexpr uint64_t kEntryPath = 1, kEntryDirectory = 2;

std::string Damaged(const std::string& what) { return "is damaged: " + what; }

std::string JoinPath(std::string_view dir, std::string_view name) {
    if (dir.empty() || name.starts_with('/')) return std::string(name);
    return std::string(dir) + (dir.ends_with('/') ? "" : "/") + std::string(name);
}

// One line program (a compilation unit's) into the table.
class TLineProgram {
public:
    TLineProgram(TLineTable& table, std::map<std::string, int>& fileIndex, const TDwarfInfoSections& sections)
        : table_(table), fileIndex_(fileIndex), sections_(sections) {}

    // The program after its length field; the note's tail saying why it could not be read
    // whole, empty when it could.
    std::string Read(TDwarfCursor unit, std::string_view compileDir) {
        const std::string problem = ReadHeader(unit, compileDir);
        return problem.empty() ? Run(unit) : problem;
    }

private:
    std::string ReadHeader(TDwarfCursor& unit, std::string_view compileDir) {
        version_ = unit.Half();
        if (version_ < 2 || version_ > 5)
            return "uses DWARF version " + std::to_string(version_) + ", which is not read";
        if (version_ >= 5) unit.Skip(2);  // the address and segment selector sizes
        TDwarfCursor header = unit.Part(unit.Word());
        if (unit.Failed()) return Damaged("a line program's header runs past the program");
        minimumInstructionLength_ = header.Byte();
        const uint8_t operationsPerInstruction = version_ >= 4 ? header.Byte() : 1;
        header.Byte();  // whether rows start statements, which the debugger does not mark
        lineBase_ = int8_t(header.Byte());
        lineRange_ = header.Byte();
        opcodeBase_ = header.Byte();
        if (header.Failed()) return Damaged("a line program's header is cut short");
        if (operationsPerInstruction != 1)
            return "has " + std::to_string(operationsPerInstruction) +
                   " operations per instruction, which a 68HC11 program never has";
        if (lineRange_ == 0) return Damaged("a line program has a line range of 0");
        if (opcodeBase_ == 0) return Damaged("a line program has an opcode base of 0");
        for (int opcode = 1; opcode < opcodeBase_; ++opcode) operandCounts_.push_back(header.Byte());
        const std::string problem = version_ >= 5 ? ReadEntries(header) : ReadNames(header, compileDir);
        if (problem.empty() && header.Failed()) return Damaged("a line program's file names are cut short");
        return problem;
    }

    // Versions 2 to 4: directory 0 is the compilation directory, file 0 is none.
    std::string ReadNames(TDwarfCursor& header, std::string_view compileDir) {
        dirs_ = {std::string(compileDir)};
        for (std::string_view dir = header.String(); !dir.empty(); dir = header.String())
            dirs_.push_back(JoinPath(compileDir, dir));
        files_ = {std::nullopt};
        for (std::string_view name = header.String(); !name.empty() && !header.Failed(); name = header.String()) {
            const uint64_t dir = header.Unsigned();
            header.Unsigned();  // modification time
            header.Unsigned();  // size
            if (const std::string problem = AddFile(name, dir); !problem.empty()) return problem;
        }
        return "";
    }

    // Version 5: tables of entries in a format the header gives; directory 0 is the
    // compilation directory and file 0 the unit's primary source.
    std::string ReadEntries(TDwarfCursor& header) {
        for (bool files : {false, true}) {
            std::vector<std::pair<uint64_t, uint64_t>> format;  // what each field holds, its form
            for (uint8_t count = header.Byte(); count > 0; --count) {
                const uint64_t content = header.Unsigned();
                format.emplace_back(content, header.Unsigned());
            }
            const TDwarfUnitShape shape{version_, 4, sections_.Strings, sections_.LineStrings};
            // Every entry has a path, which takes a byte at least: the header's bytes bound
            // the count.
            for (uint64_t count = header.Unsigned(); count > 0 && !header.Failed(); --count) {
                std::optional<std::string_view> path;
                uint64_t dir = 0;
                for (const auto& [content, form] : format) {
                    const std::optional<TDwarfValue> value = ReadDwarfForm(header, form, shape);
                    if (!value) return Damaged("a line program has a file entry it cannot read");
                    if (content == kEntryPath) path = value->Text;
                    if (content == kEntryDirectory) dir = value->Number;
                }
                if (!path) return Damaged("a line program has a file entry without a name");
                if (!files)
                    dirs_.push_back(dirs_.empty() ? std::string(*path) : JoinPath(dirs_[0], *path));
                else if (const std::string problem = AddFile(*path, dir); !problem.empty())
                    return problem;
            }
        }
        return "";
    }

    std::string AddFile(std::string_view name, uint64_t dir) {
        if (dir >= dirs_.size())
            return Damaged("a line program's file " + std::to_string(files_.size()) + " names directory " +
                           std::to_string(dir) + ", which it does not list");
        const std::string path = JoinPath(dirs_[dir], name);
        const auto [place, added] = fileIndex_.emplace(path, int(table_.Files.size()));
        if (added) table_.Files.push_back(path);
        files_.push_back(place->second);
        return "";
    }

    std::string Run(TDwarfCursor& program) {
        StartSequence();
        while (!program.AtEnd()) {
            const uint8_t opcode = program.Byte();
            std::string problem;
            if (opcode >= opcodeBase_) {
                const int adjusted = opcode - opcodeBase_;
                Advance(uint64_t(adjusted / lineRange_));
                AdvanceLine(lineBase_ + adjusted % lineRange_);
                problem = Row();
            } else if (opcode == 0) {
                problem = Extended(program);
            } else {
                problem = Standard(opcode, program);
            }
            if (!problem.empty()) return problem;
            if (program.Failed()) return Damaged("a line program ends inside an instruction");
        }
        if (open_) return Damaged("a line program ends inside a sequence");
        return "";
    }

    std::string Standard(uint8_t opcode, TDwarfCursor& program) {
        switch (opcode) {
            case kCopy: return Row();
            case kAdvancePc: Advance(program.Unsigned()); break;
            case kAdvanceLine: AdvanceLine(program.Signed()); break;
            case kSetFile: file_ = program.Unsigned(); break;
            case kConstAddPc: Advance(uint64_t((255 - opcodeBase_) / lineRange_)); break;
            case kFixedAdvancePc: address_ = std::min(address_ + program.Half(), kFarAddress); break;
            case kNegateStatement: case kSetBasicBlock: case kSetPrologueEnd: case kSetEpilogueBegin: break;
            default:
                // Column, instruction set, and opcodes of later versions: operands the
                // table does not use, as many as the header says.
                for (uint8_t count = operandCounts_[opcode - 1]; count > 0; --count) program.Unsigned();
        }
        return "";
    }

    std::string Extended(TDwarfCursor& program) {
        const uint64_t length = program.Unsigned();
        TDwarfCursor operation = program.Part(length);
        if (program.Failed()) return Damaged("a line program ends inside an instruction");
        if (length == 0) return "";
        switch (operation.Byte()) {
            case kEndSequence: {
                std::string problem = Row();
                StartSequence();
                return problem;
            }
            case kSetAddress:
                if (operation.Left() == 0 || operation.Left() > 8)
                    return Damaged("a line program sets an address of " + std::to_string(operation.Left()) + " bytes");
                address_ = std::min(operation.Fixed(operation.Left()), kFarAddress);
                return "";
            case kDefineFile: {
                const std::string_view name = operation.String();
                const uint64_t dir = operation.Unsigned();
                if (operation.Failed() || name.empty())
                    return Damaged("a line program defines a file it does not name");
                return AddFile(name, dir);
            }
            default: return "";  // discriminators and vendors' operations
        }
    }

    void StartSequence() {
        open_.reset();
        address_ = 0;
        file_ = 1;
        line_ = 1;
    }
    void Advance(uint64_t operations) {
        address_ = std::min(address_ + std::min(operations, kFarAddress) * minimumInstructionLength_, kFarAddress);
    }
    void AdvanceLine(int64_t lines) {
        line_ = std::clamp(line_ + std::clamp(lines, -kFarLine, kFarLine), -kFarLine, kFarLine);
    }

    // A row from the registers: it ends the open row's code and opens its own.
    std::string Row() {
        if (file_ >= files_.size() || !files_[file_])
            return Damaged("a line program names file " + std::to_string(file_) + ", which it does not list");
        if (open_) Close(*open_, address_);
        open_ = {address_, *files_[file_], line_};
        return "";
    }

    struct TRow {
        uint64_t Address;
        int File;
        int64_t Line;
    };

    // The row's code runs to `end`: an entry unless the row has no line or no code in the
    // address space.
    void Close(const TRow& row, uint64_t end) {
        end = std::min(end, kAddressSpace);
        if (row.Line <= 0 || row.Line > INT_MAX || end <= row.Address) return;
        table_.Entries.push_back({uint16_t(row.Address), uint16_t(end - row.Address), row.File, int(row.Line)});
    }

    TLineTable& table_;
    std::map<std::string, int>& fileIndex_;
    const TDwarfInfoSections& sections_;
    int version_ = 0;
    uint8_t minimumInstructionLength_ = 1, lineRange_ = 1, opcodeBase_ = 1;
    int8_t lineBase_ = 0;
    std::vector<uint8_t> operandCounts_;  // of standard opcodes 1 up to the opcode base
    std::vector<std::string> dirs_;
    std::vector<std::optional<int>> files_;  // the program's file numbers into the table's files
    uint64_t address_ = 0, file_ = 1;
    int64_t line_ = 1;
    std::optional<TRow> open_;  // the last row, whose code runs up to the next row's address
};

}  // namespace

TDwarfLines ReadDwarfLines(std::span<const uint8_t> elfFile, const std::string& fileName) {
    TDwarfLines lines;
    const TElfSection section = FindElfSection(elfFile, ".debug_line");
    if (!section.Message.empty()) {
        lines.Note = "the line table of " + fileName + " cannot be read: " + section.Message;
        return lines;
    }
    const auto bytes = [&](std::string_view name) { return FindElfSection(elfFile, name).Bytes; };
    const TDwarfInfoSections sections{bytes(".debug_info"), bytes(".debug_abbrev"), bytes(".debug_str"),
                                      bytes(".debug_line_str"), section.BigEndian};
    const std::map<uint64_t, std::string_view> compileDirs = ReadCompileDirs(sections);
    std::map<std::string, int> fileIndex;
    TDwarfCursor table(section.Bytes, section.BigEndian);
    while (!table.AtEnd()) {
        const std::size_t offset = table.Position();
        const uint32_t length = table.Word();
        std::string problem;
        if (length == k64BitDwarf) {
            problem = "is in 64-bit DWARF, which is not read";
        } else if (length >= kFirstReservedLength) {
            problem = Damaged("the line program at offset " + std::to_string(offset) + " has no valid length");
        } else {
            const TDwarfCursor unit = table.Part(length);
            if (table.Failed())
                problem = Damaged("the line program at offset " + std::to_string(offset) + " ends past the section");
            else if (const auto dir = compileDirs.find(offset); dir != compileDirs.end())
                problem = TLineProgram(lines.Table, fileIndex, sections).Read(unit, dir->second);
            else
                problem = TLineProgram(lines.Table, fileIndex, sections).Read(unit, "");
        }
        if (!problem.empty()) {
            lines.Note = "the line table of " + fileName + " " + problem;
            break;
        }
    }
    return lines;
}

}  // namespace hexmoor
