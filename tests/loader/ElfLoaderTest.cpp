// Loading ELF executables through the Load control: the machine the S19 file of the same
// program gives, and damaged files told by name and reason.
#include <gmock/gmock.h>

#include <algorithm>
#include <filesystem>
#include <functional>

#include "support/ElfBytes.h"
#include "support/MachineDifference.h"
#include "support/TempFolder.h"
#include "support/TestMachine.h"

namespace hexmoor::testing {
namespace {

namespace fs = std::filesystem;

std::string ProgramFile(const std::string& name, const std::string& extension) {
    return fs::path(TestProgramPath(name)).replace_extension(extension).string();
}

// Where the program header of segment `index` starts.
std::size_t ProgramHeader(const std::vector<uint8_t>& bytes, int index) {
    return Field(bytes, 28, 4) + std::size_t(index) * Field(bytes, 42, 2);
}

// The same file with the ELF header and the program headers in little-endian order.
std::vector<uint8_t> LittleEndian(std::vector<uint8_t> bytes) {
    const auto swap = [&](std::size_t offset, int size) {
        std::reverse(bytes.begin() + std::ptrdiff_t(offset), bytes.begin() + std::ptrdiff_t(offset + size));
    };
    const int segments = int(Field(bytes, 44, 2));
    for (int i = 0; i < segments; ++i)
        for (int word = 0; word < 8; ++word) swap(ProgramHeader(bytes, i) + 4 * word, 4);
    const std::pair<std::size_t, int> header[] = {{16, 2}, {18, 2}, {20, 4}, {24, 4}, {28, 4}, {32, 4}, {36, 4},
                                                  {40, 2}, {42, 2}, {44, 2}, {46, 2}, {48, 2}, {50, 2}};
    for (const auto& [offset, size] : header) swap(offset, size);
    bytes[5] = 1;
    return bytes;
}

void Load(TTestMachine& t, const std::string& path) {
    t.Panel.FileName = path;
    t.Machine->LoadClick();
}

// Loads both files, each into a new machine: the machines, their read-outs and messages agree.
void ExpectSameLoad(const std::string& expectedPath, const std::string& path) {
    TTestMachine expected, actual;
    Load(expected, expectedPath);
    Load(actual, path);
    EXPECT_EQ(Difference(*expected.Machine, *actual.Machine), "");
    EXPECT_EQ(actual.Machine->Panel.MemoryAddressDisplay.Text, expected.Machine->Panel.MemoryAddressDisplay.Text);
    EXPECT_EQ(actual.Machine->Panel.MemoryByteDisplay.Text, expected.Machine->Panel.MemoryByteDisplay.Text);
    EXPECT_EQ(actual.Panel.MessageTexts(), std::vector<std::string>{});
    EXPECT_TRUE(actual.Machine->Panel.RunningLed.Enabled);
}

TEST(ElfLoader, EveryTestProgramLoadsAsItsS19FileDoes) {
    int compared = 0;
    for (const auto& entry : fs::directory_iterator(HEXMOOR_TEST_PROGRAMS_DIR)) {
        if (entry.path().extension() != ".elf") continue;
        const std::string name = entry.path().stem().string();
        SCOPED_TRACE(name);
        ExpectSameLoad(ProgramFile(name, ".s19"), entry.path().string());
        ++compared;
    }
    EXPECT_GT(compared, 20);
}

// Changes that loading looks through: the byte order, and a virtual address other than the
// load address (the segment goes to its physical address, where objcopy's S-records put it).
TEST(ElfLoader, ByteOrderAndVirtualAddressesChangeNothing) {
    struct Case {
        const char* name;
        std::function<std::vector<uint8_t>(std::vector<uint8_t>)> change;
    } cases[] = {
        {"little-endian", LittleEndian},
        {"code run at $8000",
         [](std::vector<uint8_t> b) {
             Put(b, ProgramHeader(b, 0) + 8, 4, 0x8000);
             return b;
         }},
    };
    const std::string path = TempPath("changed.elf");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteBytes(path, c.change(ReadBytes(ProgramFile("hello", ".elf"))));
        ExpectSameLoad(ProgramFile("hello", ".s19"), path);
    }
}

// Each damage to hello.elf (a code segment at $2000, then the vectors' segment): the file is
// named with the reason. A damaged header stores nothing and leaves the machine runnable as
// it was; a damaged vectors segment leaves the code loaded and Run and Step disabled.
TEST(ElfLoader, DamagedFilesAreReportedAndSurvived) {
    const std::vector<uint8_t> hello = ReadBytes(ProgramFile("hello", ".elf"));
    const std::size_t vectors = ProgramHeader(hello, 1);
    struct Case {
        const char* name;
        std::function<void(std::vector<uint8_t>&)> damage;
        std::string reason;
        bool codeLoaded;
    } cases[] = {
        {"header cut short", [](auto& b) { b.resize(40); }, "the file ends inside its ELF header", false},
        {"64-bit class", [](auto& b) { b[4] = 2; }, "not a 32-bit ELF file (class 2)", false},
        {"unknown byte order", [](auto& b) { b[5] = 3; }, "unknown ELF byte order (3)", false},
        {"read in the wrong byte order", [](auto& b) { b[5] = 1; },
         "an ELF file for machine 17920, not for the 68HC11", false},
        {"another machine", [](auto& b) { Put(b, 18, 2, 53); }, "an ELF file for machine 53, not for the 68HC11",
         false},
        {"an object file", [](auto& b) { b = ReadBytes(ProgramFile("hello", ".o")); },
         "an object file: link it into a program first", false},
        {"program headers past the end", [](auto& b) { Put(b, 28, 4, uint32_t(b.size() - 40)); },
         "the program header table ends past the end of the file", false},
        {"program headers too small", [](auto& b) { Put(b, 42, 2, 16); },
         "the program header table's entries have 16 bytes, fewer than 32", false},
        {"no program headers", [](auto& b) { Put(b, 44, 2, 0); }, "no loadable segment with data", false},
        {"cut inside the vectors", [&](auto& b) { b.resize(Field(b, vectors + 4, 4) + 10); },
         "segment 1 ends past the end of the file", true},
        {"vectors past $FFFF", [&](auto& b) { Put(b, vectors + 12, 4, 0xFFF0); },
         "segment 1 at $0000FFF0 reaches past $FFFF", true},
    };
    const std::string path = TempPath("damaged.elf");
    TTestMachine fromS19;
    Load(fromS19, ProgramFile("hello", ".s19"));
    const uint8_t firstByte = fromS19.Machine->MemoryImage[0x2000];
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<uint8_t> bytes = hello;
        c.damage(bytes);
        WriteBytes(path, bytes);
        TTestMachine t;
        Load(t, path);
        const TMachine& m = *t.Machine;
        EXPECT_EQ(t.Panel.MessageTexts(), std::vector<std::string>{"Cannot load " + path + ": " + c.reason});
        EXPECT_EQ(m.MemoryImage[0x2000], c.codeLoaded ? firstByte : 0x00);
        EXPECT_EQ(m.MemoryImage[0xFFFF], 0x00) << "nothing of the damaged vectors";
        EXPECT_EQ(m.Panel.RunningLed.Enabled, !c.codeLoaded);
        EXPECT_EQ(m.Panel.StepLed.Enabled, !c.codeLoaded);
    }
}

}  // namespace
}  // namespace hexmoor::testing
