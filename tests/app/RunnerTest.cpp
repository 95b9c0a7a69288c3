// hexmoor-run end to end: the executable with assembled programs, files and streams.
#include <gmock/gmock.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/RunnerProcess.h"
#include "support/FifosAndLinks.h"

namespace hexmoor::testing {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

struct TRun {
    int Status;
    std::string Out, Err;
};

// Runs hexmoor-run with the arguments and the file `in` on its standard input.
TRun RunRunnerFrom(const std::string& arguments, const std::string& in) {
    const std::string out = Temp("stdout"), err = Temp("stderr");
    // A run that does not end fails the test (timeout's status 124) instead of hanging it.
    const std::string command = "timeout 20 " + std::string(HEXMOOR_RUNNER) + " " + arguments + " < " + in +
                                " > " + out + " 2> " + err;
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadAll(out), ReadAll(err)};
}

// Runs hexmoor-run with the arguments and `input` on its standard input.
TRun RunRunner(const std::string& arguments, const std::string& input = "") {
    const std::string in = Temp("stdin");
    std::ofstream(in, std::ios::binary) << input;
    return RunRunnerFrom(arguments, in);
}

TEST(Runner, PrintsWhatTheProgramWrites) {
    const TRun run = RunRunner(Program("hello"));
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Out, "Hello, world!\r\n");
    EXPECT_EQ(run.Err, "") << "reset dialogs are not printed";
}

TEST(Runner, EchoFedByStandardInput) {
    const TRun run = RunRunner(Program("echo"), "abc\nxyz.");
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Out, "abc\r\nxyz") << "LF arrives as the Enter key, CR";
}

// Piped lines may end in LF, CR LF or CR: each end is one Enter key, a CR.
TEST(Runner, EveryLineEndIsOneEnterKey) {
    struct TCase {
        const char* Input;
        const char* Keys;
    };
    const TCase cases[] = {
        {"a\nb\n", "61 0D 62 0D "},
        {"a\r\nb\r\n", "61 0D 62 0D "},
        {"a\rb\r", "61 0D 62 0D "},
        {"a\n\nb", "61 0D 0D 62 "},
        {"a\r\rb", "61 0D 0D 62 "},
    };
    for (const TCase& c : cases) {
        const TRun run = RunRunner("--type-ahead " + Program("keycodes"), c.Input);
        EXPECT_EQ(run.Out, c.Keys) << c.Input;
    }
}

TEST(Runner, EchoFedByAnInputFile) {
    const std::string input = Temp("input.bas");
    std::ofstream(input, std::ios::binary) << "10 PRINT\r\n20 END\n.\n";
    const TRun run = RunRunner("--input " + input + " " + Program("echo"), "ignored");
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Out, "10 PRINT\r\n20 END\r\n");
    std::remove(input.c_str());
}

TEST(Runner, AnEmptyInputFileFeedsNothing) {
    const std::string input = Temp("empty.bas");
    std::ofstream(input, std::ios::binary) << "";
    const TRun run = RunRunner("--input " + input + " " + Program("echo"));
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Out, "");
    EXPECT_EQ(run.Err, "");
}

TEST(Runner, EndsWhenNoMoreInputCanCome) {
    const TRun run = RunRunner(Program("echo"), "ab");
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Out, "ab");
}

TEST(Runner, StatusPollingSeesTypedAheadInput) {
    const TRun run = RunRunner("--max-instructions 100000 " + Program("status_poll"), "poll me.");
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Out, "poll me");
}

// Through pipes read as the output comes: each prompt arrives before any input is typed,
// whether the program waits in a read of the data port or polls the status port: the
// runner then waits for the pipe, and output held back until then would never come. (How
// soon it arrives is a figure of bench/input-benchmark.sh.)
TEST(Runner, OutputComesOutBeforeTheProgramWaitsForInput) {
    struct TCase {
        const char* Program;
        const char* Prompt;
        const char* Typed;
        const char* Answer;  // what follows the typed input, up to the next prompt
    };
    const TCase cases[] = {
        {"prompt", "name? ", "bob\n", "bob\r\nname? "},
        {"prompt_poll", "key? ", "x", "[x]key? "},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Program);
        TLiveRun run({"--max-instructions", "100000000", Program(c.Program)});
        EXPECT_EQ(run.ReadUntil(c.Prompt), c.Prompt);
        run.Type(c.Typed);
        EXPECT_EQ(run.ReadUntil(c.Answer), c.Answer);
        for (int i = 0; i < 20 && !::testing::Test::HasFailure(); ++i) {
            run.Type(c.Typed);
            EXPECT_EQ(run.ReadUntil(c.Answer), c.Answer) << i;
        }
        run.Type(".");
        run.CloseInput();
        EXPECT_EQ(run.Wait(), 0);
    }
}

// A signal ends the run with everything written so far delivered (output that waited
// 50 ms is already out while the program computes), the statistics printed, and the
// shell's status for the signal; a run blocked waiting for input ends as well.
TEST(Runner, SignalsEndTheRun) {
    struct TCase {
        const char* Program;
        const char* Output;
        int Signal;
        int Status;
    };
    const TCase cases[] = {
        {"chatter", "running\r\n", SIGINT, 130},
        {"chatter", "running\r\n", SIGTERM, 143},
        {"prompt", "name? ", SIGHUP, 129},
        {"prompt_poll", "key? ", SIGINT, 130},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(std::string(c.Program) + " " + strsignal(c.Signal));
        TLiveRun run({"--stats", "--max-instructions", "4000000000", Program(c.Program)});
        ASSERT_EQ(run.ReadUntil(c.Output), c.Output) << "output is not held back";
        run.Signal(c.Signal);
        EXPECT_EQ(run.Wait(), c.Status);
        EXPECT_THAT(run.Err(), HasSubstr("instructions: "));
    }
}

// What --stats says the run took.
uint64_t StatsCycles(const std::string& err) {
    const std::size_t at = err.find("cycles: ");
    return at == std::string::npos ? UINT64_MAX : std::stoull(err.substr(at + 8));
}

