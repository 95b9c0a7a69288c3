// The Debug menu in the main window: its windows, its runs, the title that says why a run
// stopped, the register edit on a read-out, and views that change nothing a program sees.
#include <gmock/gmock.h>

#include <QDialog>
#include <QMenu>
#include <QMenuBar>

#include <filesystem>
#include <fstream>

#include "core/Hex.h"
#include "debug/Debugger.h"
#include "panel/CodeView.h"
#include "panel/CodeWindow.h"
#include "panel/DebugWindows.h"
#include "panel/FormFixture.h"
#include "support/MachineDifference.h"

namespace hexmoor::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

class DebugMenuTest : public FormTest {
public:
    TDebugWindows& Debug() { return form->Debug(); }
    uint16_t At(const char* name, int offset = 0) { return uint16_t(*Debug().Debugger().Symbols.Find(name) + offset); }
    std::string Title() const { return form->windowTitle().toStdString(); }
    // Starts a Debug menu run and waits for its end.
    void RunFromMenu(const char* item) {
        Trigger(item);
        ASSERT_TRUE(Until([this] { return !M().Panel.RunningLed.Lit && !M().Panel.StepLed.Lit; }));
    }
};

TEST_F(DebugMenuTest, EachItemOpensOrRaisesItsWindow) {
    QMenu* menu = form->menuBar()->findChild<QMenu*>("DebugTopMenu");
    ASSERT_NE(menu, nullptr);
    std::vector<std::string> captions;
    for (QAction* action : menu->actions())
        if (!action->isSeparator()) captions.push_back(action->text().toStdString());
    EXPECT_THAT(captions, ElementsAre("&Memory", "&Code", "&Breakpoints", "&History", "&Source", "C&all Stack", "&Watch",
                                      "&Run", "Step &Into", "Step &Over", "Step O&ut", "Run &to Cursor",
                                      "Ste&p Back", "Step Back O&ver", "Ru&n Back", "Recor&d",
                                      "Toggle Brea&kpoint", "R&emember Sessions"));
    const std::pair<const char*, const char*> views[] = {{"MemoryMenu", "Memory"},
                                                         {"CodeMenu", "Code"},
                                                         {"BreakpointsMenu", "Breakpoints"},
                                                         {"HistoryMenu", "History"},
                                                         {"SourceMenu", "Source"},
                                                         {"CallStackMenu", "Call Stack"},
                                                         {"WatchMenu", "Watch"}};
    for (auto [item, title] : views) {
        Trigger(item);
        Trigger(item);  // raises the open one
        const QList<QWidget*> windows = form->findChildren<QWidget*>();
        const auto titled = std::count_if(windows.begin(), windows.end(), [title](QWidget* w) {
            return w->isWindow() && w->windowTitle() == title && w->isVisible();
        });
        EXPECT_EQ(titled, 1) << title;
    }
    EXPECT_FALSE(form->MenuAction("StepOverMenu")->isEnabled()) << "nothing loaded to run";
}

// Run to, Step Over a JSR and Step Out of the routine it called, each a run that stops by
// itself; the title says why, until a plain step moves on.
TEST_F(DebugMenuTest, RunsThatEndByThemselves) {
    Load("debug_target", ".elf");
    ASSERT_TRUE(form->MenuAction("StepOverMenu")->isEnabled());
    Debug().RunTo(At("loop", 3));  // the JSR after INC
    ASSERT_TRUE(Until([this] { return !M().Panel.RunningLed.Lit; }));
    EXPECT_EQ(M().RegisterPC, At("loop", 3));
    EXPECT_THAT(Title(), HasSubstr("Hexmoor a 68HC11F1 Virtual Machine - "));
    const uint16_t sp = M().RegisterSP;
    RunFromMenu("StepOverMenu");
    EXPECT_EQ(M().RegisterPC, At("loop", 6)) << "past the call";
    EXPECT_EQ(M().RegisterSP, sp);
    Debug().RunTo(At("double"));
    ASSERT_TRUE(Until([this] { return !M().Panel.RunningLed.Lit; }));
    RunFromMenu("StepOutMenu");
    EXPECT_GT(M().RegisterPC, At("twice"));
    EXPECT_LT(M().RegisterPC, At("double"));
    Click(StepLed());
    EXPECT_EQ(Title(), THexmoorForm::kTitle);
}

