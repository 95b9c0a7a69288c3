// The Memory window over the real main window's machine: what its rows and status line
// show, Go to, Follow, the bytes a run changed, typing bytes in, and that looking at the
// ports changes nothing a program can tell.
#include <gmock/gmock.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include "debug/Debugger.h"
#include "debug/Peek.h"
#include "panel/FormFixture.h"
#include "panel/MemoryView.h"
#include "panel/DebugWindows.h"
#include "panel/MemoryWindow.h"

namespace hexmoor::testing {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

class MemoryWindowTest : public FormTest {
public:
    void SetUp() override {
        FormTest::SetUp();
        debugger = &form->Debug().Debugger();
        window = static_cast<TMemoryWindow*>(&form->Debug().Show(TDebugView::Memory));
    }

    // The main window reads the symbols of the program it loads.
    void LoadWithSymbols(const std::string& name) { Load(name, ".elf"); }
    // A step or a run to a stop: the main window shows it in its windows.
    void Stop(QWidget* led) { Click(led); }
    template <class T>
    T* Child(const char* name) const {
        T* child = window->findChild<T*>(name);
        EXPECT_NE(child, nullptr) << name;
        return child;
    }
    TMemoryView* View() const { return Child<TMemoryView>("MemoryView"); }
    QString Status() const { return Child<QLabel>("MemoryStatus")->text(); }
    void GoTo(const QString& text) {
        QLineEdit* goTo = Child<QLineEdit>("MemoryGoTo");
        goTo->clear();
        QTest::keyClicks(goTo, text);
        QTest::keyClick(goTo, Qt::Key_Return);
    }
    void Follow(const char* what) { Child<QComboBox>("MemoryFollow")->setCurrentText(what); }
    uint8_t PortBLeds() {
        uint8_t leds = 0;
        for (int bit = 0; bit < 8; ++bit) leds |= uint8_t(M().Panel.PortGroups[PortBOutput].Leds[bit].Lit << bit);
        return leds;
    }

    TDebugger* debugger = nullptr;
    TMemoryWindow* window = nullptr;
};

TEST_F(MemoryWindowTest, GoToShowsTheRowAndNamesThePlace) {
    LoadWithSymbols("debug_target");
    const uint16_t swi = *debugger->Symbols.Find("swi_handler");
    struct TCase {
        QString Typed;
        uint16_t Cursor;      // where the cursor is afterwards
        QString Status, Row;  // the status line's text, the row's start
    };
    const TCase cases[] = {
        {"$2000", 0x2000, "$2000 (_start)", "2000  8E 01 FF 7F 00 40 7C 00  40 BD"},  // LDS, CLR, INC, JSR
        {"count", 0x0040, "$0040 \u2014 $0000-$03FF internal RAM", ""},
        {"$1004", 0x1004, "$1004 PORTB \u2014 $1000-$105F register block", ""},
        {"swi_handler", swi, QString::asprintf("$%04X (swi_handler)", swi), ""},
        {"$FFF0", 0xFFF0, "$FFF0",  // the last row: SWI's vector, then reset's (_start)
         QString::asprintf("FFF0  00 00 00 00 00 00 %02X %02X  00 00 00 00 00 00 20 00", swi >> 8, swi & 0xFF)},
        {"nosuch+1", 0xFFF0, "Go to: unknown name nosuch", ""},
        {"$12345", 0xFFF0, "not an address", ""},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Typed.toStdString());
        GoTo(c.Typed);
        EXPECT_EQ(View()->Cursor(), c.Cursor);
        EXPECT_THAT(Status().toStdString(), HasSubstr(c.Status.toStdString()));
        EXPECT_THAT(View()->RowText(c.Cursor / 16).toStdString(), StartsWith(c.Row.toStdString()));
    }
}