// A WAI that only the outside world could end (input captures, the pulse accumulator's
// input, SPI, SCI) ends the run at once; one that time ends wakes and the program goes on.
TEST(Runner, WaitForInterruptsThatCannotCome) {
    struct TCase {
        const char* Key;  // the sources wai_sources enables
        bool Wakes;
    };
    const TCase cases[] = {
        {"c", false}, {"i", false}, {"p", false}, {"s", false}, {"q", false},
        {"g", true},  {"r", true},  {"o", true},  {"t", true},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Key);
        const TRun run = RunRunner("--stats --max-cycles 3000000 " + Program("wai_sources"), c.Key);
        EXPECT_EQ(run.Status, 0) << run.Err;
        EXPECT_EQ(run.Out, c.Wakes ? "woke\r\n" : "");
        EXPECT_LT(StatsCycles(run.Err), 300000u) << run.Err;
    }
}

// Polling the status port in a loop once the input has ended (standard input closed, or
// the end of --input, which takes the place of standard input) ends the run with status 0
// after --idle-cycles of waiting, all output delivered; a computation that looks for an
// abort key every couple of hundred instructions runs to its end, however long the idle
// time it outlasts. --max-cycles only keeps a fault from hanging the test.
TEST(Runner, PollingForInputThatCannotComeEndsTheRun) {
    const std::string input = Temp("poll-input.txt");
    std::ofstream(input, std::ios::binary) << "a\nb";
    struct TCase {
        const char* Name;
        std::string Arguments, Input, Out;
        uint64_t MinCycles, MaxCycles;  // what --stats says the run took
    };
    const TCase cases[] = {
        {"status_poll, default", Program("status_poll"), "ab", "ab", 2000000, 2100000},
        {"status_poll, idle option", "--idle-cycles 50000 " + Program("status_poll"), "ab", "ab", 50000, 100000},
        {"status_poll, idle=", "--idle-cycles=300000 " + Program("status_poll"), "", "", 300000, 350000},
        {"prompt_poll", "--idle-cycles 100000 " + Program("prompt_poll"), "xy", "key? [x]key? [y]key? ", 100000,
         200000},
        {"prompt_poll, input file", "--idle-cycles 100000 --input " + input + " " + Program("prompt_poll"), "ignored",
         "key? [a]key? [\r]key? [b]key? [\r]key? ", 100000, 200000},
        {"Forth-like PAUSE", "--idle-cycles 100000 " + Program("forth_pause"), "ab", "ab", 100000, 150000},
        {"RTI clock printing", "--idle-cycles 100000 " + Program("rti_clock"), "ab", "ab", 100000, 150000},
        {"abort checks", "--idle-cycles 1000 " + Program("abort_check"), "", "done\r\n", 2900000, 3200000},
        {"abort checks, progress in memory", "--idle-cycles 1000 " + Program("memory_abort_check"), "",
         "done\r\n", 1700000, 1900000},
        {"abort key, typed after 100 ms quiet", Program("abort_check"), "k", "aborted\r\n", 200000, 300000},
        {"polling the SCI's SCSR", "--idle-cycles 100000 " + Program("sci_echo"), "ab", "ab", 100000, 200000},
        {"in WAI for the SCI's interrupt", std::string(HEXMOOR_EXAMPLES_DIR) + "/serial_echo.s19", "hi\n",
         "Serial echo: type a line through the SCI, Enter shows it again.\r\n> hi\r\ngot: hi\r\n> ", 100000,
         1000000},
        {"downloaded into the RAM in bootstrap mode",
         "--idle-cycles 100000 --mode bootstrap " + std::string(HEXMOOR_EXAMPLES_DIR) + "/boot_hello.s19", "hi\n",
         "Hello from the on-chip RAM: type, and I echo in upper case.\r\nHI\r", 100000, 1000000},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        const TRun run = RunRunner("--stats --max-cycles 20000000 " + c.Arguments, c.Input);
        EXPECT_EQ(run.Status, 0) << run.Err;
        std::string out = run.Out;  // without the clock's stars
        std::erase(out, '*');
        EXPECT_EQ(out, c.Out);
        EXPECT_GE(StatsCycles(run.Err), c.MinCycles) << run.Err;
        EXPECT_LE(StatsCycles(run.Err), c.MaxCycles) << run.Err;
    }
    std::remove(input.c_str());
}

// A monitor that looks for an abort key while it prints a listing gets every command
// whole, from standard input or --input (whose last line needs no line end), when input
// is paced like typing; typed ahead, or a line at every empty read, the next command
// arrives during the listing and the monitor takes a key of it as the abort.
TEST(Runner, PacedInputReachesAMonitorThatPollsForAbort) {
    const std::string input = Temp("monitor-input.txt");
    std::ofstream(input, std::ios::binary) << "cmd1\ncmd two\r\ncmd3";
    std::string listing;
    for (int row = 0; row < 40; ++row) listing += "0123456789ABCDEF0123456789ABCDEF\r\n";
    const std::string whole = "> got: cmd1\r\n" + listing + "> got: cmd two\r\n" + listing + "> got: cmd3\r\n" +
                              listing + "> ";
    struct TCase {
        const char* Name;
        std::string Arguments, Input;
        bool Whole;  // every command arrives intact, or the listing is aborted
    };
    const TCase cases[] = {
        {"paced standard input", "", "cmd1\ncmd two\ncmd3\n", true},
        {"paced --input", "--input " + input, "ignored\n", true},
        {"--type-ahead", "--type-ahead", "cmd1\ncmd two\ncmd3\n", false},
        {"--line-per-read", "--line-per-read", "cmd1\ncmd two\ncmd3\n", false},
        {"--input --line-per-read", "--line-per-read --input " + input, "", false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        const TRun run =
            RunRunner("--idle-cycles 100000 --max-cycles 20000000 " + c.Arguments + " " + Program("monitor"), c.Input);
        EXPECT_EQ(run.Status, 0) << run.Err;
        if (c.Whole) {
            EXPECT_EQ(run.Out, whole);
        } else {
            EXPECT_THAT(run.Out, HasSubstr("<aborted>"));
        }
    }
    std::remove(input.c_str());
}

// --registers starts its line where the output ended a line, or after a line end of its
// own; with no output it is the first line.
TEST(Runner, RegistersOnALineOfTheirOwn) {
    struct TCase {
        std::string Arguments, Out;  // what comes before the trace line
        const char* Trace;           // how the trace line starts
    };
    const TCase cases[] = {
        {Program("hello"), "Hello, world!\r\n", "2011 BRA"},
        {"--idle-cycles 1000 " + Program("prompt_poll"), "key? \n", "2013 BEQ"},
        {"--break 2007 " + Program("count_up"), "", "2007 STX $4000"},
        {Program("echo"), "", "2003 LDAA $1037"},  // ended in a read: nothing read, PC on it
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Arguments);
        const TRun run = RunRunner("--registers --max-cycles 10000000 " + c.Arguments);
        EXPECT_THAT(run.Out, StartsWith(c.Out + c.Trace));
        EXPECT_THAT(run.Out, ::testing::EndsWith("\n"));
        EXPECT_EQ(std::count(run.Out.begin(), run.Out.end(), '\n'), std::count(c.Out.begin(), c.Out.end(), '\n') + 1);
    }
}

