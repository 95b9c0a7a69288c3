// The Call Stack window: a row a frame at a stop, Ctrl+C copying frames as text, and a
// double-click that shows a frame's code on its source line, or in the Code window for a
// program without source lines.
#include <gmock/gmock.h>

#include <QClipboard>
#include <QTreeWidget>

#include <fstream>

#include "panel/CallStackWindow.h"
#include "panel/CodeWindow.h"
#include "panel/DebugWindows.h"
#include "panel/FormFixture.h"
#include "panel/SourceWindow.h"
#include "support/TempFolder.h"

namespace hexmoor::testing {
namespace {

using ::testing::ElementsAreArray;

constexpr const char* kSource =
    "        ORG  $2000\n"
    "start   LDS  #$01FF\n"
    "loop    JSR  outer\n"
    "        BRA  loop\n"
    "outer   BSR  inner\n"
    "        RTS\n"
    "inner   NOP\n"
    "        RTS\n"
    "        ORG  $FFFE\n"
    "        FDB  start\n";

class CallStackWindowTest : public FormTest {};

TEST_F(CallStackWindowTest, RowsAreFramesAndADoubleClickShowsTheCode) {
    const std::string source = TempPath("calls.asm");
    std::ofstream(source) << kSource;
    struct TCase {
        std::string Program;
        const char* Breakpoint;
        std::vector<std::string> Rows;  // the cells, " | " between them
        const char* Copied;             // what Ctrl+C takes of rows 1 and 2 selected
        int Clicked;                    // the row double-clicked
        TDebugView Shows;               // the window that shows its code
        uint16_t Selected;              // the code selected there
    };
    const TCase cases[] = {
        {source, "inner",
         {"0 | $200B (inner) | calls.asm:7 | ", "1 | $2008 (outer) | calls.asm:5 | call to $200B (inner)",
          "2 | $2003 (loop) | calls.asm:3 | call to $2008 (outer)"},
         "#1  $2008 (outer)  calls.asm:5  call to $200B (inner)\n#2  $2003 (loop)  calls.asm:3  call to $2008 (outer)\n",
         2, TDebugView::Source, 0x2003},
        {ProgramPath("debug_target", ".elf"), "double",
         {"0 | $2022 (double) |  | ", "1 | $201F (twice+3) |  | call to $2022 (double)",
          "2 | $2009 (loop+3) |  | call to $201C (twice)"},
         "#1  $201F (twice+3)  call to $2022 (double)\n#2  $2009 (loop+3)  call to $201C (twice)\n",
         1, TDebugView::Code, 0x201F},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Program);
        form->AnswerNextFileQuestion(c.Program);
        Click(C().RunLeds[0]);
        TDebugWindows& debug = form->Debug();
        ASSERT_EQ(debug.Session().AddBreakpoint(c.Breakpoint), "");
        Click(RunLed());
        ASSERT_TRUE(Until([&debug] { return debug.Stopped(); }));
        Trigger("CallStackMenu");
        auto& window = static_cast<TCallStackWindow&>(*debug.Window(TDebugView::CallStack));
        auto* list = window.findChild<QTreeWidget*>("CallStackList");
        ASSERT_NE(list, nullptr);
        std::vector<std::string> rows;
        for (int row = 0; row < list->topLevelItemCount(); ++row) {
            QStringList cells;
            for (int column = 0; column < list->columnCount(); ++column) cells << list->topLevelItem(row)->text(column);
            rows.push_back(cells.join(" | ").toStdString());
        }
        EXPECT_THAT(rows, ElementsAreArray(c.Rows));
        list->setFocus();
        ASSERT_TRUE(Until([list] { return QApplication::focusWidget() == list; }));
        for (int row : {1, 2}) list->topLevelItem(row)->setSelected(true);
        QGuiApplication::clipboard()->clear();
        QTest::keyClick(list, Qt::Key_C, Qt::ControlModifier);
        EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), c.Copied);

        const QRect cell = list->visualItemRect(list->topLevelItem(c.Clicked));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell.center());  // a double-click starts with one
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, cell.center());
        TDebugWindow* shown = debug.Window(c.Shows);
        ASSERT_NE(shown, nullptr);
        EXPECT_TRUE(shown->isVisible());
        const std::optional<uint16_t> selected = c.Shows == TDebugView::Source
                                                     ? static_cast<TSourceWindow*>(shown)->SelectedAddress()
                                                     : static_cast<TCodeWindow*>(shown)->SelectedAddress();
        EXPECT_EQ(selected, c.Selected);
        shown->close();
    }
}

}  // namespace
}  // namespace hexmoor::testing
