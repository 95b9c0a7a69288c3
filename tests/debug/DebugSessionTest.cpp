// The debug session both front ends use, on programs loaded from source: how address texts
// read, what a load does to breakpoints, and the stops it refuses or explains.
#include <gmock/gmock.h>

#include <filesystem>
#include <fstream>

#include "debug/DebugSession.h"
#include "debug/SourceLines.h"
#include "support/TempFolder.h"
#include "support/TestMachine.h"

namespace hexmoor::testing {
namespace {

using ::testing::HasSubstr;

// Lines:            1              2                      3              4
constexpr const char* kProgram =
    "        ORG $2000\n" "start   LDS #$00FF\n" "loop    INX\n" "* the loop's end\n"
    "        BRA loop\n" "fade    NOP\n" "add     RTS\n" "        ORG $FFFE\n" "        FDB start\n";
//  5                    6                7

struct TSession {
    TSession() : path(TempPath("session.asm")) { Load(kProgram); }
    // Writes the source and loads it as File > Load does; `name` another file.
    void Load(const std::string& text, const std::string& name = "session.asm") {
        const std::string file = TempPath(name);
        std::ofstream(file) << text;
        t.Panel.FileName = file;
        session.ProgramChosen(file);
        t.Machine->LoadClick();
        session.TakeLoadedProgram();
        t.Machine->RunPass();  // the reset after the load
    }
    std::optional<uint16_t> Read(const std::string& text, std::string& error, std::string* note = nullptr) {
        return session.ReadAddress(text, error, note);
    }

