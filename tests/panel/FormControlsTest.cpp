// The window's run controls as a user clicks them: load, run, step, reset, IRQ, XIRQ,
// typing into a waiting program and closing the window in each state.
#include <gmock/gmock.h>

#include <QLineEdit>
#include <QMenu>
#include <QToolButton>

#include "panel/FormFixture.h"
#include "panel/widgets/Led.h"
#include "panel/widgets/Lumocrt.h"

namespace hexmoor::testing {
namespace {

using ::testing::ElementsAre;

QString Tip(const char* text) { return QString(text).replace('\r', '\n'); }

TEST_F(FormTest, LoadEnablesRunStepAndTheBreakpointMenu) {
    EXPECT_EQ(RunLed()->toolTip(), Tip(" You must Load a Program First "));
    EXPECT_FALSE(form->MenuAction("StartMenu")->isEnabled());
    QMenu* breakPointMenu = form->findChild<QMenu*>("BreakpointTopMenu");
    ASSERT_NE(breakPointMenu, nullptr);
    EXPECT_FALSE(breakPointMenu->menuAction()->isEnabled());
    Click(RunLed());  // nothing to run yet
    EXPECT_FALSE(M().Panel.RunningLed.Lit);

    Load("count_up");
    auto* loaded = static_cast<TGloLed*>(C().RunLeds[0]);
    EXPECT_TRUE(loaded->LightOn());
    EXPECT_EQ(loaded->toolTip(), Tip(" Click to Load Another Program "));
    EXPECT_EQ(RunLed()->toolTip(), Tip(" Click to Run the Program \r     (Without Trace)      "));
    EXPECT_EQ(StepLed()->toolTip(), Tip(" Click to Execute One Instruction "));
    EXPECT_TRUE(form->MenuAction("StartMenu")->isEnabled());
    EXPECT_TRUE(form->MenuAction("StopMenu")->isChecked());
    EXPECT_TRUE(breakPointMenu->menuAction()->isEnabled());
    EXPECT_EQ(M().MemoryImage[0x2000], 0x8E) << "the program is in memory (LDS)";
}

// What the panel shows while a run goes on and after it, started and stopped by the
// Running LED and by the Run menu.
TEST_F(FormTest, RunShowsItselfOnTheLedsAndMenus) {
    struct Case {
        const char* name;
        std::function<void(FormTest&)> start, stop;
    } cases[] = {
        {"Running LED", [](FormTest& t) { Click(t.RunLed()); }, [](FormTest& t) { Click(t.RunLed()); }},
        {"Run menu", [](FormTest& t) { t.Trigger("StartMenu"); }, [](FormTest& t) { t.Trigger("StopMenu"); }},
    };
    Load("count_up");
    // The panel shows the run in the first frame painted while it goes.
    auto shown = [this] { return RunLed()->toolTip() == Tip(" Click to Stop the program "); };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Messages.clear();
        QString stepHint;
        bool loadEnabled = true, startChecked = false, traceEnabled = true;
        When(shown, [&] {
            stepHint = StepLed()->toolTip();
            loadEnabled = form->MenuAction("LoadMenu")->isEnabled();
            traceEnabled = form->MenuAction("TraceMenu")->isEnabled();
            startChecked = form->MenuAction("StartMenu")->isChecked();
            c.stop(*this);
        });
        c.start(*this);
        EXPECT_EQ(stepHint, Tip(" Moor Running "));
        EXPECT_FALSE(loadEnabled);
        EXPECT_FALSE(traceEnabled);
        EXPECT_TRUE(startChecked);
        EXPECT_FALSE(M().Panel.RunningLed.Lit);
        EXPECT_TRUE(form->MenuAction("StopMenu")->isChecked());
        EXPECT_EQ(RunLed()->toolTip(), Tip(" Click to Run the Program \r     (Without Trace)      "));
        EXPECT_GT(M().MemoryImage[0x4000] << 8 | M().MemoryImage[0x4001], 0) << "the program ran";
    }
}

TEST_F(FormTest, StepStatusLedAndReset) {
    Load("count_up");
    struct Step {
        const char* name;
        QWidget* (FormTest::*control)() const;  // nullptr: the Status LED
        std::vector<std::string> messages;
        uint16_t pc;
        QString trace;
    };
    const Step steps[] = {
        {"Step: the reset", &FormTest::StepLed, {"External Reset"}, 0x2000, "LDS #$01FF"},
        {"Step: LDS", &FormTest::StepLed, {}, 0x2003, "LDX #$0000"},
        {"Status LED: LDX", nullptr, {}, 0x2006, "INX"},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        Messages.clear();
        Click(step.control ? (this->*step.control)() : C().RunLeds[3]);
        EXPECT_EQ(Messages, step.messages);
        EXPECT_EQ(M().RegisterPC, step.pc);
        EXPECT_EQ(C().InstructionLabel->text(), step.trace);
        EXPECT_EQ(C().Readouts[7]->Text(), QString::asprintf("%04X", step.pc)) << "the PC read-out";
    }
    Click(C().ResetButton);
    Messages.clear();
    Click(StepLed());
    EXPECT_THAT(Messages, ElementsAre("External Reset")) << "Reset takes effect at the next step";
    EXPECT_EQ(M().RegisterPC, 0x2000);
}

// A WAI only a click can end: the run waits in the event loop; each IRQ click wakes it
// once, and the Status LED shows the wait meanwhile.
TEST_F(FormTest, IrqClicksWakeAWaitingProgram) {
    Load("irq_wakes_wai");
    M().Panel.WarningsMenu.Checked = false;
    int clicks = 0;
    TColour statusWhileWaiting = 0;
    QString irqHint;
    std::function<void()> click = [&] {
        if (M().RunState == RunWaiting && clicks < 3) {
            statusWhileWaiting = static_cast<TGloLed*>(C().RunLeds[3])->Color();
            irqHint = C().IrqButton->toolTip();
            ++clicks;
            C().IrqButton->click();
        }
        if (clicks == 3 && M().MemoryImage[0x4000] == 3) Click(RunLed());
        else Later(20, click);
    };
    Later(20, click);
    Click(RunLed());
    EXPECT_EQ(clicks, 3);
    EXPECT_EQ(M().MemoryImage[0x4000], 3);
    EXPECT_EQ(statusWhileWaiting, kAqua);
    EXPECT_EQ(irqHint, Tip(" Click to generate an IRQ (Currently enabled) "));
}

// A CPU only a click can move on waits in the event loop: a WAI with I set, traced or
// not, passes no more cycles than the few events that happen meanwhile; then XIRQ ends it.
// (The CPU it uses meanwhile is a figure of hexmoor-window-bench.)
TEST_F(FormTest, IdleCpuDoesNotSpin) {
    Load("count_up");
    for (bool traced : {false, true}) {
        SCOPED_TRACE(traced ? "traced" : "untraced");
        Click(StepLed());  // the reset
        M().Panel.WarningsMenu.Checked = false;
        M().Panel.TraceMenu.Checked = traced;
        const uint8_t code[] = {0x0F, 0x3E, 0x20, 0xFE};  // SEI; WAI; BRA *
        std::copy(std::begin(code), std::end(code), &M().MemoryImage[0x2000]);
        M().MemoryImage[0xFFF4] = 0x20;  // XIRQ to the BRA
        M().MemoryImage[0xFFF5] = 0x02;
        M().FlagX = false;
        M().RegisterSP = 0x01FF;
        int64_t idleCycles = -1;
        When([&] { return M().RunState == RunWaiting; }, [&] {
            const int64_t start = M().CycleCount;
            Later(300, [&, start] {
                idleCycles = M().CycleCount - start;
                C().XIrqButton->click();
                Later(20, [&] { Click(RunLed()); });
            });
        });
        Click(RunLed());
        EXPECT_GE(idleCycles, 0);
        EXPECT_LT(idleCycles, 20);
        EXPECT_EQ(M().RegisterPC, 0x2002) << "XIRQ woke it";
        Click(C().ResetButton);
    }
}

TEST_F(FormTest, XirqClickIsTakenAtTheNextStep) {
    Load("count_up");
    Click(StepLed());  // the reset
    M().FlagX = false;
    M().MemoryImage[0xFFF4] = 0x30;
    M().MemoryImage[0xFFF5] = 0x00;
    C().XIrqButton->click();
    Click(StepLed());
    EXPECT_EQ(M().RegisterPC, 0x3000) << "the step entered the XIRQ handler";
    EXPECT_EQ(C().XIrqButton->toolTip(), Tip(" Click to generate an XIRQ (Currently disabled) "));
}

TEST_F(FormTest, KeyTypedWhileTheProgramWaitsReachesIt) {
    Load("echo");
    QString inputColourWhileWaiting;
    When([&] { return M().WaitingForInput; }, [&] {
        inputColourWhileWaiting = C().InputConsole->palette().color(QPalette::Base).name();
        QTest::keyClicks(form.get(), "hi");
        When([&] { return M().WaitingForInput && M().InputBuffer.Empty(); }, [&] { Click(RunLed()); });
    });
    Click(RunLed());
    EXPECT_EQ(M().Screen.RowText(1).substr(0, 2), "hi");
    EXPECT_EQ(inputColourWhileWaiting, "#00ff00") << "the input box is lime while the program waits";
    EXPECT_TRUE(C().InputConsole->text().isEmpty());
}

// Alt and a menu's mnemonic open the menu; other keys are the terminal's.
// Stopping while the program waits for a key, in a read of the data port or polling the
// status port, and running on: the program gets the key typed afterwards, nothing else.
TEST_F(FormTest, StopAndRunOnWhileTheProgramWaitsForAKey) {
    const std::pair<const char*, std::string> cases[] = {{"keycodes", "41 "}, {"prompt_poll", "key? [A]key? "}};
    for (const auto& [program, screen] : cases) {
        SCOPED_TRACE(program);
        Load(program);
        auto waiting = [this] { return M().WaitingForInput || M().WaitsForAKey(); };
        When(waiting, [this] { Click(RunLed()); });
        Click(RunLed());
        ASSERT_FALSE(M().Panel.RunningLed.Lit);
        When(waiting, [this, waiting] {
            QTest::keyClicks(form.get(), "A");
            When([this, waiting] { return M().InputBuffer.Empty() && waiting(); }, [this] { Click(RunLed()); });
        });
        Click(RunLed());
        EXPECT_EQ(M().Screen.RowText(1).substr(0, screen.size()), screen);
        EXPECT_EQ(M().Screen.RowText(1).find_first_not_of(' ', screen.size()), std::string::npos);
    }
}

TEST_F(FormTest, MenuMnemonicsOpenMenus) {
    form->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(form.get(), 30000)) << "shortcuts need an active window";
    QMenu* opened = nullptr;
    When([] { return QApplication::activePopupWidget() != nullptr; }, [&] {
        opened = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (opened) opened->close();
    });
    QTest::keyClick(form.get(), Qt::Key_F, Qt::AltModifier);
    Until([&] { return opened != nullptr; });
    ASSERT_NE(opened, nullptr);
    EXPECT_EQ(opened->title(), "&File");
    EXPECT_TRUE(M().InputBuffer.Empty()) << "Alt+F typed nothing";
    QTest::keyClick(form.get(), Qt::Key_F);
    EXPECT_EQ(M().InputBuffer.Text(), "f");
}

