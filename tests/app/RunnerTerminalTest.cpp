// hexmoor-run with a person at a terminal: raw keys in, ANSI sequences out, and the
// terminal's settings back as they were on every way out. Run on a pseudo-terminal.
#include <gmock/gmock.h>

#include <signal.h>

#include <fstream>

#include "app/RunnerProcess.h"

namespace hexmoor::testing {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

bool Restored(const termios& now, const termios& before) {
    return now.c_lflag == before.c_lflag && now.c_iflag == before.c_iflag && now.c_oflag == before.c_oflag;
}

TEST(RunnerTerminal, KeysReachTheProgramAsTyped) {
    TLiveRun run({Program("keycodes")}, TConsole::Terminal);
    const termios& before = run.InitialSettings();
    ASSERT_TRUE(run.WaitForRawMode());
    // Ctrl-C is a key like any other, Enter is CR, nothing is echoed by the terminal, and the
    // keys give what the window's keyboard gives: Backspace $08, é $E9 and € $80 (their
    // Windows-1252 bytes), Ω nothing (with a note).
    run.Type("a\x03\r\x1a\x7f\xc3\xa9\xe2\x82\xac\xce\xa9z");
    EXPECT_EQ(run.ReadUntil("7A "), "61 03 0D 1A 08 E9 80 7A ");
    run.Type("\x1d");
    EXPECT_EQ(run.Wait(), 0);
    EXPECT_THAT(run.Err(), HasSubstr("no byte for (Windows-1252)"));
    EXPECT_THAT(run.Err(), HasSubstr("Ctrl-] ends the run"));
    EXPECT_THAT(run.Err(), HasSubstr("ended by Ctrl-]"));
    EXPECT_TRUE(Restored(run.TerminalSettings(), before));
}

TEST(RunnerTerminal, EveryWayOutRestoresTheTerminal) {
    struct TCase {
        const char* Name;
        int Signal;  // 0: Ctrl-] typed
        int Status;
    };
    const TCase cases[] = {
        {"Ctrl-]", 0, 0},
        {"SIGINT", SIGINT, 130},
        {"SIGTERM", SIGTERM, 143},
        {"SIGHUP", SIGHUP, 129},
        {"a crash", SIGSEGV, 1000 + SIGSEGV},
        {"SIGQUIT", SIGQUIT, 1000 + SIGQUIT},
        {"the reader of its output gone", SIGPIPE, 1000 + SIGPIPE},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TLiveRun run({Program("keycodes")}, TConsole::Terminal);
        const termios& before = run.InitialSettings();
        ASSERT_TRUE(before.c_lflag & ECHO);
        ASSERT_TRUE(run.WaitForRawMode());
        EXPECT_FALSE(run.TerminalSettings().c_lflag & (ICANON | ISIG));
        if (c.Signal)
            run.Signal(c.Signal);
        else
            run.Type("\x1d");
        EXPECT_EQ(run.Wait(), c.Status);
        EXPECT_TRUE(Restored(run.TerminalSettings(), before));
    }
}

// A stop from outside hands the shell its terminal as it was; on continuing the keys go to
// the program as typed again.
TEST(RunnerTerminal, AStoppedRunnerGivesTheTerminalBack) {
    TLiveRun run({Program("keycodes")}, TConsole::Terminal);
    const termios& before = run.InitialSettings();
    ASSERT_TRUE(run.WaitForRawMode());
    run.Signal(SIGTSTP);
    ASSERT_TRUE(run.WaitUntilStopped());
    EXPECT_TRUE(Restored(run.TerminalSettings(), before));
    run.Signal(SIGCONT);
    ASSERT_TRUE(run.WaitForRawMode());
    run.Type("b\x03");
    EXPECT_EQ(run.ReadUntil("03 "), "62 03 ");
    run.Type("\x1d");
    EXPECT_EQ(run.Wait(), 0);
    EXPECT_TRUE(Restored(run.TerminalSettings(), before));
}

// With --input the keyboard does not feed the program: the terminal stays as it is.
TEST(RunnerTerminal, InputFromAFileLeavesTheTerminalAlone) {
    const std::string input = Temp("keys.txt");
    std::ofstream(input) << "a\n";
    TLiveRun run({"--input", input, Program("keycodes")}, TConsole::Terminal);
    const termios& before = run.InitialSettings();
    EXPECT_EQ(run.ReadUntil("0D "), "61 0D ");
    EXPECT_EQ(run.Wait(), 0);
    EXPECT_TRUE(Restored(run.TerminalSettings(), before));
    EXPECT_THAT(run.Err(), Not(HasSubstr("Ctrl-]")));
    std::remove(input.c_str());
}

// The same drawing, as the program's own bytes into a pipe, and as ANSI sequences on a
// terminal.
TEST(RunnerTerminal, ScreenCommandsBecomeAnsiOnATerminal) {
    using namespace std::string_literals;
    const std::string programBytes =
        "ab\x07\x00top\x07\x04\x0a\x03X\x08\x07\x01\x07\x02\x0a\x0d\x07\x05\xb0\x80\x07\x06\x07\x04\x00\x63"
        "\x08\x09\x0c\x07\x04\x4f\x01yz\x07\x03\x07\x05"s;
    const std::string ansi =
        "ab\x1b[H\x1b[2Jtop\x1b[3;10HX\b\x1b[X\x1b[K\x1b[J\x1b"
        "D\r\x1b[?25l\xc2\xb0\xe2\x82\xac\x1b[?25h\x1b[24;1H\x1b[A\x1b[80G\x1b[X\x1b[H\x1b[2J\x1b[1;79Hyz\r\x1b"
        "D\x1b[?25l\x1b[?25h";
    {
        TLiveRun run({Program("ansi_screen")});
        EXPECT_EQ(run.ReadUntil("\x07\x05"), programBytes);
        EXPECT_EQ(run.Wait(), 0);
    }
    {
        TLiveRun run({Program("ansi_screen")}, TConsole::Terminal);
        EXPECT_EQ(run.ReadUntil("\x1b[?25l\x1b[?25h"), ansi);
        EXPECT_EQ(run.Wait(), 0);
        // The hard copy goes nowhere, said once for its 24 rows.
        const std::string err = run.Err();
        const std::string note = "printer output discarded";
        ASSERT_THAT(err, HasSubstr(note));
        EXPECT_EQ(err.find(note), err.rfind(note));
    }
}

}  // namespace
}  // namespace hexmoor::testing