// The debugger's keys, pressed in the main window or in the Code window: F11 steps, F9 sets
// or clears a breakpoint on the Code window's selected line, F8 runs (and, while a run goes
// on, does nothing).
TEST_F(DebugMenuTest, KeysStepToggleBreakpointsAndRun) {
    Load("debug_target", ".elf");
    Click(StepLed());  // the reset: PC at _start
    auto& code = static_cast<TCodeWindow&>(Debug().Show(TDebugView::Code));
    TCodeView* view = code.findChild<TCodeView*>();
    view->GoTo(At("twice"));
    const auto mark = [view](uint16_t address) {
        for (const TCodeView::TRow& row : view->Rows())
            if (row.Line.Label.empty() && row.Line.Address == address) return row.Breakpoint;
        return TCodeView::TBreakMark::None;
    };
    struct TCase {
        Qt::Key Key;
        QWidget* To;
        uint16_t Pc;
        TCodeView::TBreakMark Mark;  // at twice
        const char* Title;           // what the title adds
    };
    const TCase cases[] = {
        {Qt::Key_F11, form.get(), 0x2003, TCodeView::TBreakMark::None, ""},
        {Qt::Key_F9, view, 0x2003, TCodeView::TBreakMark::Enabled, ""},
        {Qt::Key_F8, form.get(), At("twice"), TCodeView::TBreakMark::Enabled, " - breakpoint at $201C (twice)"},
        {Qt::Key_F9, form.get(), At("twice"), TCodeView::TBreakMark::None, " - breakpoint at $201C (twice)"},
        {Qt::Key_F11, view, At("twice", 3), TCodeView::TBreakMark::None, ""},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(QKeySequence(c.Key).toString().toStdString());
        QTest::keyClick(c.To, c.Key);
        ASSERT_TRUE(Until([this] { return Debug().Stopped(); }));
        EXPECT_EQ(M().Panel.RegisterPCDisplay.Text, Hex4(c.Pc));
        EXPECT_EQ(mark(At("twice")), c.Mark);
        EXPECT_EQ(Title(), std::string(THexmoorForm::kTitle) + c.Title);
    }
    bool stillRunning = false;
    When([this] { return M().Panel.RunningLed.Lit; }, [&] {
        QTest::keyClick(form.get(), Qt::Key_F8);
        stillRunning = M().Panel.RunningLed.Lit;
        Click(RunLed());
    });
    QTest::keyClick(form.get(), Qt::Key_F8);
    ASSERT_TRUE(Until([this] { return Debug().Stopped(); }));
    EXPECT_TRUE(stillRunning);
}

// Stepping back shows the machine as it was after each step before, on the panel and in the
// title ("(replaying)"); steps forward replay to where the recording ends and go on live;
// Run Back goes to the last breakpoint hit; a line of the History goes back to just after it.
TEST_F(DebugMenuTest, GoesBackThroughWhatWasRecorded) {
    Load("debug_target", ".elf");
    Click(StepLed());  // the reset
    const auto shown = [this] {
        const TPanelState& p = M().Panel;
        return p.RegisterPCDisplay.Text + p.RegisterADisplay.Text + p.RegisterXDisplay.Text + p.RegisterSPDisplay.Text +
               p.CyclesValueLabel;
    };
    std::vector<std::string> after;  // after each step
    for (int step = 0; step < 8; ++step) {
        after.push_back(shown());
        QTest::keyClick(form.get(), Qt::Key_F11);
        ASSERT_TRUE(Until([this] { return Debug().Stopped(); }));
    }
    const std::string newest = shown();
    for (int back = 1; back <= 3; ++back) {
        QTest::keyClick(form.get(), Qt::Key_F11, Qt::ControlModifier | Qt::ShiftModifier);
        EXPECT_EQ(shown(), after[after.size() - std::size_t(back)]) << back << " back";
        EXPECT_THAT(Title(), HasSubstr("(replaying)"));
    }
    for (int forward = 0; forward < 3; ++forward) {
        QTest::keyClick(form.get(), Qt::Key_F11);
        ASSERT_TRUE(Until([this] { return Debug().Stopped(); }));
    }
    EXPECT_EQ(shown(), newest);
    EXPECT_EQ(Title(), THexmoorForm::kTitle);

    ASSERT_EQ(Debug().Session().AddBreakpoint("twice"), "");
    Click(RunLed());
    ASSERT_TRUE(Until([this] { return !M().Panel.RunningLed.Lit; }));
    const std::string atBreakpoint = shown();
    for (int step = 0; step < 4; ++step) Click(StepLed());
    Trigger("RunBackMenu");
    EXPECT_EQ(shown(), atBreakpoint);
    EXPECT_THAT(Title(), HasSubstr("(replaying)"));

    const uint64_t count = M().InstructionCount;
    EXPECT_EQ(Debug().GoBackTo(count - 2), "");
    EXPECT_EQ(M().InstructionCount, count - 2);
}

// Loading the program again keeps its breakpoints, which stop the new run as before.
TEST_F(DebugMenuTest, BreakpointsStayThroughAReload) {
    Load("debug_target", ".elf");
    ASSERT_EQ(Debug().Session().AddBreakpoint("twice"), "");
    Load("debug_target", ".elf");
    Click(RunLed());
    ASSERT_TRUE(Until([this] { return !M().Panel.RunningLed.Lit; }));
    EXPECT_EQ(M().RegisterPC, At("twice"));
    EXPECT_THAT(Title(), HasSubstr("breakpoint at $" + Hex4(At("twice")) + " (twice)"));
}

