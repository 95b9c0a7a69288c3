// The window's own decisions on a scripted panel: first activation, the close query, the
// log file, hints, layouts, the View flips, the idle waits and the chip-speed pacing.
#include <gmock/gmock.h>

#include <chrono>
#include <fstream>
#include <functional>

#include "support/TempFolder.h"
#include "support/TestMachine.h"

namespace hexmoor::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr const char* kRunningQuestion = "The Virtual Machine is running\rDo you want to Exit?";
constexpr const char* kWaitingQuestion = "The Virtual Machine is Waiting for Input\rDo you want to Exit?";

TEST(WindowLogic, OnlyTheFirstActivationResets) {
    TTestMachine t;
    TMachine& m = *t.Machine;
    m.FormActivate();
    EXPECT_THAT(t.Panel.MessageTexts(), ElementsAre("PowerOn Reset"));
    EXPECT_TRUE(m.Panel.WarningsMenu.Checked) << "the warnings are on again after the reset";
    EXPECT_EQ(m.Panel.RegisterCCRDisplay.Text, "~LS~LX~RH~LI~RN~LZ~RV~RC");

    t.LoadThroughPanel("count_up");
    m.StepLedClick();  // the External Reset
    m.StepLedClick();  // LDS
    t.Panel.Messages.clear();
    m.FormActivate();  // a dialog closed: the window is active again
    EXPECT_THAT(t.Panel.Messages, IsEmpty());
    EXPECT_EQ(m.RegisterPC, 0x2003) << "the user's program was not reset";
}