// A program of "-" is read from standard input, which then types nothing: the S-records
// or the ELF file are not taken for keys, and echo finds no input at once. An ELF program
// gives its symbols still.
TEST(Runner, ProgramFromStandardInput) {
    struct TCase {
        const char* Name;
        std::string Program;
        int Status;
        std::string Out, Err;
        std::string Arguments = "";
    };
    const auto elf = [](const char* name) {
        return ReadAll(std::filesystem::path(Program(name)).replace_extension(".elf").string());
    };
    const std::string helloElf = elf("hello");
    const TCase cases[] = {
        {"hello", ReadAll(Program("hello")), 0, "Hello, world!\r\n", ""},
        {"echo", ReadAll(Program("echo")), 0, "", ""},
        {"bad line", "S1042000CF0C\nhello\nS105FFFE2000DD\n", 1, "", "hexmoor-run: -:2: Not an S Record\n"},
        {"no record", "\n", 1, "", "hexmoor-run: -: no S1 record with data\n"},
        {"hello as ELF", helloElf, 0, "Hello, world!\r\n", ""},
        {"ELF header cut short", helloElf.substr(0, 40), 1, "", "hexmoor-run: -: the file ends inside its ELF header\n"},
        {"a breakpoint at an ELF program's symbol", elf("debug_target"), 0, "",
         "hexmoor-run: breakpoint at $201A (halt)\n", "--break halt "},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        const TRun run = RunRunner("--max-cycles 10000000 " + c.Arguments + "-", c.Program);
        EXPECT_EQ(run.Status, c.Status);
        EXPECT_EQ(run.Out, c.Out);
        EXPECT_THAT(run.Err, ::testing::EndsWith(c.Err));
    }
}

TEST(Runner, StopsAtTheBreakPoint) {
    const TRun run = RunRunner("--break '$2007' --registers " + Program("count_up"));
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Err, "hexmoor-run: breakpoint at $2007\n");
    EXPECT_THAT(run.Out, StartsWith("2007 STX $4000"));
    EXPECT_THAT(run.Out, HasSubstr("X: 0001"));
}

// --stats=json: one object on one line, last on standard error, saying why the run ended
// and its exit status.
TEST(Runner, StatsAsJsonSayWhyTheRunEnded) {
    std::string elf = Program("debug_target");
    elf.replace(elf.size() - 3, 3, "elf");
    struct TCase {
        std::string Arguments, Input;
        const char* Ended;
        int Status;
    };
    const TCase cases[] = {
        {Program("hello"), "", "stop", 0},
        {Program("wai_sources"), "c", "wai", 0},
        {"--idle-cycles 50000 " + Program("status_poll"), "ab", "input", 0},
        {"--max-instructions 1000 " + Program("count_up"), "", "limit", 3},
        {"--break halt " + elf, "", "breakpoint", 0},
        {"--watch count " + elf, "", "watchpoint", 0},
        {"--watch-change X " + elf, "", "watchpoint", 0},
        {"--input /nonexistent/input.txt " + Program("hello"), "", "error", 1},
        {"--break nowhere " + elf, "", "error", 2},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Arguments);
        const TRun run = RunRunner("--stats=json --max-cycles 20000000 " + c.Arguments, c.Input);
        EXPECT_EQ(run.Status, c.Status);
        const std::size_t line = run.Err.rfind('\n', run.Err.size() - 2);
        const std::string last = run.Err.substr(line == std::string::npos ? 0 : line + 1);
        EXPECT_THAT(last, ::testing::MatchesRegex("\\{\"instructions\": [0-9]+, \"cycles\": [0-9]+, \"seconds\": "
                                                  "[0-9.]+, \"mips\": [0-9.]+, \"ended\": \"[a-z]+\", "
                                                  "\"status\": [0-9]+\\}\n"));
        EXPECT_THAT(last, HasSubstr(std::string("\"ended\": \"") + c.Ended + "\", \"status\": " +
                                    std::to_string(c.Status) + "}"));
    }
}

