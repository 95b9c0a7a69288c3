// The Breakpoints window over a debugger on debug_target: adding breakpoints and watchpoints
// and being told why one is refused, the Breakpoint menu's own row, editing in place, and
// what the window shows when a run stops.
#include <gmock/gmock.h>

#include <QComboBox>
#include <QPushButton>
#include <QTreeWidget>

#include "core/Hex.h"
#include "debug/Debugger.h"
#include "debug/Peek.h"
#include "debug/SymbolFiles.h"
#include "panel/BreakpointRows.h"
#include "panel/BreakpointsWindow.h"
#include "panel/DebugWindows.h"
#include "panel/FormFixture.h"
#include "panel/PointList.h"

namespace hexmoor::testing {
namespace {

using ::testing::ContainsRegex;
using ::testing::HasSubstr;

class BreakpointsWindowTest : public FormTest {
public:
    void SetUp() override {
        FormTest::SetUp();
        Load("debug_target", ".elf");
        debugger = &form->Debug().Debugger();
        window = static_cast<TBreakpointsWindow*>(&form->Debug().Show(TDebugView::Breakpoints));
    }

    template <class T = QLineEdit>
    T* Find(const char* name) const {
        T* widget = window->findChild<T*>(name);
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QTreeWidgetItem* Item(const char* list, int row) const { return Find<QTreeWidget>(list)->topLevelItem(row); }
    int Rows(const char* list) const { return Find<QTreeWidget>(list)->topLevelItemCount(); }
    std::vector<std::string> Row(const char* list, int row) const {
        std::vector<std::string> cells;
        if (QTreeWidgetItem* item = Item(list, row))
            for (int column = 0; column < item->columnCount(); ++column)
                cells.push_back(item->text(column).toStdString());
        return cells;
    }
    std::string Message() const { return Find<QLabel>("DebugMessage")->text().toStdString(); }
    std::string StopLine() const { return Find<QLabel>("StopLine")->text().toStdString(); }
    // The row shows the colour of the one that stopped the run.
    bool Marked(const char* list, int row) const {
        auto* tree = Find<QTreeWidget>(list);
        const QRect place = tree->visualItemRect(tree->topLevelItem(row));
        return tree->viewport()->grab().toImage().pixelColor(place.right() - 2, place.center().y()) ==
               TPointList::MarkColour();
    }
    // "$2006 (loop)" for a name; "$2009" for a place past it.
    std::string Place(const char* name, int offset = 0) const {
        return "$" + Hex4(uint16_t(*debugger->Symbols.Find(name) + offset)) +
               (offset ? "" : std::string(" (") + name + ")");
    }
    void Fill(std::initializer_list<std::pair<const char*, const char*>> fields) {
        for (const auto& [name, text] : fields) Find(name)->setText(text);
    }
    // Runs until a breakpoint stops the run, or until `stopWhen` holds and the Running LED
    // stops it.
    void Run(std::function<bool()> stopWhen = nullptr) {
        if (stopWhen) When(stopWhen, [this] { Click(RunLed()); });
        Click(RunLed());
        ASSERT_TRUE(Until([this] { return !M().Panel.RunningLed.Lit; }));
    }

    TDebugger* debugger = nullptr;
    TBreakpointsWindow* window = nullptr;
};

TEST_F(BreakpointsWindowTest, BreakpointsAddWithTheirNamesOrSayWhyNot) {
    struct TCase {
        const char *Where, *Condition, *StopAt;
        const char* Refused;  // the message, as a pattern; none: added
        std::vector<std::string> Shown;
    };
    const TCase cases[] = {
        {"$2000", "", "1", nullptr, {"$2000 (_start)", "$2000", "", "0", "1"}},
        {"loop+3", "[count] == 3", "2", nullptr, {"", "loop+3", "[count] == 3", "0", "2"}},
        {"nowhere", "", "1", "Where: unknown name nowhere", {}},
        {"loop", "A ==", "1", "Condition: .*column 5", {}},
        {"loop", "", "0", "Stop at hit", {}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Where);
        const int rows = Rows("BreakpointList");
        Fill({{"BreakpointWhere", c.Where}, {"BreakpointCondition", c.Condition}, {"BreakpointStopAtHit", c.StopAt}});
        Click(Find<QPushButton>("AddBreakpoint"));
        if (c.Refused) {
            EXPECT_THAT(Message(), ContainsRegex(c.Refused));
            EXPECT_EQ(Rows("BreakpointList"), rows);
            EXPECT_EQ(Find("BreakpointWhere")->text(), c.Where) << "kept to be put right";
            EXPECT_EQ(Find("BreakpointCondition")->text(), c.Condition);
            continue;
        }
        std::vector<std::string> shown = c.Shown;
        if (shown[kBpAddress].empty()) shown[kBpAddress] = Place("loop", 3);
        EXPECT_EQ(Row("BreakpointList", rows), shown);
        EXPECT_EQ(Find("BreakpointWhere")->text(), "");
    }
    // Typed here and added by Enter; the keys do not reach the terminal.
    Fill({{"BreakpointWhere", ""}, {"BreakpointStopAtHit", "1"}});
    QTest::keyClicks(Find("BreakpointWhere"), "halt");
    QTest::keyClick(Find("BreakpointWhere"), Qt::Key_Return);
    EXPECT_EQ(Row("BreakpointList", 2), (std::vector<std::string>{Place("halt"), "halt", "", "0", "1"}));
    EXPECT_TRUE(M().InputBuffer.Empty());
}

TEST_F(BreakpointsWindowTest, WatchpointsAddOrSayWhyNot) {
    enum { kWrite, kRead, kReadWrite, kChanges };
    struct TCase {
        const char* Where;
        int Access;
        const char* Value;
        std::vector<std::string> Shown;  // one cell with a part of the message: refused
    };
    const TCase cases[] = {
        {"count", kWrite, "", {"$0040", "write", "", "0"}},
        {"$3F-$41", kReadWrite, "", {"$003F-$0041", "read/write", "", "0"}},
        {"count", kRead, "", {"$0040", "read", "", "0"}},
        {"$1004", kWrite, "3", {"$1004", "write", "$03", "0"}},
        {"count", kWrite, "$ff", {"$0040", "write", "$FF", "0"}},
        {"count", kWrite, "256", {"Value: '256' is no byte"}},
        {"$41-$3F", kWrite, "", {"Where: the range $41-$3F ends before it starts"}},
        {"nowhere", kRead, "", {"Where: unknown name nowhere"}},
        {"SP < $0100", kChanges, "", {"SP < $0100", "changes", "", "0"}},
        {"X", kChanges, "3", {"Value: a change watchpoint stops at any change"}},
        {"A ==", kChanges, "", {"Where: expected an operand (at column 5)"}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Where);
        const int rows = Rows("WatchpointList");
        Fill({{"WatchWhere", c.Where}, {"WatchValue", c.Value}});
        Find<QComboBox>("WatchAccess")->setCurrentIndex(c.Access);
        QTest::keyClick(Find("WatchValue"), Qt::Key_Return);
        if (c.Shown.size() == 1) {
            EXPECT_THAT(Message(), HasSubstr(c.Shown[0]));
            EXPECT_EQ(Rows("WatchpointList"), rows);
            EXPECT_EQ(Find("WatchWhere")->text(), c.Where);
        } else {
            EXPECT_EQ(Row("WatchpointList", rows), c.Shown);
        }
    }
}

// A stop at a change watchpoint says what changed, and marks its row.
TEST_F(BreakpointsWindowTest, AChangeWatchpointSaysWhatChanged) {
    Fill({{"WatchWhere", "X"}});
    Find<QComboBox>("WatchAccess")->setCurrentIndex(3);
    Click(Find<QPushButton>("AddWatchpoint"));
    EXPECT_EQ(Message(), "Watching X for a change");
    Run();
    // X holds the return address print_inline pulled: the text after its JSR.
    EXPECT_EQ(StopLine(), "Stopped: X changed: $0000 -> " + Place("loop", 9) + " at " + Place("skip"));
    EXPECT_EQ(Item("WatchpointList", 0)->text(kWpHits), "1");
    EXPECT_TRUE(Marked("WatchpointList", 0));
}

// The Breakpoint menu's own address has a row of its own, which Remove leaves alone.
TEST_F(BreakpointsWindowTest, TheMenuBreakpointShowsButStays) {
    M().SetBreakPointAddress(*debugger->Symbols.Find("halt"));
    Fill({{"BreakpointWhere", "loop"}});
    Click(Find<QPushButton>("AddBreakpoint"));
    ASSERT_EQ(Rows("BreakpointList"), 2);
    const std::string halt = Hex4(*debugger->Symbols.Find("halt"));
    EXPECT_EQ(Row("BreakpointList", 0), (std::vector<std::string>{Place("halt"), halt, "Breakpoint menu", "", ""}));
    EXPECT_FALSE(Item("BreakpointList", 0)->data(kBpAddress, Qt::CheckStateRole).isValid()) << "no check box";
    EXPECT_TRUE(Item("BreakpointList", 1)->data(kBpAddress, Qt::CheckStateRole).isValid());

    Find<QTreeWidget>("BreakpointList")->setCurrentItem(Item("BreakpointList", 0));
    Click(Find<QPushButton>("RemoveSelected"));
    EXPECT_THAT(Message(), HasSubstr("Breakpoint menu"));
    EXPECT_EQ(M().BreakPointAddress, *debugger->Symbols.Find("halt"));
    Find<QTreeWidget>("BreakpointList")->setCurrentItem(Item("BreakpointList", 1));
    Click(Find<QPushButton>("RemoveSelected"));
    EXPECT_EQ(Rows("BreakpointList"), 1);
    EXPECT_TRUE(debugger->Breakpoints().empty());
}

// A stop at a breakpoint shows on the stop line and its row, with its hits; a condition
// edited in place and the check box change the next run; a run the user stops shows no stop.
TEST_F(BreakpointsWindowTest, RunsStopAsTheListSays) {
    for (const char* where : {"loop", "halt"}) {
        Fill({{"BreakpointWhere", where}});
        Click(Find<QPushButton>("AddBreakpoint"));
    }
    Run();
    EXPECT_EQ(StopLine(), "Stopped: breakpoint at " + Place("loop"));
    EXPECT_EQ(Item("BreakpointList", 0)->text(kBpHits), "1");
    EXPECT_TRUE(Marked("BreakpointList", 0));
    EXPECT_FALSE(Marked("BreakpointList", 1));

    Item("BreakpointList", 0)->setText(kBpCondition, "[count");
    EXPECT_THAT(Message(), HasSubstr("column 7"));
    QApplication::processEvents();
    EXPECT_EQ(Item("BreakpointList", 0)->text(kBpCondition), "[count") << "kept to be put right";
    Item("BreakpointList", 0)->setText(kBpCondition, "[count] == 3");
    Run();
    EXPECT_EQ(PeekByte(M(), 0x40), 3);
    EXPECT_EQ(Item("BreakpointList", 0)->text(kBpHits), "2");

    Item("BreakpointList", 0)->setCheckState(kBpAddress, Qt::Unchecked);
    QApplication::processEvents();
    Run();
    EXPECT_EQ(StopLine(), "Stopped: breakpoint at " + Place("halt"));
    EXPECT_EQ(Item("BreakpointList", 0)->text(kBpHits), "2");
    EXPECT_EQ(Item("BreakpointList", 1)->text(kBpHits), "1");
    EXPECT_TRUE(Marked("BreakpointList", 1));

    Item("BreakpointList", 1)->setCheckState(kBpAddress, Qt::Unchecked);
    QApplication::processEvents();
    const uint64_t before = M().InstructionCount;
    Run([this, before] { return M().InstructionCount > before + 1000; });
    EXPECT_EQ(StopLine(), "");
    EXPECT_FALSE(Marked("BreakpointList", 1));
}

}  // namespace
}  // namespace hexmoor::testing