// Another program loaded: the title no longer says why the one before it stopped, and the
// next instruction's line shows at once what the load put under PC (the reset at the next
// step then takes PC to the new program's start). A source that does not assemble loads
// nothing and changes neither.
TEST_F(DebugMenuTest, LoadingAnotherProgramRedrawsTheTitleAndTheInstruction) {
    const std::string bad = (std::filesystem::temp_directory_path() / "hexmoor-bad.asm").string();
    std::ofstream(bad) << "        ORG $2000\n        LDAA #$100\n";
    struct TCase {
        std::string Program;
        bool Loads;
    };
    const TCase cases[] = {{ProgramPath("count_up"), true}, {bad, false}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Program);
        Load("debug_target", ".elf");
        ASSERT_EQ(Debug().Session().AddBreakpoint("loop"), "");
        Click(RunLed());
        ASSERT_TRUE(Until([this] { return !M().Panel.RunningLed.Lit; }));
        const std::string stopped = Title();
        ASSERT_THAT(stopped, HasSubstr("breakpoint at $2006 (loop)"));
        ASSERT_EQ(C().InstructionLabel->text().toStdString(), "INC $0040");
        Debug().Debugger().RemoveAll();

        form->AnswerNextFileQuestion(c.Program);
        Click(C().RunLeds[0]);
        EXPECT_EQ(Title(), c.Loads ? THexmoorForm::kTitle : stopped);
        EXPECT_EQ(C().InstructionLabel->text().toStdString(), c.Loads ? "INX" : "INC $0040");  // count_up's at $2006
    }
    std::filesystem::remove(bad);
}

// A symbol file older than its program is read with one warning when the program loads, not
// again at each later click.
TEST_F(DebugMenuTest, AnOldSymbolFileWarnsOnceALoad) {
    namespace fs = std::filesystem;
    const fs::path folder = fs::temp_directory_path() / "hexmoor-old-symbols";
    fs::create_directories(folder);
    const fs::path program = folder / "prog.s19";
    fs::copy_file(ProgramPath("debug_target"), program, fs::copy_options::overwrite_existing);
    std::ofstream(folder / "prog.sym") << "2006 loop\n";
    fs::last_write_time(folder / "prog.sym", fs::last_write_time(program) - std::chrono::hours(1));
    form->AnswerNextFileQuestion(program.string());
    Click(C().RunLeds[0]);
    for (int step = 0; step < 3; ++step) Click(StepLed());
    const auto warnings = std::count_if(Messages.begin(), Messages.end(),
                                        [](const std::string& m) { return m.find(" is older than ") != m.npos; });
    EXPECT_EQ(warnings, 1);
    EXPECT_EQ(At("loop"), 0x2006);
}

// A double-click on a register's read-out while stopped asks for its value; a value too wide
// is refused in the dialog, which stays; the read-out and the trace line follow the edit.
TEST_F(DebugMenuTest, DoubleClickEditsARegister) {
    Load("debug_target", ".elf");
    Click(StepLed());  // the reset
    QWidget* readoutA = C().Readouts[3];
    std::string refused;
    auto type = [&](const char* first, const char* second) {
        When([] { return QApplication::activeModalWidget() != nullptr; }, [&refused, first, second] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            auto* edit = dialog->findChild<QLineEdit*>();
            edit->setText(first);
            QTest::keyClick(edit, Qt::Key_Return);
            refused = dialog->findChild<QLabel*>("RegisterEditProblem")->text().toStdString();
            edit->setText(second);
            QTest::keyClick(edit, Qt::Key_Return);
        });
        QTest::mouseDClick(readoutA, Qt::LeftButton);
    };
    type("1FF", "7f");
    EXPECT_EQ(refused, "A holds at most $FF");
    EXPECT_EQ(M().RegisterA, 0x7F);
    EXPECT_EQ(M().Panel.RegisterADisplay.Text, "7F");
}

// Every window open and refreshed at every step gives the same machine as none open, with an
// A/D conversion running and timer flags pending.
TEST_F(DebugMenuTest, OpenViewsChangeNothingTheProgramSees) {
    for (const char* program : {"ad_poll", "oc2_counter"}) {
        SCOPED_TRACE(program);
        THexmoorForm plain, viewed;
        for (THexmoorForm* f : {&plain, &viewed}) {
            f->SetMessageAnswerer([](auto...) { return TMessageResult::Ok; });
            f->show();
            ASSERT_TRUE(Until([f] { return f->Machine().Panel.Activated; }));
            f->AnswerNextFileQuestion(ProgramPath(program));
            f->Machine().LoadClick();
        }
        for (TDebugView view : {TDebugView::Memory, TDebugView::Code, TDebugView::Breakpoints, TDebugView::History,
                                TDebugView::Watch})
            viewed.Debug().Show(view);
        // The A/D results, the timer's counter and flags, the terminal's status and data.
        viewed.Debug().Session().AddWatch("[$1031] + [[$100E]] + [$1023] + [$1025] + [$1036] + [$1037]");
        for (int step = 0; step < 300; ++step)
            for (THexmoorForm* f : {&plain, &viewed}) {
                f->Machine().StepLedClick();
                f->FlushRepaint();  // the windows show each step
            }
        EXPECT_EQ(Difference(viewed.Machine(), plain.Machine()), "");
    }
}

}  // namespace
}  // namespace hexmoor::testing