    std::string path;
    TTestMachine t;
    TDebugSession session{*t.Machine, nullptr};
};

TEST(DebugSession, AddressTextsHaveOneMeaning) {
    TSession s;
    s.t.Machine->RegisterA = 0x42;
    const std::string relative = "./" + std::filesystem::relative(s.path).string();
    struct TCase {
        std::string Text;
        std::optional<uint16_t> Address;
        const char* Says;  // the error, or the note on the first reading
    };
    const TCase cases[] = {
        {"2000", 0x2000, ""},       {"$2000", 0x2000, ""},         {"0x2000", 0x2000, ""},
        {"00002002", 0x2002, ""},   {"0x00002002", 0x2002, ""},    {" 2000", 0x2000, ""},
        {"#8192", 0x2000, ""},      {"loop+#10", 0x200D, ""},     {"A", 0x42, ""},
        {"face", 0xFACE, ""},       {"fade", 0x2006, "fade is the symbol"},
        {"fade", 0x2006, ""},  // said once
        {"add", 0x2007, "add is the symbol"},
        {"10000", std::nullopt, "10000 is $00010000, not an address"},
        {"session.asm:3", 0x2003, ""}, {"session.asm:4", 0x2004, ""},  // a comment: the code after it
        {s.path + ":5", 0x2004, ""},   {relative + ":2", 0x2000, ""},
        {"session.asm:0", std::nullopt, "the line number must be 1 or more"},
        {"session.asm:", std::nullopt, "a line number must follow the colon"},
        {"session.asm:99", std::nullopt, "no code at or after line 99"},
        {"other.asm:1", std::nullopt, "no source file other.asm"},
        {"nowhere", std::nullopt, "unknown name nowhere"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Text);
        std::string error, note;
        EXPECT_EQ(s.Read(c.Text, error, &note), c.Address);
        EXPECT_THAT(c.Address ? note : error, HasSubstr(c.Says));
        if (!*c.Says) {
            EXPECT_EQ(note + error, "");
        }
    }
}

TEST(DebugSession, StopsNamePointsByTheirNumberWhateverIsRemoved) {
    TSession s;
    TDebugger& debugger = s.session.Debugger();
    ASSERT_EQ(s.session.AddBreakpoint("start"), "");
    ASSERT_EQ(s.session.AddBreakpoint("fade"), "");
    ASSERT_EQ(s.session.AddBreakpoint("loop"), "");
    const TPointId loop = debugger.Breakpoints().back().Id;
    debugger.RemoveBreakpoint(debugger.Breakpoints().front().Id);
    s.t.Machine->RunClick();
    ASSERT_NE(s.session.CurrentStop(), nullptr);
    EXPECT_EQ(s.session.CurrentStop()->Id, loop);
    EXPECT_EQ(s.t.Machine->RegisterPC, 0x2003);
}

TEST(DebugSession, ALoadKeepsThePointsOfTheSameProgramOnly) {
    TSession s;
    TDebugger& debugger = s.session.Debugger();
    ASSERT_EQ(s.session.AddBreakpoint("session.asm:3"), "");
    ASSERT_EQ(s.session.AddBreakpoint("session.asm:6"), "");
    ASSERT_EQ(s.session.AddWatchpoint("$0040", TWatchAccess::Write), "");
    // The same source again, with a line more above the loop and none where fade was.
    s.Load("        ORG $2000\n" "start   LDS #$00FF\n" "        NOP\n" "loop    INX\n" "        BRA loop\n"
           "* fade is gone\n" "add     RTS\n" "        ORG $FFFE\n" "        FDB start\n");
    ASSERT_EQ(debugger.Breakpoints().size(), 2u);
    EXPECT_EQ(debugger.Breakpoints()[0].Address, 0x2003) << "line 3 holds the NOP now";
    EXPECT_TRUE(debugger.Breakpoints()[0].Placed);
    EXPECT_FALSE(debugger.Breakpoints()[1].Placed) << "line 6 has no code now";
    EXPECT_EQ(debugger.Watchpoints().size(), 1u);
    s.Load(kProgram, "another.asm");
    EXPECT_TRUE(debugger.Breakpoints().empty());
    EXPECT_TRUE(debugger.Watchpoints().empty());
}

// Expressions read the names of the program loaded now: a name gone reads as hex digits.
TEST(DebugSession, WatchesReadTheNamesOfEachProgramLoaded) {
    TSession s;
    for (const char* text : {"fade", "later"}) s.session.AddWatch(text);
    ASSERT_EQ(s.session.AddWatchpoint("PC == loop", TWatchAccess::Change), "");
    auto values = [&s] {
        s.session.UpdateWatches();
        std::vector<std::string> shown;
        for (const TWatch& watch : s.session.Watches().Watches()) shown.push_back(HexText(watch.Now));
        return shown;
    };
    EXPECT_THAT(values(), ::testing::ElementsAre("$2006", "unknown name later (at column 1)"));
    s.Load("        ORG $2000\n" "start   LDS #$00FF\n" "        NOP\n" "loop    INX\n" "        BRA loop\n"
           "later   RTS\n" "        ORG $FFFE\n" "        FDB start\n");
    EXPECT_THAT(values(), ::testing::ElementsAre("$FADE", "$2007"));
    s.t.Machine->RunClick();
    ASSERT_NE(s.session.CurrentStop(), nullptr);
    EXPECT_EQ(s.session.CurrentStop()->Text, "PC == loop changed: false -> true at $2004 (loop) session.asm:4");
    s.Load(kProgram, "another.asm");
    EXPECT_TRUE(s.session.Debugger().Watchpoints().empty());
    EXPECT_THAT(s.session.Watches().Texts(), ::testing::ElementsAre("fade", "later"));
}

TEST(DebugSession, StopsItCannotMakeOrJudgeAreSaid) {
    TSession s;
    EXPECT_THAT(s.session.ArmStepOut(), HasSubstr("no caller to return to"));
    EXPECT_FALSE(s.t.Machine->Panel.RunningLed.Lit);
    // Inside a routine there is a caller; back from it, none again.
    s.Load("        ORG $2000\n" "start   LDS #$00FF\n" "        JSR sub\n" "loop    BRA loop\n"
           "sub     RTS\n" "        ORG $FFFE\n" "        FDB start\n", "calls.asm");
    const std::pair<int, bool> steps[] = {{2, true}, {1, false}};  // to the RTS, then past it
    for (const auto& [count, inside] : steps) {
        for (int i = 0; i < count; ++i) s.t.Machine->StepLedClick();
        EXPECT_EQ(s.session.ArmStepOut().empty(), inside) << "at $" << std::hex << s.t.Machine->RegisterPC;
    }
    s.Load(kProgram);
    ASSERT_EQ(s.session.AddBreakpoint("loop", "100 / (X - X) == 1"), "");
    s.t.Machine->RunClick();
    ASSERT_NE(s.session.CurrentStop(), nullptr);
    EXPECT_THAT(s.session.CurrentStop()->Text, HasSubstr("cannot be evaluated: division by zero"));
}

// A program the GNU assembler built with --gdwarf2: its lines serve as an assembled one's do.
TEST(DebugSession, AGnuProgramsLineTableGivesItsSourceLines) {
    TTestMachine t;
    TDebugSession session{*t.Machine, nullptr};
    const std::string path = std::string(HEXMOOR_TEST_PROGRAMS_DIR) + "/dwarf2/lines.elf";
    t.Panel.FileName = path;
    session.ProgramChosen(path);
    t.Machine->LoadClick();
    EXPECT_TRUE(session.TakeLoadedProgram().Messages.empty());
    t.Machine->RunPass();  // the reset after the load
    const TDebugger& debugger = session.Debugger();
    std::string error;
    EXPECT_EQ(session.ReadAddress("lines.s:7", error), debugger.Symbols.Find("_start")) << error;
    ASSERT_EQ(session.AddBreakpoint("lines.s:18"), "");
    t.Machine->RunClick();
    EXPECT_EQ(t.Machine->RegisterPC, debugger.Symbols.Find("helper"));
    const TLineEntry* line = LineAt(session.Program()->Lines, t.Machine->RegisterPC);
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->Line, 18);
}

}  // namespace
}  // namespace hexmoor::testing