// Breakpoints and watchpoints by address or by the program's symbols (an ELF program's own,
// or --symbols), stops when a value changes, traced or not, and dumps of memory after the run.
TEST(Runner, BreakpointsWatchpointsAndDumps) {
    const std::string symbols = Temp("names.sym");
    std::ofstream(symbols) << "2006 here\n0040 counter\n";
    std::string elf = Program("debug_target");
    elf.replace(elf.size() - 3, 3, "elf");
    const std::string s19 = Program("debug_target");
    struct TCase {
        std::string Arguments;
        int Status;
        std::string Err, Out;
    };
    const TCase cases[] = {
        {"--break halt " + elf, 0, "hexmoor-run: breakpoint at $201A (halt)\n", ""},
        {"--break nowhere --break halt " + elf, 2, "hexmoor-run: --break nowhere: unknown name nowhere (at column 1)\n", ""},
        {"--break 0x2006 " + s19, 0, "hexmoor-run: breakpoint at $2006\n", ""},
        {"--symbols " + symbols + " --break here " + s19, 0, "hexmoor-run: breakpoint at $2006 (here)\n", ""},
        {"--symbols /nonexistent/names.sym " + s19, 1, "", ""},
        {"--watch count " + elf, 0,
         "hexmoor-run: watchpoint: $0040 written: $00 -> $00 by the instruction at $2003\n", ""},
        {"--symbols " + symbols + " --watch counter-41:r --dump 2000-2012 --dump counter --registers " + s19, 0,
         "hexmoor-run: watchpoint: $0040 (counter) read: $00 by the instruction at $2003\n",
         "2006 INC $0040             A: 00  B: 00  X: 0000  Y: 0000  SP: 01FF  CCR: SX I Z  \n"
         "2000: 8E 01 FF 7F 00 40 7C 00 40 BD 20 1C BD 20 24 6F  |.....@|.@. .. $o|\n"
         "2010: 6B 00 3F" + std::string(13 * 3, ' ') + "  |k.?|\n"
         "0040: 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00  |................|\n"},
        {"--watch 40:x " + s19, 2, "hexmoor-run: --watch 40:x: the access is r, w or rw\n", ""},
        {"--watch-change '[count] == 2' " + elf, 0, "hexmoor-run: [count] == 2 changed: false -> true at $2009\n", ""},
        {"--trace /dev/null --watch-change X " + elf, 0, "hexmoor-run: X changed: $0000 -> $200F at $2025 (skip)\n", ""},
        {"--watch-change 'A ==' " + elf, 2, "hexmoor-run: --watch-change A ==: expected an operand (at column 5)\n", ""},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Arguments);
        const TRun run = RunRunner("--max-instructions 100000 " + c.Arguments);
        EXPECT_EQ(run.Status, c.Status);
        if (!c.Err.empty()) {
            EXPECT_EQ(run.Err, c.Err);
        }
        EXPECT_EQ(run.Out, c.Out);
    }
    std::remove(symbols.c_str());
}

// --break ADDR,print tells of every hit (the registers and the call stack) and the run goes
// on to the program's end; --backtrace gives the call stack where the run ends.
TEST(Runner, CallStacksAtHitsAndAtTheEnd) {
    const std::string source = Temp("calls.asm");
    std::ofstream(source) << "        ORG  $2000\nstart   LDS  #$01FF\n        LDAB #3\nloop    BSR  tick\n"
                             "        DECB\n        BNE  loop\n        STOP\ntick    NOP\n        RTS\n"
                             "        ORG  $FFFE\n        FDB  start\n";
    const std::string called = "  #1  $2005 (loop)  calls.asm:4  call to $200B (tick)\n";
    std::string hits;
    for (const auto& [hit, b] : {std::pair{1, "03"}, {2, "02"}, {3, "01"}})
        hits += "hexmoor-run: breakpoint at $200B (tick), hit " + std::to_string(hit) + ":\n200B NOP                   A: 00  B: " +
                b + "  X: 0000  Y: 0000  SP: 01FD  CCR: SX I    \n  #0  $200B (tick)  calls.asm:8\n" + called;
    struct TCase {
        std::string Arguments;
        int Status;
        std::string Err;
    };
    const TCase cases[] = {
        {"--break tick,print", 0, hits},
        {"--backtrace --break tick", 0,
         "hexmoor-run: breakpoint at $200B (tick) calls.asm:8\nhexmoor-run: call stack:\n  #0  $200B (tick)  calls.asm:8\n" +
             called},
        {"--backtrace --max-instructions 9", 3,
         "hexmoor-run: stopped after 9 instructions (--max-instructions)\nhexmoor-run: call stack:\n"
         "  #0  $200C (tick+1)  calls.asm:9\n" + called},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Arguments);
        const TRun run = RunRunner(c.Arguments + " " + source);
        EXPECT_EQ(run.Status, c.Status);
        EXPECT_EQ(run.Err, c.Err);
        EXPECT_EQ(run.Out, "");
    }
}

// A program given as source is assembled and run; errors are printed as compilers print
// them and nothing runs; --break takes a source line, and a stop names its line.
TEST(Runner, RunsSourcePrograms) {
    const std::string source = Temp("hi.asm"), bad = Temp("bad.asm");
    std::ofstream(source) << "* writes HI\nTERMINAL EQU $1037\n        ORG $2000\nstart   LDS #$01FF\n"
                             "        LDAA #'H\n        STAA TERMINAL\n        LDAA #'I\nloop    STAA TERMINAL\n"
                             "        STOP\n        ORG $FFFE\n        FDB start\n";
    std::ofstream(bad) << "        ORG $2000\n        LDAA #$100\n        BRA nowhere\n";
    struct TCase {
        std::string Arguments;
        int Status;
        std::string Out, Err;  // Err: a part of standard error
    };
    const TCase cases[] = {
        {source, 0, "HI", ""},
        {"--break hi.asm:8 " + source, 0, "H", "hexmoor-run: breakpoint at $200A (loop) hi.asm:8\n"},
        {"--break " + source + ":6 " + source, 0, "", "hexmoor-run: breakpoint at $2005 hi.asm:6\n"},
        {"--watch 1037 " + source, 0, "H", "written: $00 -> $48 by the instruction at $2005 hi.asm:6\n"},
        {"--break hi.asm:12 " + source, 2, "", "--break hi.asm:12: no code at or after line 12 of hi.asm\n"},
        {"--break other.asm:3 " + source, 2, "", "no source file other.asm in the program"},
        {"--break hi.asm:3 " + Program("count_up"), 2, "", "the program loaded has no source lines"},
        {bad, 1, "", bad + ":2:"},
        {bad, 1, "", bad + ":3:"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Arguments);
        const TRun run = RunRunner(c.Arguments);
        EXPECT_EQ(run.Status, c.Status);
        EXPECT_EQ(run.Out, c.Out);
        EXPECT_THAT(run.Err, HasSubstr(c.Err));
    }
}

