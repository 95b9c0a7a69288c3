// What the debugger shows of expressions and where it stops when one changes: the watch
// list's values and marks at stops, and change watchpoints on registers, memory and the
// register block, in untraced and traced runs.
#include <gmock/gmock.h>

#include "debug/DebugSession.h"
#include "debug/RegisterEdit.h"
#include "debug/SymbolFiles.h"
#include "support/TestMachine.h"

namespace hexmoor::testing {
namespace {

using ::testing::ElementsAre;

// A test program loaded and reset, with its ELF file's names, and a debug session on it.
struct TSessionOn {
    explicit TSessionOn(const char* program, bool traced = false) {
        t.LoadThroughPanel(program);
        t.Machine->RunPass();  // the reset after the load
        std::string path = TestProgramPath(program);
        session.Debugger().Symbols = LoadSymbolsFor(path.replace(path.size() - 3, 3, "elf")).Table;
        if (traced != t.Machine->Panel.TraceMenu.Checked) t.Machine->TraceMenuClick();
        session.Debugger().OnStop = [this](const TDebugStop& stop) {
            if (stop.Kind == TDebugStop::Change) changes.push_back(stop.Text);
        };
    }
    uint16_t At(const char* name) { return *session.Debugger().Symbols.Find(name); }
    // Runs until something stops it (the fake panel's deadline catches a run that does not).
    void Run() {
        t.Machine->RunClick();
        session.TakeStop();
    }