// The cursor follows the chosen register from stop to stop; bytes that changed since the
// stop before are red, and only those.
TEST_F(MemoryWindowTest, FollowsRegistersAndMarksChangedBytes) {
    LoadWithSymbols("debug_target");
    Follow("PC");
    Stop(StepLed());  // the reset
    EXPECT_EQ(View()->Cursor(), 0x2000);
    Stop(StepLed());  // LDS #$01FF
    EXPECT_EQ(View()->Cursor(), 0x2003);
    Follow("SP");
    EXPECT_EQ(View()->Cursor(), 0x01FF);

    ASSERT_EQ(form->Debug().Session().AddBreakpoint("double"), "");
    struct TCase {
        QWidget* (FormTest::*Led)() const;
        int Offset;  // where it stops, from "double"
        std::vector<uint16_t> Changed, Unchanged;
    } cases[] = {
        {&FormTest::RunLed, 0, {0x0040, 0x01FE, 0x01FF}, {0x0041, 0x1004, 0x2000}},  // count 0 to 1, JSR's return
        {&FormTest::RunLed, 0, {0x0040, 0x1004}, {0x0041, 0x2000}},  // count 1 to 2, shown on port B by SWI
        {&FormTest::StepLed, 1, {}, {0x0040, 0x1004}},               // ASLA stores nothing
    };
    for (const TCase& c : cases) {
        Stop((this->*c.Led)());
        ASSERT_EQ(M().RegisterPC, *debugger->Symbols.Find("double") + c.Offset);
        for (uint16_t address : c.Changed) EXPECT_TRUE(View()->Changed(address)) << std::hex << address;
        for (uint16_t address : c.Unchanged) EXPECT_FALSE(View()->Changed(address)) << std::hex << address;
    }
}

// Two hex digits at the cursor store a byte as the program would; the keys stay in the
// window, not in the terminal.
TEST_F(MemoryWindowTest, TypedBytesAreStoredAsTheProgramWould) {
    LoadWithSymbols("debug_target");
    struct TCase {
        uint16_t Address;
        const char* Keys;
        uint8_t Byte;
        const char* Status;
    } cases[] = {
        {0x0040, "5a", 0x5A, "$0041"},  // the cursor moves on
        {0x1004, "A5", 0xA5, "$1004 PORTB written through the register rules"},
        {0x2000, "7", 0x8E, "$2000"},  // one digit writes nothing
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Keys);
        window->GoTo(c.Address);
        View()->setFocus();
        QTest::keyClicks(View(), c.Keys);
        EXPECT_EQ(PeekByte(M(), c.Address), c.Byte);
        EXPECT_THAT(Status().toStdString(), HasSubstr(c.Status));
    }
    EXPECT_EQ(PortBLeds(), 0xA5);
    EXPECT_TRUE(M().InputBuffer.Empty()) << "keys typed in the window reached the terminal";

    QString whileRunning;
    When([this] { return M().Panel.RunningLed.Lit; },
         [&] {
             window->GoTo(0x0080);
             QTest::keyClicks(View(), "77");
             whileRunning = Status();
             Click(RunLed());
         });
    Click(RunLed());
    EXPECT_THAT(whileRunning.toStdString(), HasSubstr("running"));
    EXPECT_EQ(PeekByte(M(), 0x0080), 0x00);
}

// Showing the terminal ports and the other registers takes no typed-ahead input, shows no
// register message and stops for no I/O pause: the program reads what was typed.
TEST_F(MemoryWindowTest, ShowingThePortsChangesNothingTheProgramSees) {
    LoadWithSymbols("echo");
    for (int step = 0; step < 2; ++step) Click(StepLed());  // the reset (which empties the input), LDS
    TPanelState& panel = M().Panel;
    panel.InternalRegistersMenu.Checked = panel.IOOperationsMenu.Checked = panel.WarningsMenu.Checked = true;
    M().FormKeyPress('h');
    M().FormKeyPress('i');
    Messages.clear();
    for (uint16_t address : {0x1000, 0x1030, 0xFFFF}) {
        window->GoTo(address);
        window->Refresh();
        window->grab();
    }
    EXPECT_EQ(Messages, std::vector<std::string>{});
    EXPECT_FALSE(panel.IoPanel.Visible);
    EXPECT_EQ(M().InputBuffer.Size(), 2u);
    panel.InternalRegistersMenu.Checked = panel.IOOperationsMenu.Checked = false;
    Click(StepLed());  // LDAA from the terminal
    EXPECT_EQ(M().RegisterA, 'h');
}

}  // namespace
}  // namespace hexmoor::testing
