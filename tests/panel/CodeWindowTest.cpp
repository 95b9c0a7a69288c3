// The Code and History windows on debug_target: the lines they show, where the code view
// scrolls to, and what a click in its margin or on a line does.
#include <QClipboard>
#include <QListView>
#include <QScrollBar>

#include "core/Hex.h"
#include "debug/Debugger.h"
#include "panel/CodeView.h"
#include "panel/CodeWindow.h"
#include "panel/DebugWindows.h"
#include "panel/FormFixture.h"
#include "panel/HistoryWindow.h"
#include "panel/MemoryView.h"

namespace hexmoor::testing {
namespace {

using TBreakMark = TCodeView::TBreakMark;

class CodeWindowTest : public FormTest {
public:
    void SetUp() override {
        FormTest::SetUp();
        Load("debug_target", ".elf");
        Click(StepLed());      // the reset after the load: PC at _start
        debugger = &form->Debug().Debugger();
        code = static_cast<TCodeWindow*>(&form->Debug().Show(TDebugView::Code));
        code->resize(440, 640);
    }
    // A change made in a window: the main window shows it in every window.
    void Change(const std::function<void()>& change) {
        change();
        form->FlushRepaint();
    }

    uint16_t At(const char* name) const { return *debugger->Symbols.Find(name); }
    TCodeView* View() const { return code->findChild<TCodeView*>("CodeView"); }
    // The row of the instruction at `address`; -1 when it is not shown.
    int RowOf(uint16_t address) const {
        const auto& rows = View()->Rows();
        for (std::size_t i = 0; i < rows.size(); ++i)
            if (rows[i].Line.Label.empty() && rows[i].Line.Address == address) return int(i);
        return -1;
    }
    const TCodeView::TRow& Row(uint16_t address) const { return View()->Rows().at(std::size_t(RowOf(address))); }
    void ClickRow(uint16_t address, int x) {
        ASSERT_GE(RowOf(address), 0);
        QTest::mouseClick(View()->viewport(), Qt::LeftButton, {},
                          View()->RowRect(RowOf(address)).topLeft() + QPoint(x, 4));
    }
    void MarginClick(uint16_t address) { ClickRow(address, TCodeView::MarginWidth / 2); }
    // A step or a run that ends by itself, and the stop the main window tells the windows of.
    void Stopped(QWidget* led) {
        Click(led);
        ASSERT_TRUE(Until([this] { return form->Debug().Stopped(); }));
    }