// A --dump row ends with its bytes as characters, as hexdump -C shows them; the trace names
// the targets of calls, jumps and branches the program has labels for.
TEST(Runner, DumpsShowCharactersAndTracesNameTargets) {
    const std::pair<uint8_t, char> bytes[] = {{0x00, '.'}, {0x09, '.'}, {0x1F, '.'}, {0x20, ' '}, {0x41, 'A'},
                                              {0x7E, '~'}, {0x7F, '.'}, {0x80, '.'}, {0xA0, '.'}, {0xFF, '.'}};
    std::string fcb, hex, characters;
    for (auto [byte, character] : bytes) {
        char digits[3];
        std::snprintf(digits, sizeof digits, "%02X", byte);
        fcb += (fcb.empty() ? "$" : ",$") + std::string(digits);
        hex += " " + std::string(digits);
        characters += character;
    }
    const std::string source = Temp("calls.asm"), trace = Temp("calls.log");
    std::ofstream(source) << "        ORG $2000\nstart   LDS #$01FF\n        JSR print\n        BSR print\n"
                             "        JMP done\nprint   RTS\ndone    STOP\ndata    FCB " << fcb
                          << "\n        ORG $FFFE\n        FDB start\n";
    const TRun run = RunRunner("--trace " + trace + " --dump data-data+9 " + source);
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Out, "200D:" + hex + std::string(6 * 3, ' ') + "  |" + characters + "|\n");
    const std::string log = ReadAll(trace);
    for (const char* line : {"2003 JSR $200B (print) ", "2006 BSR *+$05 (print) ", "2008 JMP $200C (done) "})
        EXPECT_THAT(log, HasSubstr(line));
    std::remove(source.c_str());
    std::remove(trace.c_str());
}

// Traced, the runner goes pass by pass; untraced, in spans: both end in the same state.
TEST(Runner, TracedAndUntracedRunsEndAlike) {
    const char* limits[] = {"--max-instructions 123457", "--max-cycles 300001", "--max-cycles 1000000 --max-instructions 99999"};
    for (const char* limit : limits) {
        for (const char* program : {"oc2_counter", "rti_counter", "timing_stress"}) {
            SCOPED_TRACE(std::string(program) + " " + limit);
            const std::string arguments = std::string("--registers --stats ") + limit + " " + Program(program);
            const TRun untraced = RunRunner(arguments);
            const TRun traced = RunRunner("--trace /dev/null " + arguments);
            EXPECT_EQ(untraced.Out, traced.Out);
            EXPECT_EQ(untraced.Status, traced.Status);
            auto counts = [](const std::string& err) { return err.substr(0, err.find("seconds:")); };
            EXPECT_EQ(counts(untraced.Err), counts(traced.Err));
        }
    }
    // Runs the runner ends itself when the input has run out: in a status-polling wait loop,
    // and in a read of the data port.
    for (const char* program : {"prompt_poll", "echo"}) {
        SCOPED_TRACE(program);
        const std::string arguments = std::string("--registers --stats ") + Program(program);
        const TRun untraced = RunRunner(arguments, "ab\n");
        const TRun traced = RunRunner("--trace /dev/null " + arguments, "ab\n");
        EXPECT_EQ(untraced.Status, 0);
        EXPECT_EQ(untraced.Out, traced.Out);
        auto counts = [](const std::string& err) { return err.substr(0, err.find("seconds:")); };
        EXPECT_EQ(counts(untraced.Err), counts(traced.Err));
    }
}

TEST(Runner, LimitsAndStatistics) {
    const TRun run = RunRunner("--max-instructions 1000 --stats " + Program("count_up"));
    EXPECT_EQ(run.Status, 3);
    EXPECT_THAT(run.Err, HasSubstr("instructions: 1000\n"));
    EXPECT_THAT(run.Err, HasSubstr("cycles: "));
    EXPECT_THAT(run.Err, HasSubstr("mips: "));
    const TRun cycles = RunRunner("--max-cycles 500 --stats " + Program("count_up"));
    EXPECT_THAT(cycles.Err, HasSubstr("cycles: 50"));  // 500 and the last instruction's few
}

// The exit status and the last line on standard error say how the run ended: 0 when the
// program ended, 3 when a limit cut it off (not when the program ended within it).
TEST(Runner, ExitStatusTellsHowTheRunEnded) {
    struct TCase {
        const char* Name;
        std::string Arguments, Input;
        int Status;
        std::string Err;  // what standard error ends with
    };
    const TCase cases[] = {
        {"STOP", Program("hello"), "", 0, ""},
        {"STOP within a limit", "--max-instructions 100000 --max-cycles 100000 " + Program("hello"), "", 0, ""},
        {"no more input", Program("echo"), "ab", 0, ""},
        {"STOP after polled input", "--max-cycles 1000000 " + Program("status_poll"), "ab.", 0, ""},
        {"WAI nothing wakes", "--max-cycles 1000000 " + Program("wai_sources"), "c", 0, ""},
        {"breakpoint", "--break 2007 " + Program("count_up"), "", 0, "hexmoor-run: breakpoint at $2007\n"},
        {"instruction limit", "--max-instructions 1000 " + Program("count_up"), "", 3,
         "hexmoor-run: stopped after 1000 instructions (--max-instructions)\n"},
        {"cycle limit", "--max-cycles 3000 --max-instructions 100000 " + Program("count_up"), "", 3,
         " cycles (--max-cycles)\n"},
        {"limit in a WAI", "--max-cycles 100000 " + Program("wai_sources"), "t", 3,
         " cycles (--max-cycles)\n"},
        {"unreadable program", "/nonexistent/program.s19", "", 1, "No such file or directory\n"},
        {"bad arguments", "--max-cycles", "", 2, "(see hexmoor-run --help)\n"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        const TRun run = RunRunner(c.Arguments, c.Input);
        EXPECT_EQ(run.Status, c.Status);
        EXPECT_THAT(run.Err, ::testing::EndsWith(c.Err));
        if (c.Err.empty()) {
            EXPECT_EQ(run.Err, "");
        }
    }
}

// The reset's line and one per instruction, ending on the instruction not executed: the
// one a limit or a breakpoint stopped the run before, once.
TEST(Runner, TraceFileLinesFollowTheLogFormat) {
    struct TCase {
        const char* Ending;
        int Status;
    };
    const TCase cases[] = {{"--max-instructions 3", 3}, {"--break 2007", 0}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Ending);
        const std::string trace = Temp("trace.log");
        const TRun run = RunRunner("--trace " + trace + " " + c.Ending + " " + Program("count_up"));
        EXPECT_EQ(run.Status, c.Status);
        std::istringstream lines(ReadAll(trace));
        std::vector<std::string> log;
        for (std::string line; std::getline(lines, line);) log.push_back(line);
        ASSERT_EQ(log.size(), 4u);
        EXPECT_EQ(log[0], "2000 LDS #$01FF" + std::string(12, ' ') +
                              "A: 00  B: 00  X: 0000  Y: 0000  SP: 0000  CCR: SX I Z  ");
        EXPECT_EQ(log[1].substr(0, 27), "2003 LDX #$0000            ");
        EXPECT_THAT(log[1], HasSubstr("SP: 01FF"));
        EXPECT_EQ(log[3].substr(0, 13), "2007 STX $400");
        std::remove(trace.c_str());
    }
}