// The close query in each state the window can be in, answered Yes or No.
TEST(WindowLogic, CloseQuery) {
    enum class TState { Idle, Running, RunWaitingForInput, StepWaitingForInput };
    struct Case {
        const char* name;
        TState state;
        TMessageResult answer;
        std::vector<std::string> questions;
        bool closes;
        bool loopEndedByTheAnswer;
    } cases[] = {
        {"idle", TState::Idle, TMessageResult::Yes, {}, true, false},
        {"running, No", TState::Running, TMessageResult::No, {kRunningQuestion}, false, false},
        {"running, Yes", TState::Running, TMessageResult::Yes, {kRunningQuestion}, true, true},
        {"running and waiting, Yes", TState::RunWaitingForInput, TMessageResult::Yes,
         {kRunningQuestion}, true, true},
        {"running and waiting, No", TState::RunWaitingForInput, TMessageResult::No,
         {kRunningQuestion}, false, false},
        {"step waiting, Yes", TState::StepWaitingForInput, TMessageResult::Yes,
         {kWaitingQuestion}, true, true},
        {"step waiting, No", TState::StepWaitingForInput, TMessageResult::No,
         {kWaitingQuestion}, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TTestMachine t;
        TMachine& m = *t.Machine;
        t.LoadThroughPanel(c.state == TState::Running ? "count_up" : "echo");
        m.StepLedClick();  // the reset
        m.StepLedClick();  // LDS
        t.Panel.Messages.clear();
        std::optional<bool> closes;
        int laterEvents = 0;
        // The user asks to close at the first chance; later events end what the answer
        // left going, as the user would.
        auto user = [&] {
            if (!closes) {
                // A pump may come before the program reaches its read on a slow host.
                if (c.state == TState::RunWaitingForInput && !m.WaitingForInput) return;
                t.Panel.Answers = {c.answer};
                closes = m.FormCloseQuery();
                return;
            }
            ++laterEvents;
            if (m.Panel.RunningLed.Lit) m.RunClick();
            else m.StepLedClick();
        };
        t.Panel.OnPump = user;
        t.Panel.OnWaitForEvents = user;
        switch (c.state) {
        case TState::Idle: user(); break;
        case TState::Running:
        case TState::RunWaitingForInput: m.RunClick(); break;
        case TState::StepWaitingForInput: m.StepLedClick(); break;
        }
        ASSERT_TRUE(closes.has_value());
        EXPECT_EQ(*closes, c.closes);
        EXPECT_EQ(t.Panel.MessageTexts(), c.questions);
        if (c.state != TState::Idle) {
            EXPECT_EQ(laterEvents == 0, c.loopEndedByTheAnswer);
        }
        EXPECT_FALSE(m.Panel.RunningLed.Lit);
        EXPECT_FALSE(m.WaitingForInput);
    }
}

// Choosing the log file: the dialog, the create and replace prompts, and an open log that
// must be closed first.
TEST(WindowLogic, LogMenu) {
    struct Case {
        const char* name;
        bool logOpen;
        bool fileExists;
        std::optional<std::string> chosen;
        std::vector<TMessageResult> answers;
        std::vector<std::string> messages;  // with FILE for the chosen path
        int dialogs;
        bool openAfter;  // the chosen file is the log
    } cases[] = {
        {"new file, create", false, false, "new.log", {TMessageResult::Yes},
         {"FILE does not exist.\rDo you want to create it?"}, 1, true},
        {"new file, do not create", false, false, "new.log", {TMessageResult::No},
         {"FILE does not exist.\rDo you want to create it?"}, 1, false},
        {"existing file, replace", false, true, "old.log", {TMessageResult::Yes},
         {"FILE already exists.\rDo you want to replace it?"}, 1, true},
        {"existing file, keep", false, true, "old.log", {TMessageResult::No},
         {"FILE already exists.\rDo you want to replace it?"}, 1, false},
        {"dialog cancelled", false, false, std::nullopt, {}, {}, 1, false},
        {"open log kept", true, false, "new.log", {TMessageResult::No},
         {"OPEN is open\rOK to close it?"}, 0, false},
        {"open log closed, another chosen", true, false, "new.log",
         {TMessageResult::Yes, TMessageResult::Yes},
         {"OPEN is open\rOK to close it?", "FILE does not exist.\rDo you want to create it?"}, 1, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TTestMachine t;
        TMachine& m = *t.Machine;
        const std::string open = TempPath(std::string("open-") + c.name + ".log");
        const std::string chosen = c.chosen ? TempPath(c.name + *c.chosen) : "";
        std::filesystem::remove(chosen);
        if (c.fileExists) std::ofstream(chosen) << "old contents\n";
        if (c.logOpen) {
            ASSERT_TRUE(m.OpenLogFile(open));
        }
        if (c.chosen) t.Panel.FileName = chosen;
        t.Panel.Answers.assign(c.answers.begin(), c.answers.end());

        m.LogMenuClick();

        std::vector<std::string> expected;
        for (std::string text : c.messages) {
            if (text.starts_with("FILE")) text.replace(0, 4, chosen);
            if (text.starts_with("OPEN")) text.replace(0, 4, open);
            expected.push_back(text);
        }
        EXPECT_EQ(t.Panel.MessageTexts(), expected);
        ASSERT_EQ(int(t.Panel.FileQuestions.size()), c.dialogs);
        if (c.dialogs) {
            const TFileQuestion& q = t.Panel.FileQuestions[0];
            EXPECT_EQ(q.Title, "Open Log File");
            EXPECT_EQ(q.Filter, "Log Files (*.log)|*.log|All Files (*.*)|*.*");
            EXPECT_EQ(q.DefaultExtension, "LOG");
            EXPECT_EQ(q.ProposedName, "hexmoor.log");
            EXPECT_TRUE(q.ForWriting);
            EXPECT_FALSE(q.MustExist);
        }
        const bool logIsChosen = m.LogFile.IsOpen() && m.LogFile.Path() == chosen;
        EXPECT_EQ(logIsChosen, c.openAfter);
        EXPECT_EQ(m.LogFile.IsOpen(), c.openAfter || (c.logOpen && !c.dialogs));
        if (c.fileExists) {
            std::ifstream file(chosen);
            const std::string contents((std::istreambuf_iterator<char>(file)), {});
            EXPECT_EQ(contents.empty(), c.openAfter) << "a replaced file starts empty";
        }
    }
}

TEST(WindowLogic, HintsSwitch) {
    TTestMachine t;
    TMachine& m = *t.Machine;
    EXPECT_TRUE(m.Panel.HintsShown);
    EXPECT_EQ(m.Panel.HintsMenuCaption, "&Hints Off");
    for (bool shown : {false, true, false}) {
        m.HintsMenuClick();
        EXPECT_EQ(m.Panel.HintsShown, shown);
        EXPECT_EQ(m.Panel.HintsMenuCaption, shown ? "&Hints Off" : "&Hints On");
    }
    EXPECT_EQ(std::count(t.Panel.Changes.begin(), t.Panel.Changes.end(), TPanelItem::Hints), 3);
}

// Either layout item switches to the other layout; the large one has no terminal in front.
TEST(WindowLogic, LayoutSwitch) {
    TTestMachine t;
    TMachine& m = *t.Machine;
    m.BringtoFrontMenuClick();
    ASSERT_TRUE(m.Panel.ConsoleInFront);
    struct Step {
        int width;
        bool frontEnabled;
    } steps[] = {{800, false}, {640, true}, {800, false}};
    for (const Step& step : steps) {
        SCOPED_TRACE(step.width);
        m.ConfigureMenuClick();
        EXPECT_EQ(m.Panel.LayoutWidth, step.width);
        EXPECT_EQ(m.Panel.N640x480Menu.Checked, step.width == 640);
        EXPECT_EQ(m.Panel.N800x600Menu.Checked, step.width == 800);
        EXPECT_EQ(m.Panel.BringtoFrontMenu.Enabled, step.frontEnabled);
        EXPECT_FALSE(m.Panel.ConsoleInFront) << "switching layouts leaves the terminal behind";
        EXPECT_EQ(m.Panel.BringtoFrontCaption, "Bring To &Front");
        m.ConsoleDblClick();
        EXPECT_EQ(m.Panel.ConsoleInFront, step.frontEnabled) << "the double click works in 640 x 480 only";
        if (m.Panel.ConsoleInFront) m.ConsoleDblClick();
    }
    EXPECT_THAT(t.Panel.Changes, ::testing::Contains(TPanelItem::Layout));
}

// Each View item flips its own option and nothing else.
TEST(WindowLogic, ViewFlips) {
    struct Case {
        const char* name;
        void (TMachine::*click)();
        TMenuItem TPanelState::*item;
    } cases[] = {
        {"Loading", &TMachine::LoadingMenuClick, &TPanelState::LoadingMenu},
        {"Trace", &TMachine::TraceMenuClick, &TPanelState::TraceMenu},
        {"Internal Registers", &TMachine::InternalRegistersMenuClick, &TPanelState::InternalRegistersMenu},
        {"A/D Sampling", &TMachine::ADSamplingMenuClick, &TPanelState::ADSamplingMenu},
        {"I/O Operations", &TMachine::IOOperationsMenuClick, &TPanelState::IOOperationsMenu},
        {"Interrupts", &TMachine::InterruptsMenuClick, &TPanelState::InterruptsMenu},
        {"Warnings", &TMachine::WarningsMenuClick, &TPanelState::WarningsMenu},
        {"Chip Speed", &TMachine::ChipSpeedMenuClick, &TPanelState::ChipSpeedMenu},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TTestMachine t;
        TMachine& m = *t.Machine;
        const TPanelState before = m.Panel;
        (m.*c.click)();
        EXPECT_NE((m.Panel.*c.item).Checked, (before.*c.item).Checked);
        for (const Case& other : cases)
            if (other.item != c.item) {
                EXPECT_EQ((m.Panel.*other.item).Checked, (before.*other.item).Checked) << other.name;
            }
        (m.*c.click)();
        EXPECT_EQ((m.Panel.*c.item).Checked, (before.*c.item).Checked);
    }
}

TEST(WindowLogic, TraceSetsTheRunHintOnceAProgramIsLoaded) {
    TTestMachine t;
    TMachine& m = *t.Machine;
    m.TraceMenuClick();
    EXPECT_EQ(m.Panel.RunningLed.Hint, " You must Load a Program First ");
    t.LoadThroughPanel("count_up");
    EXPECT_EQ(m.Panel.RunningLed.Hint, " Click to Run the Program \r       (With Trace)       ");
    m.TraceMenuClick();
    EXPECT_EQ(m.Panel.RunningLed.Hint, " Click to Run the Program \r     (Without Trace)      ");
}

TEST(WindowLogic, BreakPointMenuIsEnabledByTheFirstLoad) {
    TTestMachine t;
    EXPECT_FALSE(t.Machine->Panel.BreakPointMenu.Enabled);
    t.LoadThroughPanel("count_up");
    EXPECT_TRUE(t.Machine->Panel.BreakPointMenu.Enabled);
    t.Machine->SetBreakPointAddress(0x2007);
    t.Machine->RunClick();  // it stays enabled
    EXPECT_TRUE(t.Machine->Panel.BreakPointMenu.Enabled);
}

TEST(WindowLogic, DestroyClosesTheLogAndThePrinter) {
    TTestMachine t;
    TMachine& m = *t.Machine;
    ASSERT_TRUE(m.OpenLogFile(TempPath("destroy.log")));
    m.RegisterWriteByte = 'P';
    m.PrinterOutput();
    m.FormDestroy();
    EXPECT_FALSE(m.LogFile.IsOpen());
    EXPECT_EQ(t.Panel.PrinterCloses, 1);
    EXPECT_THAT(t.Panel.Messages, IsEmpty());
}

// A CPU that only a click can move on waits for events instead of spinning: the run
// passes no more than a few times through the loop before the click comes.
TEST(WindowLogic, IdleCpuWaitsForAClick) {
    struct Case {
        const char* name;
        std::vector<uint8_t> code;
        bool traced;
        bool waits;
    } cases[] = {
        {"STOP, untraced", {0x0F, 0xCF}, false, true},                  // SEI; STOP
        {"STOP, traced", {0x0F, 0xCF}, true, true},
        {"WAI with I set", {0x0F, 0x3E}, false, true},                  // SEI; WAI
        {"WAI with the RTI enabled", {0x86, 0x40, 0xB7, 0x10, 0x24,     // LDAA #$40; STAA TMSK2
                                      0x0E, 0x3E}, false, false},       // CLI; WAI
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TTestMachine t;
        TMachine& m = *t.Machine;
        m.FormActivate();
        t.Place(0x2000, c.code);
        m.FlagS = false;
        m.Panel.RunningLed.Enabled = m.Panel.StepLed.Enabled = true;
        m.Panel.TraceMenu.Checked = c.traced;
        m.Panel.WarningsMenu.Checked = false;
        t.Panel.OnWaitForEvents = [&] { m.RunClick(); };
        t.Panel.OnPump = [&] {
            if (t.Panel.Pumps > 50) m.RunClick();
        };
        m.RunClick();
        EXPECT_EQ(t.Panel.Waits, c.waits ? 1 : 0);
        EXPECT_FALSE(m.Panel.RunningLed.Lit);
    }
}

// An untraced run asks the panel to wait, keeping to the chip's 2 MHz clock, with Chip
// Speed checked; without it only while the program waits for a key in a loop polling the
// status port (tight, with a task switch between polls, or with a clock interrupt that
// counts and prints meanwhile), never while it computes, even looking for an abort key.
TEST(WindowLogic, UntracedRunsGoAtChipSpeedWhenAskedOrWaitingForAKey) {
    struct Case {
        const char* program;
        bool chipSpeed;
        bool paced;
    } cases[] = {
        {"count_up", true, true},
        {"count_up", false, false},
        {"status_poll", false, true},
        {"forth_pause", false, true},
        {"rti_clock", false, true},
        {"abort_check", false, false},
        {"memory_abort_check", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.program);
        TTestMachine t;
        TMachine& m = *t.Machine;
        t.LoadThroughPanel(c.program);
        if (c.chipSpeed) m.ChipSpeedMenuClick();
        constexpr int64_t kCycles = 1'500'000;  // 0.75 s of the chip's time
        t.Panel.OnPump = [&] {
            if (m.CycleCount >= kCycles) m.RunClick();
        };
        const auto start = std::chrono::steady_clock::now();
        m.RunClick();
        ASSERT_EQ(!t.Panel.WaitsUntil.empty(), c.paced);
        if (!c.chipSpeed) continue;
        // The last wait ends when the chip's clock has reached the cycles run.
        const double chipSeconds = std::chrono::duration<double>(t.Panel.WaitsUntil.back() - start).count();
        EXPECT_GT(chipSeconds, double(kCycles) / 2e6 - 0.01);
        EXPECT_LT(chipSeconds, double(m.CycleCount) / 2e6 + 1.0);
    }
}

}  // namespace
}  // namespace hexmoor::testing