    TDebugger* debugger = nullptr;
    TCodeWindow* code = nullptr;
    THistoryWindow* history = nullptr;
};

TEST_F(CodeWindowTest, ShowsLabelsBytesAndListingFromPc) {
    struct TLine {
        const char *Label, *Bytes, *Text;
        uint16_t Address;
    };
    const TLine expected[] = {
        {"_start", "", "", 0x2000},
        {"", "8E 01 FF", "LDS #$01FF", 0x2000},
        {"", "7F 00 40", "CLR >$0040", 0x2003},
        {"loop", "", "", 0x2006},
        {"", "7C 00 40", "INC >$0040", 0x2006},
        {"", "BD 20 1C", "JSR twice", 0x2009},
        {"", "BD 20 24", "JSR print_inline", 0x200C},
        {"", "6F 6B", "CLR $6B,X", 0x200F},  // its inline text "ok" read as code
        {"", "00", "FCB $00", 0x2011},       // and the zero after it, no instruction
        {"", "3F", "SWI", 0x2012},
    };
    const auto& rows = View()->Rows();
    const int first = RowOf(At("_start")) - 1;
    ASSERT_GE(first, 0);
    ASSERT_LE(first, int(rows.size() / 2)) << "PC is in the upper part";
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        const TCodeLine& line = rows.at(first + i).Line;
        SCOPED_TRACE(i);
        EXPECT_EQ(line.Label, expected[i].Label);
        EXPECT_EQ(line.Address, expected[i].Address);
        EXPECT_EQ(line.Bytes, expected[i].Bytes);
        EXPECT_EQ(line.Text, expected[i].Text);
    }
    for (const auto& row : rows) EXPECT_EQ(row.Pc, row.Line.Label.empty() && row.Line.Address == At("_start"));
}

// Each step up finds the instruction before the top row, as the assembler laid them out,
// past a three-byte instruction whose last byte alone is a one-byte instruction (CLR >$0040)
// and past the inline text.
TEST_F(CodeWindowTest, ScrollingUpLandsOnInstructionStarts) {
    const std::vector<uint16_t> starts = {0x202B, 0x2029, 0x2028, 0x2027, 0x2025, 0x2024, 0x2023, 0x2022,
                                          0x2021, 0x201F, 0x201C, 0x201A, 0x2018, 0x2016, 0x2013, 0x2012,
                                          0x2011, 0x200F, 0x200C, 0x2009, 0x2006, 0x2003, 0x2000};
    QScrollBar* bar = View()->verticalScrollBar();
    bar->setValue(At("swi_handler"));  // dragged there
    std::vector<uint16_t> tops;
    for (std::size_t i = 0; i < starts.size(); ++i) {
        bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
        tops.push_back(uint16_t(bar->value()));
    }
    EXPECT_EQ(tops, starts);
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(bar->value(), 0x2003);

    // The ends of memory: nothing above $0000, nothing below the vectors.
    bar->setValue(0);
    bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(bar->value(), 0);
    bar->setValue(0xFFF0);
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(bar->value(), 0xFFF0);
    EXPECT_EQ(View()->Rows().back().Line.Address, 0xFFFE);
}

TEST_F(CodeWindowTest, MarginClicksToggleBreakpointsAndMarksShowThem) {
    const uint16_t target = At("double");
    MarginClick(target);
    ASSERT_EQ(debugger->Breakpoints().size(), 1u);
    EXPECT_EQ(debugger->Breakpoints()[0].Address, target);
    EXPECT_EQ(Row(target).Breakpoint, TBreakMark::Enabled);
    Change([this] { debugger->EnableBreakpoint(debugger->Breakpoints()[0].Id, false); });
    EXPECT_EQ(Row(target).Breakpoint, TBreakMark::Disabled);
    MarginClick(target);
    EXPECT_TRUE(debugger->Breakpoints().empty());
    EXPECT_EQ(Row(target).Breakpoint, TBreakMark::None);

    Change([this] { M().SetBreakPointAddress(At("halt")); });
    EXPECT_TRUE(Row(At("halt")).MenuBreakpoint);
    EXPECT_EQ(Row(At("halt")).Breakpoint, TBreakMark::None);
    EXPECT_FALSE(Row(target).MenuBreakpoint);
}

// Typed into the window (its go-to field has the keyboard), a name brings its code to the
// top, where a click in the first row's margin sets a breakpoint there; a bad name says why.
TEST_F(CodeWindowTest, GoToBringsANameToTheTop) {
    QTest::keyClicks(code->focusWidget(), "swi_handler");
    QTest::keyClick(code->focusWidget(), Qt::Key_Return);
    ASSERT_FALSE(View()->Rows().empty());
    EXPECT_EQ(View()->Rows()[0].Line.Address, At("swi_handler"));
    QTest::mouseClick(View()->viewport(), Qt::LeftButton, {}, QPoint(4, 4));
    ASSERT_EQ(debugger->Breakpoints().size(), 1u);
    EXPECT_EQ(debugger->Breakpoints()[0].Address, At("swi_handler"));
    code->findChild<QLineEdit*>("CodeGoTo")->setText("nosuch");
    QTest::keyClick(code->findChild<QLineEdit*>("CodeGoTo"), Qt::Key_Return);
    EXPECT_EQ(code->findChild<QLabel*>("CodeStatus")->text().toStdString(), "unknown name nosuch (at column 1)");
}

TEST_F(CodeWindowTest, PcMarkAndSelectionFollow) {
    Stopped(StepLed());
    EXPECT_FALSE(Row(At("_start")).Pc);
    EXPECT_TRUE(Row(At("_start") + 3).Pc);

    ClickRow(At("loop"), 120);
    EXPECT_EQ(code->SelectedAddress(), At("loop"));
    QTest::keyClick(View(), Qt::Key_Down);
    EXPECT_EQ(code->SelectedAddress(), At("loop") + 3);
    QTest::keyClick(View(), Qt::Key_Up);
    EXPECT_EQ(code->SelectedAddress(), At("loop"));

    // Out of sight in a short window, PC comes into its upper part at the next stop.
    code->resize(440, 120);
    QApplication::processEvents();
    ASSERT_EQ(form->Debug().Session().AddBreakpoint("swi_handler"), "");
    Stopped(RunLed());
    ASSERT_EQ(M().RegisterPC, At("swi_handler"));
    ASSERT_GE(RowOf(At("swi_handler")), 0);
    EXPECT_TRUE(Row(At("swi_handler")).Pc);
    EXPECT_LE(RowOf(At("swi_handler")), int(View()->Rows().size() / 2));
}

// The context menu of a line toggles its breakpoint or runs to it.
TEST_F(CodeWindowTest, ContextMenuTogglesABreakpointAndRunsToALine) {
    struct TCase {
        const char* Choice;
        const char* On;
        uint16_t Pc;
        TBreakMark Mark;  // at `double`
    };
    const TCase cases[] = {
        {"Toggle breakpoint", "double", At("_start"), TBreakMark::Enabled},
        {"Run to here", "twice", At("twice"), TBreakMark::Enabled},
        {"Toggle breakpoint", "double", At("twice"), TBreakMark::None},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(std::string(c.Choice) + " on " + c.On);
        const QPoint row = View()->RowRect(RowOf(At(c.On))).center();
        EXPECT_EQ(ContextMenu(View()->viewport(), row, c.Choice),
                  QStringList({"Run to here", "Toggle breakpoint", "Copy"}));
        ASSERT_TRUE(Until([this] { return form->Debug().Stopped(); }));
        EXPECT_EQ(M().RegisterPC, c.Pc);
        EXPECT_EQ(Row(At("double")).Breakpoint, c.Mark);
    }
}

// Ctrl+C in a view puts its selection on the clipboard as it is shown: the Code window's rows
// with the label lines between them, the Memory window's rows of the selected bytes, the
// History window's lines.
TEST_F(CodeWindowTest, CtrlCCopiesTheSelectionAsShown) {
    Stopped(StepLed());
    Stopped(StepLed());  // LDS and CLR, now in the history
    const auto extend = [](QWidget* view, Qt::Key key, int times) {
        for (int i = 0; i < times; ++i) QTest::keyClick(view, key, Qt::ShiftModifier);
    };
    struct TCase {
        TDebugView Window;
        const char* View;
        std::function<void(QWidget*)> Select;
        QString Text;
    };
    const TCase cases[] = {
        {TDebugView::Code, "CodeView",
         [&](QWidget* view) {
             ClickRow(At("_start"), 120);
             extend(view, Qt::Key_Down, 2);
         },
         "2000  8E 01 FF        LDS #$01FF\n2003  7F 00 40        CLR >$0040\nloop:\n2006  7C 00 40        INC >$0040\n"},
        {TDebugView::Memory, "MemoryView",
         [&](QWidget* view) {
             static_cast<TMemoryView*>(view)->SetCursor(0x2000);
             extend(view, Qt::Key_Right, 17);
         },
         "2000  8E 01 FF 7F 00 40 7C 00  40 BD 20 1C BD 20 24 6F  .....@|.@. .. $o\n2010  6B 00" + QString(45, ' ') +
             "k.\n"},
        {TDebugView::History, "HistoryView",
         [&](QWidget* view) {
             auto* lines = static_cast<QListView*>(view);
             lines->setCurrentIndex(lines->model()->index(lines->model()->rowCount() - 2, 0));
             extend(view, Qt::Key_Down, 1);
         },
         "2000  LDS #$01FF              A=00 B=00 X=0000 Y=0000 SP=01FF CCR=D0\n"
         "2003  CLR >$0040              A=00 B=00 X=0000 Y=0000 SP=01FF CCR=D4\n"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.View);
        // The window comes to the front with the keyboard, as from the Debug menu.
        QWidget* view = form->Debug().Show(c.Window).findChild<QWidget*>(c.View);
        ASSERT_NE(view, nullptr);
        view->setFocus();
        ASSERT_TRUE(Until([view] { return QApplication::focusWidget() == view; }));
        c.Select(view);
        QGuiApplication::clipboard()->clear();
        QTest::keyClick(view, Qt::Key_C, Qt::ControlModifier);
        EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), c.Text.toStdString());
    }
}