// The close query: idle, running and waiting for input, answered Yes or No. A Yes closes
// the window only after the loop on the stack has ended.
TEST_F(FormTest, CloseQuery) {
    constexpr const char* kRunning = "The Virtual Machine is running\rDo you want to Exit?";
    constexpr const char* kWaiting = "The Virtual Machine is Waiting for Input\rDo you want to Exit?";
    enum class TStart { Nothing, Run, Step };
    struct Case {
        const char* name;
        const char* program;
        TStart start;
        TMessageResult answer;
        std::vector<std::string> questions;
        bool closes;
    } cases[] = {
        {"idle", "count_up", TStart::Nothing, TMessageResult::No, {}, true},
        {"running, No", "count_up", TStart::Run, TMessageResult::No, {kRunning}, false},
        {"running, Yes", "count_up", TStart::Run, TMessageResult::Yes, {kRunning}, true},
        {"running and waiting for input, Yes", "echo", TStart::Run, TMessageResult::Yes, {kRunning}, true},
        {"step waiting for input, No", "echo", TStart::Step, TMessageResult::No, {kWaiting}, false},
        {"step waiting for input, Yes", "echo", TStart::Step, TMessageResult::Yes, {kWaiting}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        Load(c.program);
        if (c.start == TStart::Step) {
            Click(StepLed());  // the reset
            Click(StepLed());  // LDS
        }
        Messages.clear();
        bool visibleAfterTheQuestion = false;
        Later(50, [&] {
            Messages.clear();  // the run's reset
            Answers = {c.answer};
            form->close();
            visibleAfterTheQuestion = form->isVisible();
            // What the answer left going, the user ends.
            Later(50, [&] {
                if (M().Panel.RunningLed.Lit) Click(RunLed());
                else if (M().WaitingForInput) Click(StepLed());
            });
        });
        if (c.start == TStart::Run) Click(RunLed());
        else if (c.start == TStart::Step) Click(StepLed());
        // A close the answer allowed comes from the event loop once the handler is done.
        if (c.closes) Until([&] { return !form->isVisible(); });
        QApplication::processEvents();
        EXPECT_EQ(Messages, c.questions);
        EXPECT_EQ(!form->isVisible(), c.closes);
        if (c.start != TStart::Nothing) {
            EXPECT_TRUE(visibleAfterTheQuestion) << "closed under a running loop";
        }
        EXPECT_FALSE(M().Panel.RunningLed.Lit);
        EXPECT_FALSE(M().WaitingForInput);
    }
}

// The I/O pause stops a port write until OK or Cancel; closing the window meanwhile ends
// the pause, then the step, then the window.
TEST_F(FormTest, IoPause) {
    struct Case {
        const char* name;
        std::function<void(FormTest&)> act;
        bool checkedAfter, open;
    } cases[] = {
        {"OK", [](FormTest& t) { t.C().IOOKButton->click(); }, true, true},
        {"Cancel", [](FormTest& t) { t.C().IOCancelButton->click(); }, false, true},
        {"close", [](FormTest& t) { t.form->close(); }, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        Load("count_up");
        Click(StepLed());  // the reset
        Trigger("IOOperationsMenu");
        // STAA PORTB ($1004)
        for (uint16_t a = 0x2000; const uint8_t byte : {0xB7, 0x10, 0x04}) M().MemoryImage[a++] = byte;
        M().RegisterPC = 0x2000;
        QString label;
        QPoint place;
        Later(50, [&] {
            label = C().PortLabel->text() + " " + C().IOTypeLabel->text();
            place = C().IOPanel->pos();
            EXPECT_TRUE(C().IOPanel->isVisible());
            c.act(*this);
        });
        Click(StepLed());
        Until([&] { return form->isVisible() == c.open; });
        EXPECT_EQ(label, "PORTB Output");
        EXPECT_EQ(place, C().PortPanel->pos() + QPoint(0, 152));
        EXPECT_FALSE(C().IOPanel->isVisible());
        EXPECT_EQ(M().RegisterPC, 0x2003) << "the write was completed";
        EXPECT_EQ(form->MenuAction("IOOperationsMenu")->isChecked(), c.checkedAfter);
        EXPECT_EQ(form->isVisible(), c.open);
    }
}

// The pause of a port access covers the port's LED group of the other direction, in the
// port's row: a read's the outputs, a write's the inputs (or the empty place of port F's).
TEST_F(FormTest, IoPauseCoversTheOtherDirectionOfItsPort) {
    struct Case {
        uint8_t opcode, offset;  // LDAA or STAA extended, at $1000 + offset
        QString label;
        QPoint place;  // in the port panel
    } cases[] = {
        {0xB6, 0x00, "PORTA Input", {112, 186}}, {0xB7, 0x00, "PORTA Output", {0, 186}},
        {0xB6, 0x02, "PORTG Input", {112, 0}},   {0xB7, 0x02, "PORTG Output", {0, 0}},
        {0xB7, 0x05, "PORTF Output", {0, 36}},   {0xB6, 0x06, "PORTC Input", {112, 112}},
        {0xB7, 0x08, "PORTD Output", {0, 76}},
    };
    Load("count_up");
    Click(StepLed());  // the reset
    Trigger("IOOperationsMenu");
    for (const Case& c : cases) {
        for (uint16_t a = 0x2000; const uint8_t byte : {c.opcode, uint8_t(0x10), c.offset}) M().MemoryImage[a++] = byte;
        M().RegisterPC = 0x2000;
        QString label;
        QPoint place;
        Later(0, [&] {
            label = C().PortLabel->text() + " " + C().IOTypeLabel->text();
            place = C().IOPanel->pos() - C().PortPanel->pos();
            C().IOOKButton->click();
        });
        Click(StepLed());
        EXPECT_EQ(label, c.label);
        EXPECT_EQ(place, c.place) << c.label.toStdString();
    }
}

// In either layout, the pause before a port E read leaves every PE pin and the pause's
// buttons uncovered, and a pin clicked during the pause is what the read takes.
TEST_F(FormTest, PortEPauseLeavesThePinsReachable) {
    for (const bool large : {false, true}) {
        SCOPED_TRACE(large ? "800 x 600" : "640 x 480");
        TearDown();
        SetUp();
        if (large) Trigger("N800x600Menu");
        Load("count_up");
        Click(StepLed());  // the reset
        Trigger("IOOperationsMenu");
        // LDAA PORTE ($100A)
        for (uint16_t a = 0x2000; const uint8_t byte : {0xB6, 0x10, 0x0A}) M().MemoryImage[a++] = byte;
        M().RegisterPC = 0x2000;
        std::vector<std::string> covered;
        Later(50, [&] {
            QWidget* client = C().Client;
            const auto check = [&](QWidget* widget, const std::string& name) {
                if (client->childAt(widget->mapTo(client, widget->rect().center())) != widget) covered.push_back(name);
            };
            for (int bit = 0; bit < 8; ++bit) check(C().PortLeds[PortEInput][bit], "PE" + std::to_string(bit));
            check(C().IOOKButton, "OK");
            check(C().IOCancelButton, "Cancel");
            Click(C().PortLeds[PortEInput][5]);
            C().IOOKButton->click();
        });
        Click(StepLed());
        EXPECT_EQ(covered, std::vector<std::string>{});
        EXPECT_EQ(M().RegisterA, 0x20) << "the pin clicked during the pause";
    }
}

}  // namespace
}  // namespace hexmoor::testing