TEST(Runner, ScreenAfterEscapeSequences) {
    const TRun run = RunRunner("--screen " + Program("escapes"));
    EXPECT_EQ(run.Status, 0);
    std::istringstream lines(run.Out);
    std::vector<std::string> screen;
    for (std::string line; std::getline(lines, line);) screen.push_back(line);
    ASSERT_EQ(screen.size(), 24u);
    EXPECT_EQ(screen[0], "top left");
    EXPECT_EQ(screen[1], "");
    EXPECT_EQ(screen[2], "         middle");
    EXPECT_EQ(screen[23], std::string(74, ' ') + "end");
}

TEST(Runner, PrinterBytesGoToTheirFile) {
    const std::string printer = Temp("printer.txt");
    const std::string source = Temp("printer.s19");
    // LDAA #'O'; STAA $1040; STOP; and the reset vector.
    std::ofstream(source) << "S1092000864FB71040CF2B\nS105FFFE2000DD\nS9030000FC\n";
    const TRun run = RunRunner("--max-instructions 100 --printer " + printer + " " + source);
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(ReadAll(printer), "O");
    const TRun discarded = RunRunner("--max-instructions 100 " + source);
    EXPECT_THAT(discarded.Err, HasSubstr("printer output discarded"));
    std::remove(printer.c_str());
    std::remove(source.c_str());
}

// The trace log and the printer file are written through a FIFO or a link, never replaced.
TEST(Runner, LogAndPrinterFilesAreWrittenThroughWhatTheyAre) {
    namespace fs = std::filesystem;
    const std::string source = Temp("through.s19");
    // LDAA #'O'; STAA $1040; STOP; and the reset vector.
    std::ofstream(source) << "S1092000864FB71040CF2B\nS105FFFE2000DD\nS9030000FC\n";
    const struct {
        const char* Option;
        ::testing::Matcher<std::string> Bytes;
    } outputs[] = {{"--trace", StartsWith("2000 LDAA #$4F")}, {"--printer", "O"}};
    for (const auto& output : outputs) {
        SCOPED_TRACE(output.Option);
        const std::string prefix = "--max-instructions 100 " + std::string(output.Option) + " ";
        const std::string fifo = Temp("fifo.out");
        TRun run;
        EXPECT_THAT(ReadFifoDuring(fifo, [&] { run = RunRunner(prefix + fifo + " " + source); }), output.Bytes);
        EXPECT_EQ(run.Status, 0) << run.Err;
        EXPECT_TRUE(fs::is_fifo(fifo));

        const std::string link = Temp("link.out"), target = MakeLinkToFileElsewhere(link, "target.out");
        run = RunRunner(prefix + link + " " + source);
        EXPECT_EQ(run.Status, 0) << run.Err;
        EXPECT_TRUE(fs::is_symlink(link));
        EXPECT_THAT(ReadAll(target), output.Bytes);
    }
}

TEST(Runner, ExitStatusForBadFilesAndArguments) {
    const TRun missing = RunRunner("/nonexistent/program.s19");
    EXPECT_EQ(missing.Status, 1);
    EXPECT_THAT(missing.Err, HasSubstr("/nonexistent/program.s19"));
    EXPECT_THAT(missing.Err, HasSubstr("No such file"));
    for (const char* arguments : {"", "--bogus x.s19", "--max-cycles ten x.s19", "--max-cycles 10x x.s19",
                                  "--break= x.s19", "a.s19 b.s19"}) {
        const TRun bad = RunRunner(arguments);
        EXPECT_EQ(bad.Status, 2) << arguments;
        EXPECT_THAT(bad.Err, HasSubstr("--help")) << arguments;
    }
    EXPECT_EQ(RunRunner("--help").Status, 0);
    EXPECT_THAT(RunRunner("--help").Out, HasSubstr("Usage: hexmoor-run"));
    EXPECT_THAT(RunRunner("--version").Out, StartsWith("hexmoor-run "));
}