TEST_F(CodeWindowTest, HistoryShowsRegistersOfTracedLinesOnly) {
    history = static_cast<THistoryWindow*>(&form->Debug().Show(TDebugView::History));
    ASSERT_EQ(form->Debug().Session().AddBreakpoint("swi_handler"), "");
    Trigger("TraceMenu");
    Stopped(RunLed());
    Trigger("TraceMenu");
    debugger->RemoveBreakpoint(debugger->Breakpoints()[0].Id);
    ASSERT_EQ(form->Debug().Session().AddBreakpoint("halt"), "");
    Stopped(RunLed());

    auto* view = history->findChild<QListView*>("HistoryView");
    QStringList lines;
    for (int row = 0; row < view->model()->rowCount(); ++row) lines << view->model()->index(row, 0).data().toString();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.last(), "2018  BNE loop");  // the instruction before PC, untraced
    EXPECT_EQ(view->verticalScrollBar()->value(), view->verticalScrollBar()->maximum());
    EXPECT_TRUE(lines.first().endsWith("interrupt --")) << lines.first().toStdString();  // the reset

    const auto firstOf = [&lines](const char* start) {
        return std::find_if(lines.begin(), lines.end(),
                            [start](const QString& line) { return line.startsWith(start); }) -
               lines.begin();
    };
    const qsizetype swi = firstOf("2012  SWI");  // where the traced run ended
    ASSERT_LT(swi, lines.size());
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lines[i].endsWith("interrupt --")) continue;
        EXPECT_EQ(lines[i].contains(" A="), i <= swi) << lines[i].toStdString();
    }
    // After ASLA in the first round through the loop: count 1, doubled.
    EXPECT_TRUE(lines.value(firstOf("2022  ASLA")).contains("A=02 "))
        << lines.value(firstOf("2022  ASLA")).toStdString();
}

}  // namespace
}  // namespace hexmoor::testing
