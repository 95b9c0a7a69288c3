// A program's symbols as the debugger gets them: from .sym lists, linker maps and ELF files,
// the file found beside a program, and what is told about files that do not serve.
#include <gmock/gmock.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "debug/SymbolFiles.h"
#include "loader/ElfReader.h"
#include "support/CommandOutput.h"
#include "support/ElfBytes.h"
#include "support/TempFolder.h"
#include "support/TestMachine.h"

namespace hexmoor::testing {
namespace {

namespace fs = std::filesystem;

using TNamed = std::vector<std::pair<std::string, uint16_t>>;

TNamed Named(const TSymbolTable& table) {
    TNamed named;
    for (const TSymbol& symbol : table.All()) named.emplace_back(symbol.Name, symbol.Address);
    return named;
}

std::string ProgramFile(const std::string& name, const std::string& extension) {
    return fs::path(TestProgramPath(name)).replace_extension(extension).string();
}

// The test programs' files of one kind.
std::vector<fs::path> ProgramFiles(const std::string& extension) {
    std::vector<fs::path> paths;
    for (const auto& entry : fs::directory_iterator(HEXMOOR_TEST_PROGRAMS_DIR))
        if (entry.path().extension() == extension) paths.push_back(entry.path());
    return paths;
}

struct TNmSymbol {
    std::string Name;
    uint16_t Value;
    char Type;  // nm's letter: a for an absolute symbol, upper case for a global one
};

// The defined symbols GNU nm for the 68HC11 lists for an ELF file.
std::vector<TNmSymbol> Nm(const fs::path& elf) {
    std::vector<TNmSymbol> symbols;
    for (const std::string& line : CommandOutput(std::string(HEXMOOR_M68HC11_NM) + " --defined-only " + elf.string())) {
        std::istringstream fields(line);
        std::string value, name;
        char type;
        if (fields >> value >> type >> name) symbols.push_back({name, uint16_t(std::stoul(value, nullptr, 16)), type});
    }
    return symbols;
}

// Writes `text` to a .sym file and reads it.
TSymbolLoad ReadSymText(const std::string& text) {
    const std::string path = TempPath("lines.sym");
    std::ofstream(path, std::ios::binary) << text;
    return LoadSymbolFile(path);
}

// The messages of a load, the file's path in them as {}.
std::vector<std::string> Told(const TSymbolLoad& load, const std::string& path) {
    std::vector<std::string> told = load.Messages;
    for (std::string& message : told)
        for (std::size_t at; (at = message.find(path)) != std::string::npos;) message.replace(at, path.size(), "{}");
    return told;
}

TEST(SymbolFiles, SymLines) {
    std::string notSymbols, notSymbolsTold = "{}: 25 lines could not be read:";
    for (int line = 1; line <= 25; ++line) {
        notSymbols += "Some text here\n";
        if (line <= 20) notSymbolsTold += "\n line " + std::to_string(line) + ": an address and a name expected";
    }
    notSymbolsTold += "\n ... and 5 more";
    struct Case {
        const char* name;
        std::string text;
        TNamed symbols;    // in name order
        std::string told;  // the one message, "" for none
    } cases[] = {
        {"address forms", "2000 start\n$E000 reset\n0x1037 TERMINAL\n  0XFFFE\tvector ; the reset vector\nffd6 low\n",
         {{"TERMINAL", 0x1037}, {"low", 0xFFD6}, {"reset", 0xE000}, {"start", 0x2000}, {"vector", 0xFFFE}},
         {}},
        {"blank and comment lines", "\n \t\n; note\n* note\n# note\r\n2000 start\n", {{"start", 0x2000}}, {}},
        {"bad lines are told, the good ones kept",
         "2000\n2000 a b\n20G0 bad\n$ bad\n10000 far\n2000 9lives\n2010 good\n",
         {{"good", 0x2010}},
         "{}: 6 lines could not be read:\n line 1: an address and a name expected\n"
         " line 2: an address and a name expected\n line 3: 20G0 is not a hexadecimal address\n"
         " line 4: $ is not a hexadecimal address\n line 5: 10000 lies beyond $FFFF\n line 6: 9lives is not a symbol name"},
        {"names differ in case and keep their first address", "2000 loop\n2010 Loop\n2020 loop\n",
         {{"Loop", 0x2010}, {"loop", 0x2000}},
         "{}: 1 line could not be read:\n line 3: loop already stands for $2000"},
        {"a file that is no symbol list", notSymbols, {}, notSymbolsTold},
        {"a byte-order mark and lines ended by CR alone", "\xEF\xBB\xBF" "2000 start\r\r2010 next\r",
         {{"next", 0x2010}, {"start", 0x2000}},
         ""},
        {"control bytes and bytes that are no UTF-8 shown escaped",
         std::string("2000 clear\x1B[2J\n2\0G0 nul\n2000 caf\xC3\xA9\n2000 b\xE9\n2000 csi\xC2\x9B\n", 54),
         {},
         "{}: 5 lines could not be read:\n line 1: clear\\x1B[2J is not a symbol name\n"
         " line 2: 2\\x00G0 is not a hexadecimal address\n line 3: caf\xC3\xA9 is not a symbol name\n"
         " line 4: b\\xE9 is not a symbol name\n line 5: csi\\xC2\\x9B is not a symbol name"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TSymbolLoad load = ReadSymText(c.text);
        EXPECT_EQ(Told(load, TempPath("lines.sym")), c.told.empty() ? std::vector<std::string>{}
                                                                    : std::vector<std::string>{c.told});
        EXPECT_EQ(Named(load.Table), c.symbols);
    }
}

// Every test program's ELF symbols are the ones nm lists but those the assembler named for
// itself (".L1\0021" for a local label 1:, "L0\001" for `.` in an operand or a line of
// debug information); absolute ones (.equ constants, the linker script's unused vectors at
// 0) are found by name but label no address.
TEST(SymbolFiles, ElfSymbolsAreTheOnesNmLists) {
    std::vector<fs::path> programs = ProgramFiles(".elf");
    EXPECT_GT(programs.size(), 20u);
    programs.push_back(std::string(HEXMOOR_TEST_PROGRAMS_DIR) + "/dwarf2/lines.elf");
    int assemblerNames = 0;
    for (const fs::path& elf : programs) {
        SCOPED_TRACE(elf.string());
        const TSymbolLoad load = LoadSymbolFile(elf);
        EXPECT_EQ(load.Messages, std::vector<std::string>{});
        std::vector<TNmSymbol> listed = Nm(elf);
        const auto assemblers = std::partition(listed.begin(), listed.end(), [](const TNmSymbol& symbol) {
            return !symbol.Name.starts_with(".L") && !symbol.Name.starts_with("L0\001");
        });
        for (auto symbol = assemblers; symbol != listed.end(); ++symbol, ++assemblerNames)
            EXPECT_FALSE(load.Table.Find(symbol->Name)) << symbol->Name;
        listed.erase(assemblers, listed.end());
        EXPECT_EQ(load.Table.All().size(), listed.size());
        for (const TNmSymbol& symbol : listed) {
            EXPECT_EQ(load.Table.Find(symbol.Name), symbol.Value) << symbol.Name;
            const std::vector<std::string>& there = load.Table.NamesAt(symbol.Value);
            const bool labels = std::find(there.begin(), there.end(), symbol.Name) != there.end();
            EXPECT_EQ(labels, symbol.Type != 'a' && symbol.Type != 'A') << symbol.Name;
        }
    }
    EXPECT_GE(assemblerNames, 4) << "names of the assembler's own in every_mode and lines";
}

// A linker map names the global symbols of the linked sections: nm's upper-case ones but the
// absolute, without the local labels and the linker script's assignments.
TEST(SymbolFiles, MapsNameTheGlobalSymbols) {
    const std::vector<fs::path> maps = ProgramFiles(".map");
    EXPECT_GT(maps.size(), 20u);
    for (const fs::path& map : maps) {
        SCOPED_TRACE(map.string());
        const TSymbolLoad load = LoadSymbolFile(map);
        EXPECT_EQ(load.Messages, std::vector<std::string>{});
        TNamed globals;
        for (const TNmSymbol& symbol : Nm(fs::path(map).replace_extension(".elf")))
            if (std::isupper(symbol.Type) && symbol.Type != 'A') globals.emplace_back(symbol.Name, symbol.Value);
        std::sort(globals.begin(), globals.end());
        EXPECT_FALSE(globals.empty());
        EXPECT_EQ(Named(load.Table), globals);
    }
}

// What a debugger shows of hello: where the reset vector points is _start, the greeting's
// bytes are at message, an address inside it is message plus an offset.
TEST(SymbolFiles, NamesAsTheDebuggerShowsThem) {
    TTestMachine t;
    LoadTestProgram(*t.Machine, "hello");
    const TSymbolTable table = LoadSymbolFile(ProgramFile("hello", ".elf")).Table;
    EXPECT_EQ(table.Find("_start"), t.Word(0xFFFE));
    const uint16_t message = table.Find("message").value_or(0);
    EXPECT_EQ(std::string(&t.Machine->MemoryImage[message], &t.Machine->MemoryImage[message + 5]), "Hello");
    const std::optional<TSymbol> inside = table.Nearest(uint16_t(message + 5));
    ASSERT_TRUE(inside);
    EXPECT_EQ(inside->Name, "message");
    EXPECT_EQ(inside->Address, message);
    EXPECT_FALSE(table.Find("Message")) << "names are case-sensitive";
    EXPECT_FALSE(table.Nearest(0x1FFF)) << "no place below the program";
}

TEST(SymbolFiles, DamagedElfSymbolTables) {
    const std::vector<uint8_t> hello = ReadBytes(ProgramFile("hello", ".elf"));
    const std::size_t sections = Field(hello, 32, 4);
    std::size_t symbolTable = sections;
    while (Field(hello, symbolTable + 4, 4) != 2) symbolTable += 40;
    const std::size_t symbols = Field(hello, symbolTable + 16, 4);
    struct Case {
        const char* name;
        std::size_t offset;
        uint32_t value;
        std::string reason;
        bool kept;  // the symbols before the damage
    } cases[] = {
        {"section headers past the end", 32, uint32_t(hello.size() - 40),
         "the section header table ends past the end of the file", false},
        {"symbol table past the end", symbolTable + 16, uint32_t(hello.size()),
         "the symbol table ends past the end of the file", false},
        {"a name outside the string table", symbols + 5 * 16, 0xFFFFFF,
         "symbol 5's name lies outside the string table", true},
    };
    const std::string path = TempPath("damaged.elf");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<uint8_t> bytes = hello;
        Put(bytes, c.offset, 4, c.value);
        WriteBytes(path, bytes);
        const TSymbolLoad load = LoadSymbolFile(path);
        EXPECT_EQ(load.Messages, std::vector<std::string>{"Cannot read symbols from " + path + ": " + c.reason});
        EXPECT_EQ(load.Table.Find("TERMINAL").has_value(), c.kept) << "symbol 4";
        EXPECT_FALSE(load.Table.Find("_start"));
    }
}

// A file is read whole and told of in one message; an ELF program gives its line table too,
// from its file or from bytes already read (a program that came through a pipe).
TEST(SymbolFiles, FilesAreReadWholeAndToldOfOnce) {
    const std::string lines = std::string(HEXMOOR_TEST_PROGRAMS_DIR) + "/dwarf4/lines.elf";
    const std::vector<uint8_t> elf = ReadBytes(lines);
    std::vector<uint8_t> damaged = elf;
    const std::span<const uint8_t> lineTable = FindElfSection(elf, ".debug_line").Bytes;
    Put(damaged, std::size_t(lineTable.data() - elf.data()) + 4, 2, 9);  // the line program's version
    const std::string path = TempPath("file");
    struct Case {
        const char* name;
        std::function<TSymbolLoad()> load;
        std::string told;  // the one message, the path as {}; "" for none
        bool read;         // the file gives its names (_start) and its Source is set
        bool lines;        // a line table came with them
    } cases[] = {
        {"a .sym longer than the read limit",
         [&] {
             std::ofstream(path, std::ios::binary) << "2000 _start" << std::string(kMaxSymbolFileSize - 10, ' ');
             return LoadSymbolFile(path);
         },
         "Cannot read symbols from {}: the file is longer than 16777216 bytes", false, false},
        {"a .sym of the read limit", [&] {
             std::ofstream(path, std::ios::binary) << "2000 _start" << std::string(kMaxSymbolFileSize - 11, ' ');
             return LoadSymbolFile(path);
         },
         "", true, false},
        {"an ELF program's file", [&] { return LoadSymbolsFor(lines); }, "", true, true},
        {"an ELF program's bytes", [&] { return ReadProgramSymbols(elf, lines); }, "", true, true},
        {"S-records' bytes", [&] { return ReadProgramSymbols(ReadBytes(TestProgramPath("hello")), path); }, "",
         false, false},
        {"an ELF program whose line table is not read",
         [&] {
             WriteBytes(path, damaged);
             return LoadSymbolFile(path);
         },
         "The line table of {} uses DWARF version 9, which is not read", true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TSymbolLoad load = c.load();
        EXPECT_EQ(Told(load, path), c.told.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.told});
        EXPECT_EQ(load.Table.Find("_start").has_value(), c.read);
        EXPECT_EQ(load.Source.empty(), !c.read);
        EXPECT_EQ(load.Lines.Empty(), !c.lines);
    }
    std::filesystem::remove(path);
}

// A folder holding a program and the symbol files named.
class TProgramFolder {
public:
    TProgramFolder(const std::string& program, const std::vector<std::string>& files) {
        static int folders = 0;
        path_ = TempPath("program" + std::to_string(++folders)) + "/";
        fs::create_directory(path_);
        const std::string extension = fs::path(program).extension().string();
        fs::copy_file(ProgramFile("hello", extension), Path(program));
        for (const std::string& file : files) {
            if (file == "prog.map")
                fs::copy_file(ProgramFile("hello", ".map"), Path(file));
            else if (file == "prog.sym/")
                fs::create_directory(Path(file));
            else
                std::ofstream(Path(file)) << "2000 from_sym\n";
        }
    }
    std::string Path(const std::string& name) const { return path_ + name; }

private:
    std::string path_;
};

TEST(SymbolFiles, TheFileBesideTheProgram) {
    struct Case {
        const char* name;
        std::string program;
        std::vector<std::string> files;
        std::string source;  // "" for none
        std::string found;   // a name from the source
        std::string told;    // after the folder, "" for nothing
    } cases[] = {
        {"a .sym before a map", "prog.s19", {"prog.sym", "prog.map"}, "prog.sym", "from_sym", ""},
        {"a map without a .sym", "prog.s19", {"prog.map"}, "prog.map", "_start", ""},
        {"an ELF program's own table", "prog.elf", {"prog.sym"}, "prog.elf", "message", ""},
        {"no symbol file", "prog.s19", {"other.sym"}, "", "", ""},
        {"a .sym that cannot be read", "prog.s19", {"prog.sym/", "prog.map"}, "", "",
         "Cannot read symbols from {}prog.sym: Is a directory"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TProgramFolder folder(c.program, c.files);
        const TSymbolLoad load = LoadSymbolsFor(folder.Path(c.program));
        EXPECT_EQ(load.Source, c.source.empty() ? "" : folder.Path(c.source));
        EXPECT_EQ(load.Table.Find(c.found).has_value(), !c.found.empty()) << c.found;
        EXPECT_EQ(load.Table.Empty(), c.found.empty());
        std::string told = c.told;
        if (const std::size_t at = told.find("{}"); at != std::string::npos) told.replace(at, 2, folder.Path(""));
        EXPECT_EQ(load.Messages, told.empty() ? std::vector<std::string>{} : std::vector<std::string>{told});
    }
}

// A symbol file written before the program, and not just before it as in one build, may
// not match it any more: its names are still read, with a warning.
TEST(SymbolFiles, AnOlderSymbolFileIsUsedWithAWarning) {
    using std::chrono::hours, std::chrono::seconds;
    struct Case {
        const char* name;
        fs::file_time_type::duration age;  // how much older than the program
        bool warned;
    } cases[] = {
        {"an hour older", hours(1), true},
        {"written in the same build", seconds(1), false},
        {"newer", -hours(1), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TProgramFolder folder("prog.s19", {"prog.sym"});
        fs::last_write_time(folder.Path("prog.sym"), fs::last_write_time(folder.Path("prog.s19")) - c.age);
        const TSymbolLoad load = LoadSymbolsFor(folder.Path("prog.s19"));
        EXPECT_TRUE(load.Table.Find("from_sym"));
        const std::string warning =
            folder.Path("prog.sym") + " is older than " + folder.Path("prog.s19") + "; its names may be out of date";
        EXPECT_EQ(load.Messages, c.warned ? std::vector<std::string>{warning} : std::vector<std::string>{});
    }
}

}  // namespace
}  // namespace hexmoor::testing