// Output that cannot be written fails the run with status 1 (ahead of a limit's 3), said
// once: standard output, the final screen and the registers end it at once (with SIGPIPE
// ignored, a reader that has gone is a write that fails); the printer and the trace file
// are closed and the run goes on to its end.
TEST(Runner, FailedWritesFailTheRun) {
    const std::string forever = Temp("forever.s19"), printer = Temp("printer-once.s19");
    // LDAA #'A'; STAA $1037; BRA to the store.
    std::ofstream(forever) << "S10A20008641B7103720FBF5\nS105FFFE2000DD\nS9030000FC\n";
    // LDAA #'O'; STAA $1040 (the printer); STOP.
    std::ofstream(printer) << "S1092000864FB71040CF2B\nS105FFFE2000DD\nS9030000FC\n";
    const std::string runner = "timeout 20 " + std::string(HEXMOOR_RUNNER) + " ";
    const std::string full = ": No space left on device";
    struct TCase {
        const char* Name;
        std::string Command;  // run by the shell, standard error to a file
        std::string Err;
    };
    const TCase cases[] = {
        {"standard output", runner + forever + " > /dev/full", "hexmoor-run: cannot write to standard output" + full},
        {"final screen", runner + "--screen " + Program("hello") + " > /dev/full",
         "hexmoor-run: cannot write to standard output" + full},
        {"registers", runner + "--registers --max-instructions 3 " + Program("hello") + " > /dev/full",
         "hexmoor-run: cannot write to standard output" + full},
        {"help", runner + "--help > /dev/full", "hexmoor-run: cannot write to standard output" + full},
        {"reader gone", "trap '' PIPE; " + runner + forever + " | head -c 10 > /dev/null; exit \\${PIPESTATUS[0]}",
         "hexmoor-run: cannot write to standard output: Broken pipe"},
        {"printer", runner + "--printer /dev/full " + printer + " > /dev/null",
         "hexmoor-run: Cannot print: /dev/full" + full +
             ".\nFurther printer output is dropped until the printer is closed.\n"
             "hexmoor-run: 1 byte could not be printed."},
        {"trace, then the limit", runner + "--trace /dev/full --max-instructions 1000 " + forever + " > /dev/null",
         "hexmoor-run: Cannot write to the log file /dev/full" + full +
             ". The log file has been closed.\nhexmoor-run: stopped after 1000 instructions (--max-instructions)"},
    };
    const std::string err = Temp("write-failure-stderr");
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        const int status = std::system(("bash -c \"" + c.Command + "\" 2> " + err).c_str());
        EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 1);
        EXPECT_EQ(ReadAll(err), c.Err + "\n");
    }
    for (const std::string& name : {forever, printer, err}) std::remove(name.c_str());
}

// A program, input or printer file that cannot be used ends the runner with status 1 and
// the file's name and the reason, before anything runs (hello would print at once).
// Input that fails during the run ends it with status 1, saying what failed; what came
// before it was typed.
TEST(Runner, InputThatCannotBeReadEndsTheRun) {
    const std::string input = Temp("long-line.txt");
    std::ofstream(input, std::ios::binary) << "ok\n" << std::string(70000, 'x') << "\nnever\n";
    const TRun longLine = RunRunner("--input " + input + " " + Program("echo"));
    EXPECT_EQ(longLine.Status, 1);
    EXPECT_EQ(longLine.Out, "ok\r\n");
    EXPECT_THAT(longLine.Err, HasSubstr(input + ": line 2 is longer than 65536 characters"));
    const TRun directory = RunRunnerFrom(Program("echo"), ::testing::TempDir());
    EXPECT_EQ(directory.Status, 1);
    EXPECT_THAT(directory.Err, HasSubstr("standard input: Is a directory"));
    std::remove(input.c_str());
}

// Input that has not come yet holds up only a program that waits for it: with standard
// input open and silent, a computation runs to its limit whatever the pacing.
TEST(Runner, SilentInputHoldsUpNoComputation) {
    for (const char* pacing : {"--type-ahead", "--line-per-read", "--idle-cycles=1000"}) {
        SCOPED_TRACE(pacing);
        TLiveRun run({pacing, "--max-instructions", "3000000", Program("count_up")});
        EXPECT_EQ(run.Wait(), 3);
    }
}

// Standard input is read only a bounded distance ahead of the program: one that never
// reads it leaves all but 64 KiB of a 10 MB file unread (the rest is there for the next
// reader of the same open file).
TEST(Runner, StandardInputIsReadOnlyAheadOfTheProgram) {
    const std::string big = Temp("big-input.txt"), rest = Temp("rest");
    std::ofstream(big, std::ios::binary) << std::string(10'000'000, 'y');
    const std::string command = "( timeout 20 " + std::string(HEXMOOR_RUNNER) + " --max-instructions 2000000 " +
                                Program("count_up") + " > /dev/null 2>&1; cat > " + rest + " ) < " + big;
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_GE(ReadAll(rest).size(), 10'000'000u - 64 * 1024);
    std::remove(big.c_str());
}

