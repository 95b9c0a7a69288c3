// The Watch window: expressions added, edited and removed, their values at stops with the
// changed ones marked, an expression that cannot be read saying why, and values that follow
// an untraced run while it goes.
#include <gmock/gmock.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QPushButton>
#include <QTreeWidget>

#include "panel/DebugWindows.h"
#include "panel/FormFixture.h"
#include "panel/MemoryView.h"
#include "panel/WatchWindow.h"

namespace hexmoor::testing {
namespace {

using ::testing::ElementsAre;

class WatchWindowTest : public FormTest {
public:
    void Open(const char* program) {
        Load(program, ".elf");
        window = static_cast<TWatchWindow*>(&form->Debug().Show(TDebugView::Watch));
        list = window->findChild<QTreeWidget*>("WatchList");
        ASSERT_NE(list, nullptr);
    }
    void Add(const char* text) {
        auto* field = window->findChild<QLineEdit*>("WatchExpression");
        field->setText(text);
        QTest::keyClick(field, Qt::Key_Return);
    }
    // A row as shown: its cells, with "*" after a value marked as changed (bold and red).
    std::vector<std::string> Row(int row) const {
        std::vector<std::string> cells;
        const QTreeWidgetItem* item = list->topLevelItem(row);
        for (int column = 0; column < item->columnCount(); ++column) {
            const bool marked = item->font(column).bold() && item->foreground(column).color() == QColor(kChangedByteColour);
            cells.push_back(item->text(column).toStdString() + (marked ? "*" : ""));
        }
        return cells;
    }
    void Run() {
        Click(RunLed());
        ASSERT_TRUE(Until([this] { return !M().Panel.RunningLed.Lit; }));
    }

    TWatchWindow* window = nullptr;
    QTreeWidget* list = nullptr;
};

TEST_F(WatchWindowTest, ShowsValuesAtStopsAndMarksTheChanged) {
    Open("debug_target");
    for (const char* text : {"[count]", "count", "nosuch", "A"}) Add(text);
    EXPECT_THAT(Row(0), ElementsAre("[count]", "$00", "0"));
    EXPECT_THAT(Row(1), ElementsAre("count", "$0040", "64"));
    EXPECT_THAT(Row(2), ElementsAre("nosuch", "unknown name nosuch (at column 1)", ""));
    ASSERT_EQ(form->Debug().Session().AddBreakpoint("double"), "");
    Run();
    EXPECT_THAT(Row(0), ElementsAre("[count]", "$01*", "1*"));
    EXPECT_THAT(Row(1), ElementsAre("count", "$0040", "64"));
    EXPECT_THAT(Row(3), ElementsAre("A", "$01*", "1*"));
    Run();
    EXPECT_THAT(Row(0), ElementsAre("[count]", "$02*", "2*"));

    // Delete removes the selected rows; a double-click edits an expression.
    list->topLevelItem(1)->setSelected(true);
    list->topLevelItem(2)->setSelected(true);
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    list->setFocus();
    QApplication::processEvents();
    QGuiApplication::clipboard()->clear();
    QTest::keyClick(list, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(),
              "count\t$0040\t64\nnosuch\tunknown name nosuch (at column 1)\t\n");
    QTest::keyClick(list, Qt::Key_Delete);
    ASSERT_EQ(list->topLevelItemCount(), 2);
    list->topLevelItem(1)->setText(0, "A * 2");
    EXPECT_THAT(Row(1), ElementsAre("A * 2", "$0004", "4"));
    EXPECT_THAT(form->Debug().Session().Watches().Texts(), ElementsAre("[count]", "A * 2"));
}

// count_up counts the word at $4000 for ever: the window shows it counting while the run goes.
TEST_F(WatchWindowTest, ValuesFollowAnUntracedRun) {
    Open("count_up");
    Add("[[4000]]");
    std::string whileRunning;
    When([this] { return M().Panel.RunningLed.Lit && list->topLevelItem(0)->text(1) != "$0000"; },
         [&] {
             whileRunning = Row(0)[1];
             Click(RunLed());
         });
    Later(20000, [this] {
        if (M().Panel.RunningLed.Lit) Click(RunLed());
    });
    Run();
    EXPECT_THAT(whileRunning, ::testing::EndsWith("*")) << "marked as changed since the stop before the run";
}

}  // namespace
}  // namespace hexmoor::testing
