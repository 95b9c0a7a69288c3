// Programs loaded from assembly source in the window: the dialog of errors, the Source
// window following steps and stops, breakpoints set on lines, and File > Reload keeping
// them on their line numbers when the source changed.
#include <gmock/gmock.h>

#include <QApplication>
#include <QTextBlock>

#include <fstream>

#include "debug/Debugger.h"
#include "panel/DebugWindows.h"
#include "panel/FormFixture.h"
#include "panel/SourceView.h"
#include "panel/SourceWindow.h"
#include "support/TempFolder.h"

namespace hexmoor::testing {
namespace {

// Writes HI on the terminal and stops; `loop` is line 8.
constexpr const char* kSource =
    "* writes HI\n"
    "TERMINAL EQU $1037\n"
    "        ORG  $2000\n"
    "start   LDS  #$01FF\n"
    "        LDAA #'H\n"
    "        STAA TERMINAL\n"
    "        LDAA #'I\n"
    "loop    STAA TERMINAL\n"
    "halt    STOP\n"
    "        ORG  $FFFE\n"
    "        FDB  start\n";

const std::vector<TBreakpointLine> kOnLine8{{8, true}};

class SourceWindowTest : public FormTest {
public:
    std::string Write(const std::string& name, const std::string& text) {
        const std::string path = TempPath(name);
        std::ofstream(path) << text;
        return path;
    }
    void LoadSource(const std::string& path) {
        form->AnswerNextFileQuestion(path);
        Click(C().RunLeds[0]);
    }
    TSourceWindow& Source() { return static_cast<TSourceWindow&>(form->Debug().Show(TDebugView::Source)); }
    void RunUntilStopped(QWidget* led) {
        Click(led);
        ASSERT_TRUE(Until([this] { return form->Debug().Stopped(); }));
    }
    // The colour at the middle of the margin's breakpoint dot on `line`, as painted: "#rrggbb".
    std::string DotColour(int line) {
        auto* view = Source().findChild<TSourceView*>();
        const int middle = view->cursorRect(QTextCursor(view->document()->findBlockByNumber(line - 1))).center().y();
        const QPoint dot = view->contentsRect().topLeft() + QPoint(7, middle);
        return view->grab().toImage().pixelColor(dot).name().toStdString();
    }
};

TEST_F(SourceWindowTest, ErrorsShowOneDialogAndLoadNothing) {
    const std::string path = Write("bad.asm", "        ORG $2000\n        LDAA #$100\n        BRA nowhere\n");
    LoadSource(path);
    ASSERT_EQ(Messages.size(), 1u);
    EXPECT_THAT(Messages[0], ::testing::HasSubstr("Cannot load " + path + ": it does not assemble."));
    EXPECT_THAT(Messages[0], ::testing::HasSubstr(path + ":2:"));
    EXPECT_THAT(Messages[0], ::testing::HasSubstr(path + ":3:"));
    EXPECT_EQ(M().MemoryImage[0x2000], 0);
    EXPECT_TRUE(form->Debug().Session().Program()->Lines.Empty());
}

TEST_F(SourceWindowTest, FollowsStepsStopsAtALineAndKeepsItThroughAReload) {
    const std::string path = Write("hi.asm", kSource);
    LoadSource(path);
    ASSERT_TRUE(Messages.empty()) << Messages[0];
    TSourceWindow& source = Source();
    RunUntilStopped(StepLed());  // the reset: PC on start
    EXPECT_EQ(source.PcLine(), 4);
    RunUntilStopped(StepLed());
    EXPECT_EQ(source.PcLine(), 5);

    source.ToggleBreakpointOnLine(8);
    EXPECT_EQ(source.BreakpointLines(), kOnLine8);
    RunUntilStopped(RunLed());
    EXPECT_EQ(M().RegisterPC, 0x200A);
    EXPECT_EQ(source.PcLine(), 8);
    EXPECT_EQ(form->windowTitle().toStdString(), std::string(THexmoorForm::kTitle) + " - breakpoint at $200A (loop) hi.asm:8");

    // A line added above it: the breakpoint stays on line 8, whose code is now at $2009.
    std::string edited = kSource;
    edited.insert(edited.find("        LDAA #'I"), "        NOP\n");
    Write("hi.asm", edited);
    Messages.clear();
    Trigger("ReloadMenu");
    ASSERT_TRUE(Messages.empty()) << Messages[0];
    RunUntilStopped(StepLed());
    EXPECT_EQ(source.BreakpointLines(), kOnLine8);
    RunUntilStopped(RunLed());
    EXPECT_EQ(M().RegisterPC, 0x2009);
    EXPECT_EQ(source.PcLine(), 8);
}

// Run to Cursor goes to the selection of the window used last: the Source window's line here,
// though the Code window has a line selected too.
TEST_F(SourceWindowTest, RunToCursorRunsToTheSourceLineWhenSourceWasUsedLast) {
    LoadSource(Write("hi.asm", kSource));
    RunUntilStopped(StepLed());  // the reset: PC on start
    form->Debug().Show(TDebugView::Code);
    TSourceWindow& source = Source();
    auto* text = source.findChild<TSourceView*>();
    text->setTextCursor(QTextCursor(text->document()->findBlockByNumber(7)));  // line 8
    text->setFocus();
    ASSERT_TRUE(Until([&] { return QApplication::focusWidget() == text; }));
    Trigger("RunToCursorMenu");
    ASSERT_TRUE(Until([this] { return form->Debug().Stopped(); }));
    EXPECT_EQ(M().RegisterPC, 0x200A);
}

// The context menu of a line toggles the breakpoint on its code or runs to it, beside the
// text's own entries.
TEST_F(SourceWindowTest, ContextMenuTogglesABreakpointAndRunsToALine) {
    LoadSource(Write("hi.asm", kSource));
    RunUntilStopped(StepLed());  // the reset: PC on start
    auto* text = Source().findChild<TSourceView*>();
    const QPoint line8 = text->cursorRect(QTextCursor(text->document()->findBlockByNumber(7))).center();
    struct TCase {
        const char* Choice;
        uint16_t Pc;
        std::vector<TBreakpointLine> Breakpoints;
    };
    const TCase cases[] = {{"Toggle breakpoint", 0x2000, kOnLine8}, {"Toggle breakpoint", 0x2000, {}},
                           {"Run to here", 0x200A, {}}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Choice);
        EXPECT_EQ(ContextMenu(text->viewport(), line8, c.Choice),
                  QStringList({"Run to here", "Toggle breakpoint", "&Copy", "Select All"}));
        ASSERT_TRUE(Until([this] { return form->Debug().Stopped(); }));
        EXPECT_EQ(M().RegisterPC, c.Pc);
        EXPECT_EQ(Source().BreakpointLines(), c.Breakpoints);
    }
}

// A breakpoint on a line is a red dot in the margin, hollow while it is disabled, as the
// Code window draws it.
TEST_F(SourceWindowTest, DisabledBreakpointsAreDrawnHollow) {
    LoadSource(Write("hi.asm", kSource));
    TSourceWindow& source = Source();
    RunUntilStopped(StepLed());  // the reset: PC's arrow on line 4, away from the dot
    const std::string red = "#e11414", white = "#ffffff", margin = DotColour(8);
    source.ToggleBreakpointOnLine(8);
    EXPECT_EQ(DotColour(8), red);

    TDebugger& debugger = form->Debug().Debugger();
    debugger.EnableBreakpoint(debugger.Breakpoints()[0].Id, false);
    form->Debug().Refresh();
    EXPECT_EQ(source.BreakpointLines(), (std::vector<TBreakpointLine>{{8, false}}));
    EXPECT_EQ(DotColour(8), white);

    // A second breakpoint on the line's code, enabled: the line stops a run again.
    ASSERT_EQ(form->Debug().Session().AddBreakpoint("loop"), "");
    form->Debug().Refresh();
    EXPECT_EQ(DotColour(8), red);

    source.ToggleBreakpointOnLine(8);
    EXPECT_TRUE(source.BreakpointLines().empty());
    EXPECT_EQ(DotColour(8), margin);
}

}  // namespace
}  // namespace hexmoor::testing