TEST(Runner, BadFilesEndBeforeTheRun) {
    const std::string folder = ::testing::TempDir();
    const std::string text = Temp("notes.txt"), empty = Temp("empty.s19"), input = Temp("good-input.txt");
    std::ofstream(text) << "These are notes,\nnot S-records.\n";
    std::ofstream(empty) << "";
    std::ofstream(input) << "x\n";
    struct TCase {
        const char* Name;
        std::string Arguments;
        std::string Err;  // the last line of standard error
    };
    const TCase cases[] = {
        {"text file", text, "hexmoor-run: " + text + ":2: Not an S Record\n"},
        {"empty file", empty, "hexmoor-run: " + empty + ": no S1 record with data\n"},
        {"directory", folder, "hexmoor-run: " + folder + ": Is a directory\n"},
        {"missing program", "/nonexistent/program.s19", "hexmoor-run: /nonexistent/program.s19: No such file or directory\n"},
        {"input directory", "--input " + folder + " " + Program("hello"), "hexmoor-run: " + folder + ": Is a directory\n"},
        {"missing input", "--input /nonexistent/in.txt " + Program("hello"),
         "hexmoor-run: /nonexistent/in.txt: No such file or directory\n"},
        {"printer directory", "--input " + input + " --printer " + folder + " " + Program("hello"),
         "hexmoor-run: " + folder + ": Is a directory\n"},
        {"printer in no folder", "--printer /nonexistent/printer.txt " + Program("hello"),
         "hexmoor-run: /nonexistent/printer.txt: No such file or directory\n"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        const TRun run = RunRunner(c.Arguments);
        EXPECT_EQ(run.Status, 1);
        EXPECT_THAT(run.Err, ::testing::EndsWith(c.Err));
        EXPECT_EQ(run.Out, "") << "nothing runs";
    }
    for (const std::string& name : {text, empty, input}) std::remove(name.c_str());
}

// -h, values attached with =, and -- before a program whose name looks like an option.
TEST(Runner, CommandLineConventions) {
    const std::string input = Temp("conventions.txt");
    std::ofstream(input, std::ios::binary) << "hi.";
    struct TCase {
        std::string Arguments;
        int Status;
        std::string Out, Err;  // Out exactly; Err: a part of it
    };
    const TCase cases[] = {
        {"-h", 0, "", ""},
        {"--max-instructions=1000 " + Program("count_up"), 3, "", "stopped after 1000 instructions"},
        {"--max-cycles=500 --stats " + Program("count_up"), 3, "", "cycles: 50"},
        {"--break='$2007' " + Program("count_up"), 0, "", "hexmoor-run: breakpoint at $2007"},
        {"--break=0x2007 " + Program("count_up"), 0, "", "hexmoor-run: breakpoint at $2007"},
        {"--registers-io --max-instructions 3 " + Program("ad_poll"), 3, "", "Writing $80 to OPTION"},
        {"--input=" + input + " " + Program("echo"), 0, "hi", ""},
        {"--input=" + input + " -- " + Program("echo"), 0, "hi", ""},
        {"-- --help", 1, "", "--help"},
        {"-- " + Program("hello") + " --stats", 2, "", "hexmoor-run: one program at a time"},
        {"--screen=yes " + Program("hello"), 2, "", "hexmoor-run: --screen takes no value"},
        {"--stats=yes " + Program("hello"), 2, "", "hexmoor-run: --stats takes text or json"},
        {"--max-cycles= " + Program("hello"), 2, "", "hexmoor-run: --max-cycles needs a whole number"},
        {"--bogus=1 " + Program("hello"), 2, "", "hexmoor-run: unknown option --bogus"},
        {"-x " + Program("hello"), 2, "", "hexmoor-run: unknown option -x"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Arguments);
        const TRun run = RunRunner(c.Arguments);
        EXPECT_EQ(run.Status, c.Status);
        if (c.Arguments == "-h") {
            EXPECT_THAT(run.Out, StartsWith("Usage: hexmoor-run"));
        } else {
            EXPECT_EQ(run.Out, c.Out);
        }
        EXPECT_THAT(run.Err, HasSubstr(c.Err));
    }
    std::remove(input.c_str());
}

// A record's problems are reported with the file and the line (blank lines count). A
// header record does no harm and the program runs (STOP at $2000); any other problem
// means a damaged program, which never runs.
TEST(Runner, LoaderWarningsNameTheFileAndLine) {
    const std::string source = Temp("warnings.s19");
    struct TCase {
        const char* Name;
        std::string Text;
        std::string Err;
        int Status;
    };
    const TCase cases[] = {
        {"S0 header", "S00600004844521B\nS1042000CF0C\nS105FFFE2000DD\n", ":1: Unknown S Record\n", 0},
        {"not hex on line 3", "S1042000CF0C\n\nS1G5FFFE2000DD\nS105FFFE2000DD\n", ":3: Not Hex\n", 1},
        {"not a record on line 2", "S1042000CF0C\nhello\nS105FFFE2000DD\n", ":2: Not an S Record\n", 1},
        {"checksum on line 2", "S105FFFE2000DD\nS1042000CF0D\n", ":2: S Record checksum does not match its bytes\n", 1},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        std::ofstream(source, std::ios::binary) << c.Text;
        const TRun run = RunRunner("--max-instructions 100 --registers " + source);
        EXPECT_EQ(run.Status, c.Status);
        EXPECT_EQ(run.Err, "hexmoor-run: " + source + c.Err);
        EXPECT_EQ(run.Out.empty(), c.Status != 0) << "the final registers show that it ran";
    }
    std::remove(source.c_str());
}

// Bytes under the on-chip RAM are lost to the default load: the runner tells of each run
// of them under --warnings, the assembler always, and a source's are told once.
TEST(Runner, BytesUnderTheOnChipRamDrawOneNoteARun) {
    const std::string records = Temp("low.s19"), source = Temp("low.asm");
    std::ofstream(records, std::ios::binary) << "S1042000CF0C\nS104000055A6\nS1040001AA50\nS105FFFE2000DD\n";
    std::ofstream(source, std::ios::binary) << "  ORG $10\n  FCB 1\n  ORG $2000\nS STOP\n  ORG $FFFE\n  FDB S\n";
    struct TCase {
        std::string Arguments, Err;
    };
    const std::string stop = "hexmoor-run: STOP executed as NOP\n";  // --warnings tells of that too
    const std::string told = " on are in the on-chip RAM ($0000-$03FF), which a load in expanded mode does not fill: they "
                             "read as 0 after loading. Load the program in bootstrap mode (a mode LED, or hexmoor-run "
                             "--mode bootstrap) to keep them.\n";
    const TCase cases[] = {
        {"--warnings " + records, "hexmoor-run: " + records + ":2: The bytes from $0000" + told + stop},
        {records, ""},
        {"--warnings " + source,
         source + ":2: note: the bytes from $0010 on are in the on-chip RAM ($0000-$03FF), which the board's loader "
                  "does not fill in its default mode: they read as 0 after loading unless the program is loaded in "
                  "bootstrap mode (hexmoor-run --mode bootstrap)\n" +
             stop},
    };
    for (const TCase& c : cases) {
        const TRun run = RunRunner("--max-instructions 100 " + c.Arguments);
        EXPECT_EQ(run.Status, 0) << c.Arguments;
        EXPECT_EQ(run.Err, c.Err);
    }
}

// A program wholly in the on-chip RAM, loaded in expanded mode, is said to look like a
// bootstrap program, once; --mode takes only the two modes.
TEST(Runner, AProgramForBootstrapModeIsToldHowToRun) {
    const std::string program = std::string(HEXMOOR_EXAMPLES_DIR) + "/boot_hello.s19";
    const TRun run = RunRunner("--max-instructions 100 " + program);
    EXPECT_THAT(run.Err, ::testing::StartsWith("hexmoor-run: " + program +
                           " looks like a program for bootstrap mode: all its bytes lie in the on-chip RAM "
                           "($0000-$03FF), which a load in expanded mode leaves empty, and it has no reset vector. "
                           "Click a mode LED (MODA or MODB) for special bootstrap mode, or run it with hexmoor-run "
                           "--mode bootstrap.\nhexmoor-run: stopped after 100 instructions"));
    const TRun wrong = RunRunner("--mode single " + program);
    EXPECT_EQ(wrong.Status, 2);
    EXPECT_THAT(wrong.Err, ::testing::HasSubstr("--mode needs bootstrap or expanded"));
}

}  // namespace
}  // namespace hexmoor::testing