    TTestMachine t;
    TDebugSession session{*t.Machine, nullptr};
    std::vector<std::string> changes;  // the change watchpoints' stops
};

TEST(WatchList, ShowsValuesByTheirKindOrWhyTheyCannotBeRead) {
    struct TCase {
        const char* Text;
        const char* Value;
        const char* Decimal;
    };
    const TCase cases[] = {
        {"A", "$01", "1"},
        {"[count]", "$01", "1"},
        {"[[count]]", "$0100", "256"},
        {"X+3", "$0003", "3"},
        {"SP", "$01FB", "507"},
        {"count", "$0040", "64"},
        {"[_start]", "$8E", "142 (-114)"},
        {"[[$FFFE]] - _start", "$0000", "0"},
        {"-1", "$FFFFFFFF", "-1"},
        {"SP < $0100", "false", "0"},
        {"CCR.I", "true", "1"},
        {"nosuch", "unknown name nosuch (at column 1)", ""},
        {"100 / ([count] - 1)", "division by zero (at column 5)", ""},
        {"[count", "expected ']' (at column 7)", ""},
    };
    TSessionOn s("debug_target");
    ASSERT_EQ(s.session.AddBreakpoint("double"), "");
    s.Run();  // in the first call of double: count and A are 1
    for (const TCase& c : cases) s.session.AddWatch(c.Text);
    s.session.UpdateWatches();
    const std::vector<TWatch>& watches = s.session.Watches().Watches();
    ASSERT_EQ(watches.size(), std::size(cases));
    for (std::size_t i = 0; i < watches.size(); ++i) {
        SCOPED_TRACE(cases[i].Text);
        EXPECT_EQ(HexText(watches[i].Now), cases[i].Value);
        EXPECT_EQ(DecimalText(watches[i].Now), cases[i].Decimal);
    }
    EXPECT_EQ(s.session.Watches().Texts()[0], "A");
}

// Marked: what differs from the stop before; going on without a new stop keeps the marks.
TEST(WatchList, MarksWhatChangedSinceTheStopBefore) {
    TSessionOn s("debug_target");
    for (const char* text : {"[count]", "count", "X", "nosuch"}) s.session.AddWatch(text);
    auto changed = [&s] {
        s.session.UpdateWatches();
        std::vector<bool> marks;
        for (const TWatch& watch : s.session.Watches().Watches()) marks.push_back(watch.Changed);
        return marks;
    };
    ASSERT_EQ(s.session.AddBreakpoint("loop"), "");
    s.Run();
    EXPECT_THAT(changed(), ElementsAre(false, false, false, false));
    s.Run();  // once round the loop: count 1, X past the text print_inline skipped
    EXPECT_THAT(changed(), ElementsAre(true, false, true, false));
    s.session.TakeStop();  // the window refreshes again at the same stop
    EXPECT_THAT(changed(), ElementsAre(true, false, true, false));
    s.session.Debugger().RemoveAll();
    ASSERT_EQ(s.session.AddBreakpoint("swi_handler"), "");
    s.Run();  // count 2, X where it was
    EXPECT_THAT(changed(), ElementsAre(true, false, false, false));
}

// Each run goes on from the stop before until the breakpoint at halt; the change stops are
// the same whether the run is traced or not.
TEST(ChangeWatchpoints, StopAfterTheInstructionThatChangedTheValue) {
    struct TCase {
        const char* Program;
        const char* Expression;
        std::vector<std::string> Stops;
    };
    const TCase cases[] = {
        // Reset leaves SP at 0.
        {"stack_dive", "SP < $0100",
         {"SP < $0100 changed: true -> false at $2003", "SP < $0100 changed: false -> true at $200B (below)",
          "SP < $0100 changed: true -> false at $200C (above)"}},
        {"stack_dive", "X", {"X changed: $0000 -> $1234 at $2015"}},
        {"stack_dive", "A",
         {"A changed: $00 -> $FF at $200C (above)", "A changed: $FF -> $01 at $200F",
          "A changed: $01 -> $00 at $2016 (halt)"}},
        // A word whose two bytes change in one store: no stop between them.
        {"stack_dive", "[[word]]",
         {"[[word]] changed: $0000 -> $00FF at $2009", "[[word]] changed: $00FF -> $0100 at $2012 (stored)"}},
        // The byte on top of the stack: read at SP+1 wherever SP has moved.
        {"stack_dive", "[SP+1]", {"[SP+1] changed: $00 -> $FF at $200A"}},
        {"stack_dive", "PC == halt", {"PC == halt changed: false -> true at $2016 (halt)"}},
        // Flags, each its own bit of CCR: a run in spans must end when that one moves.
        {"stack_dive", "CCR.Z",
         {"CCR.Z changed: true -> false at $2003", "CCR.Z changed: false -> true at $2016 (halt)"}},
        // CMPA #5 borrows while count < 5; double's ASLA of a small count clears it. The
        // first eight stops (the runs' limit).
        {"debug_target", "CCR.C",
         {"CCR.C changed: false -> true at $2018", "CCR.C changed: true -> false at $2023",
          "CCR.C changed: false -> true at $2018", "CCR.C changed: true -> false at $2023",
          "CCR.C changed: false -> true at $2018", "CCR.C changed: true -> false at $2023",
          "CCR.C changed: false -> true at $2018", "CCR.C changed: true -> false at $2023"}},
        {"debug_target", "[count] >= 4", {"[count] >= 4 changed: false -> true at $2009"}},
        // A byte of the register block, written by the interrupt handler.
        {"debug_target", "[$1004] == 2",
         {"[$1004] == 2 changed: false -> true at $2033", "[$1004] == 2 changed: true -> false at $2033"}},
        {"debug_target", "#100 / (3 - [count])",
         {"#100 / (3 - [count]) changed: $0021 -> $0032 at $2009",
          "#100 / (3 - [count]) changed: $0032 -> $0064 at $2009",
          "#100 / (3 - [count]) changed: $0064 -> division by zero (at column 6) at $2009",
          "#100 / (3 - [count]) changed: division by zero (at column 6) -> $FFFFFF9C at $2009",
          "#100 / (3 - [count]) changed: $FFFFFF9C -> $FFFFFFCE at $2009"}},
    };
    for (const bool traced : {false, true})
        for (const TCase& c : cases) {
            SCOPED_TRACE(std::string(c.Program) + ": " + c.Expression + (traced ? ", traced" : ""));
            TSessionOn s(c.Program, traced);
            ASSERT_EQ(s.session.AddWatchpoint(c.Expression, TWatchAccess::Change), "");
            ASSERT_EQ(s.session.AddBreakpoint("halt"), "");
            for (int run = 0; run < 8 && s.t.Machine->RegisterPC != s.At("halt"); ++run) s.Run();
            EXPECT_EQ(s.changes, c.Stops);
            EXPECT_EQ(s.session.Debugger().Watchpoints().front().Hits, c.Stops.size());
        }
}

// Armed beside a Step Over or a Step Out, which look after every instruction, and after a
// stop of theirs.
TEST(ChangeWatchpoints, LeaveStepOverAndStepOutTheirEnds) {
    for (const bool traced : {false, true}) {
        SCOPED_TRACE(traced ? "traced" : "untraced");
        TSessionOn s("debug_target", traced);
        TMachine& m = *s.t.Machine;
        ASSERT_EQ(s.session.AddWatchpoint("Y", TWatchAccess::Change), "");
        s.session.ArmRunTo(s.At("loop") + 3);  // JSR twice
        s.Run();
        ASSERT_TRUE(s.session.ArmStepOver());
        s.Run();
        EXPECT_EQ(m.RegisterPC, s.At("loop") + 6);
        ASSERT_EQ(s.session.AddBreakpoint("double"), "");
        s.Run();
        ASSERT_EQ(s.session.ArmStepOut(), "");
        s.Run();
        EXPECT_EQ(m.RegisterPC, s.At("twice") + 5);
        EXPECT_TRUE(s.changes.empty());
    }
}

TEST(ChangeWatchpoints, StopOnlyWhileArmedAndNotForTheUsersOwnChanges) {
    TSessionOn s("stack_dive");
    TMachine& m = *s.t.Machine;
    ASSERT_EQ(s.session.AddWatchpoint("SP < $0100", TWatchAccess::Change), "");
    ASSERT_EQ(s.session.AddWatchpoint("[[word]]", TWatchAccess::Change), "");
    ASSERT_EQ(s.session.AddBreakpoint("below"), "");
    const TPointId sp = s.session.Debugger().Watchpoints()[0].Id, word = s.session.Debugger().Watchpoints()[1].Id;
    s.session.Debugger().EnableWatchpoint(sp, false);
    s.session.Debugger().EnableWatchpoint(word, false);
    EXPECT_FALSE(m.FollowPasses);
    s.Run();
    EXPECT_EQ(m.RegisterPC, s.At("below"));
    EXPECT_TRUE(s.changes.empty());

    // SP set by hand below $0100, and back: no change of the program's.
    s.session.Debugger().EnableWatchpoint(sp, true);
    s.session.Debugger().EnableWatchpoint(word, true);
    const std::optional<TEditableRegister> spRegister = RegisterNamed("SP");
    ASSERT_EQ(SetRegister(m, *spRegister, 0x0100), "");
    s.Run();  // PULA takes SP to $0101
    EXPECT_THAT(s.changes, ElementsAre("[[word]] changed: $00FF -> $0100 at $2012 (stored)"));

    s.session.Debugger().RemoveWatchpoint(sp);
    s.session.Debugger().RemoveWatchpoint(word);
    EXPECT_FALSE(m.FollowPasses);
    EXPECT_EQ(m.PageFlags[0] & kWatchedPage, 0);
    EXPECT_EQ(s.session.AddWatchpoint("X", TWatchAccess::Change, 3),
              "a change watchpoint stops at any change of its value, so it takes no value");
    EXPECT_EQ(s.session.AddWatchpoint("X ==", TWatchAccess::Change), "expected an operand (at column 5)");
    EXPECT_TRUE(s.session.Debugger().Watchpoints().empty());
}

}  // namespace
}  // namespace hexmoor::testing
