// Programs that talk through the terminal port, checked on the screen.
#include <gmock/gmock.h>

#include <cstdio>
#include <fstream>

#include "support/TestMachine.h"
#include "support/TempFolder.h"

namespace hexmoor::testing {
namespace {

std::string Trimmed(std::string row) { return row.erase(row.find_last_not_of(' ') + 1); }

TEST(TerminalPrograms, HelloWorld) {
    TTestMachine t;
    t.RunPasses("hello");
    EXPECT_EQ(Trimmed(t.Machine->Screen.RowText(1)), "Hello, world!");
    EXPECT_EQ(t.Machine->Screen.CursorY(), 2);
    EXPECT_EQ(t.Machine->Screen.CursorX(), 1);
}

TEST(TerminalPrograms, EchoesTypedInput) {
    TTestMachine t;
    TMachine& m = *t.Machine;
    const std::string keys = "hi\rthere.";
    std::size_t next = 0;
    t.Panel.OnWaitForEvents = [&] { m.FormKeyPress(uint8_t(keys.at(next++))); };
    t.RunPasses("echo");
    EXPECT_EQ(Trimmed(m.Screen.RowText(1)), "hi");
    EXPECT_EQ(Trimmed(m.Screen.RowText(2)), "there");
    EXPECT_EQ(next, keys.size()) << "each key arrived while the program waited";
}

TEST(TerminalPrograms, ReadsAnInputFile) {
    const std::string path = TempPath("hexmoor_echo_input.bas");
    std::ofstream(path, std::ios::binary) << "10 PRINT \"A\"\r\n20 GOTO 10\n.\n";
    TTestMachine t;
    TMachine& m = *t.Machine;
    t.LoadThroughPanel("echo");
    m.RunPass();  // the reset after the load
    t.Panel.FileName = path;
    m.InputFileMenuClick();
    const uint16_t end = t.EndLoopAddress();
    for (int pass = 0; pass < 10000 && m.RegisterPC != end; ++pass) m.RunPass();
    EXPECT_EQ(Trimmed(m.Screen.RowText(1)), "10 PRINT \"A\"");
    EXPECT_EQ(Trimmed(m.Screen.RowText(2)), "20 GOTO 10");
    EXPECT_EQ(m.RegisterPC, end);
    std::remove(path.c_str());
}

// A monitor that looks for an abort key while it fills memory and prints a listing gets
// each line of an input file at its prompt, as a person typing with pauses would give it.
TEST(TerminalPrograms, AnInputFileReachesAMonitorAtItsPrompt) {
    const std::string path = TempPath("hexmoor_monitor_input.txt");
    std::ofstream(path, std::ios::binary) << "cmd1\ncmd two\n";
    TTestMachine t;
    TMachine& m = *t.Machine;
    t.LoadThroughPanel("monitor");
    m.RunPass();  // the reset after the load
    t.Panel.FileName = path;
    m.InputFileMenuClick();
    for (long pass = 0; pass < 5'000'000 && !(m.WaitsForAKey() && !m.InputFileOpen); ++pass) m.RunPass();
    std::string listing;
    for (int row = 0; row < 40; ++row) listing += "0123456789ABCDEF0123456789ABCDEF\r\n";
    EXPECT_EQ(t.Panel.Written, "> got: cmd1\r\n" + listing + "> got: cmd two\r\n" + listing + "> ");
    std::remove(path.c_str());
}

}  // namespace
}  // namespace hexmoor::testing
