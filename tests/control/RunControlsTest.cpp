// Run, Step, Reset and the breakpoint as a user drives them, on assembled programs.
#include <gmock/gmock.h>

#include "core/Hex.h"
#include "support/TestMachine.h"

namespace hexmoor::testing {
namespace {

using ::testing::ElementsAre;

TEST(RunControls, NothingRunsBeforeALoad) {
    TTestMachine t;
    t.Machine->RunClick();
    t.Machine->StepLedClick();
    t.Machine->StatusLedClick();
    EXPECT_FALSE(t.Machine->Panel.RunningLed.Lit);
    EXPECT_TRUE(t.Panel.Messages.empty());
    EXPECT_EQ(t.Machine->Panel.RunningLed.Hint, " You must Load a Program First ");
}

TEST(RunControls, FirstStepResetsAndTheNextExecutes) {
    TTestMachine t;
    t.LoadThroughPanel("count_up");
    TMachine& m = *t.Machine;
    m.StepLedClick();
    EXPECT_EQ(t.Panel.MessageTexts(), std::vector<std::string>{"External Reset"});
    EXPECT_EQ(m.RegisterPC, 0x2000);
    EXPECT_EQ(m.Panel.InstructionLabel, "LDS #$01FF");
    m.StepLedClick();
    EXPECT_EQ(m.RegisterSP, 0x01FF);
    EXPECT_EQ(m.Panel.InstructionLabel, "LDX #$0000");
    EXPECT_EQ(m.Panel.RegisterSPDisplay.Text, "01FF");
    EXPECT_EQ(m.CycleCount, 3 + 3);
    EXPECT_FALSE(m.Panel.StepLed.Lit);
    EXPECT_EQ(m.Panel.StepLed.Hint, " Click to Execute One Instruction ");
    EXPECT_TRUE(m.Panel.RunningLed.Enabled);
}

TEST(RunControls, UntracedRunStopsAtTheBreakPoint) {
    TTestMachine t;
    t.LoadThroughPanel("count_up");
    TMachine& m = *t.Machine;
    m.SetBreakPointAddress(0x2007);  // STX COUNTER
    bool stepEnabledDuringRun = true;
    t.Panel.OnMessage = [&](const TShownMessage& message) {
        if (message.Text == "BreakPoint") stepEnabledDuringRun = m.Panel.StepLed.Enabled;
    };
    m.RunClick();
    EXPECT_FALSE(stepEnabledDuringRun);
    EXPECT_THAT(t.Panel.MessageTexts(), ElementsAre("External Reset", "BreakPoint"));
    EXPECT_EQ(m.RegisterPC, 0x2007);
    EXPECT_EQ(m.RegisterX, 1);
    EXPECT_FALSE(m.Panel.RunningLed.Lit);
    EXPECT_TRUE(m.Panel.StepLed.Enabled);
    EXPECT_TRUE(m.Panel.StopMenu.Checked);
    EXPECT_EQ(m.Panel.InstructionLabel, "STX $4000");
    EXPECT_EQ(m.Panel.RegisterXDisplay.Text, "0001");

    m.RunClick();
    EXPECT_EQ(t.Panel.Messages.back().Text, "BreakPoint") << "a run at the breakpoint stops at once";
    EXPECT_EQ(m.RegisterX, 1);
}

TEST(RunControls, TracedRunAtTheBreakPointSaysBothLedsAreOff) {
    TTestMachine t;
    t.LoadThroughPanel("count_up");
    TMachine& m = *t.Machine;
    m.Panel.TraceMenu.Checked = true;
    m.SetBreakPointAddress(0x2007);
    m.RunClick();
    EXPECT_THAT(t.Panel.MessageTexts(),
                ElementsAre("External Reset", "BreakPoint", "Step was Off, Running was Off"));
    EXPECT_GE(t.Panel.Pumps, 3) << "the traced loop handles events after every pass";
    EXPECT_EQ(m.Panel.RunningLed.Hint, " Click to Run the Program \r       (With Trace)       ");
}

TEST(RunControls, StopFromInsideTheRun) {
    TTestMachine t;
    t.LoadThroughPanel("count_up");
    TMachine& m = *t.Machine;
    int stepsDuringRun = 0;
    t.Panel.OnPump = [&] {
        // The Step and Status LEDs cannot start a second loop inside this one.
        m.StepLedClick();
        m.StatusLedClick();
        stepsDuringRun += m.Panel.StepLed.Lit;
        if (m.RegisterX >= 1000) m.RunClick();
    };
    m.RunClick();
    EXPECT_GE(m.RegisterX, 1000);
    EXPECT_EQ(stepsDuringRun, 0);
    EXPECT_FALSE(m.Panel.RunningLed.Lit);
    EXPECT_EQ(m.Panel.RegisterPCDisplay.Text, Hex4(m.RegisterPC)) << "the end of a run refreshes";
    EXPECT_EQ(m.Panel.RegisterXDisplay.Text, Hex4(m.RegisterX));
    EXPECT_EQ(m.Panel.RunningLed.Hint, " Click to Run the Program \r     (Without Trace)      ");
}

TEST(RunControls, ResetDuringARunRestartsTheProgram) {
    TTestMachine t;
    t.LoadThroughPanel("count_up");
    TMachine& m = *t.Machine;
    int pumps = 0;
    t.Panel.OnPump = [&] {
        ++pumps;
        if (pumps == 2) m.ResetButtonClick();
        if (pumps == 3) m.RunClick();
    };
    m.RunClick();
    EXPECT_THAT(t.Panel.MessageTexts(), ElementsAre("External Reset", "External Reset"));
}

TEST(RunControls, BreakPointDialog) {
    TTestMachine t;
    TMachine& m = *t.Machine;
    t.Panel.BreakPointAnswer = "2a0f";
    m.SetBreakPointMenuClick();
    EXPECT_EQ(t.Panel.BreakPointShown, "") << "no breakpoint shows an empty edit";
    EXPECT_EQ(m.BreakPointAddress, 0x2A0F);

    t.Panel.BreakPointAnswer = "12G";
    m.SetBreakPointMenuClick();
    EXPECT_EQ(t.Panel.BreakPointShown, "2A0F");
    EXPECT_EQ(t.Panel.MessageTexts(), std::vector<std::string>{"'$12G' is not a valid integer value"});
    EXPECT_EQ(m.BreakPointAddress, 0x2A0F);

    t.Panel.BreakPointAnswer.reset();  // Cancel
    m.SetBreakPointMenuClick();
    EXPECT_EQ(m.BreakPointAddress, 0x2A0F);

    t.Panel.BreakPointAnswer = "";
    m.SetBreakPointMenuClick();
    EXPECT_EQ(m.BreakPointAddress, kNoBreakPoint);
}

TEST(RunControls, IrqWakesWaitAndReturnsThroughRti) {
    TTestMachine t;
    t.LoadThroughPanel("irq_wakes_wai");
    TMachine& m = *t.Machine;
    m.Panel.WarningsMenu.Checked = false;
    m.SetBreakPointAddress(t.EndLoopAddress());
    t.Panel.OnPump = [&] {
        if (m.RunState == RunWaiting) m.IrqButtonClick();
    };
    t.Panel.OnWaitForEvents = t.Panel.OnPump;  // a WAI only the click ends waits for it
    m.Panel.TraceMenu.Checked = true;  // pumps after every pass
    m.RunClick();
    EXPECT_EQ(m.MemoryImage[0x4000], 3);
    EXPECT_EQ(m.RegisterPC, m.BreakPointAddress);
    EXPECT_EQ(m.RegisterSP, 0x01FF);
    EXPECT_FALSE(m.FlagI) << "RTI brought back the CCR from before the interrupt";
}


// What the run controls show: each LED's state, colours and hint, and the menu items.
struct TLedLook {
    bool Enabled, Lit;
    TLedScheme Scheme;
    std::string Hint;
};
struct TControlsLook {
    TLedLook Running, Step, Loaded;
    bool LoadMenu, TraceMenu;
    TMenuItem Start, Stop;
};

void ExpectLed(const TLed& led, const TLedLook& look, const char* name) {
    SCOPED_TRACE(name);
    EXPECT_EQ(led.Enabled, look.Enabled);
    EXPECT_EQ(led.Lit, look.Lit);
    EXPECT_EQ(led.UnlitColour, look.Scheme.Unlit);
    EXPECT_EQ(led.LitColour, look.Scheme.Lit);
    EXPECT_EQ(led.Hint, look.Hint);
}

void ExpectControls(const TPanelState& p, const TControlsLook& look) {
    ExpectLed(p.RunningLed, look.Running, "Running LED");
    ExpectLed(p.StepLed, look.Step, "Step LED");
    ExpectLed(p.LoadedLed, look.Loaded, "Loaded LED");
    EXPECT_EQ(p.LoadMenu.Enabled, look.LoadMenu) << "Load item";
    EXPECT_EQ(p.TraceMenu.Enabled, look.TraceMenu) << "Trace item";
    EXPECT_EQ(p.StartMenu, look.Start) << "Start item";
    EXPECT_EQ(p.StopMenu, look.Stop) << "Stop item";
}

std::string RunHint(bool trace) {
    return trace ? " Click to Run the Program \r       (With Trace)       "
                 : " Click to Run the Program \r     (Without Trace)      ";
}

TControlsLook IdleLook(bool trace) {
    return {{true, false, kActiveScheme, RunHint(trace)},
            {true, false, kActiveScheme, " Click to Execute One Instruction "},
            {true, true, kActiveScheme, " Click to Load Another Program "},
            true, true, {true, false}, {true, true}};
}

TEST(RunControls, WhatRunStepAndLoadDisableAndEnableAgain) {
    const TControlsLook running{{true, true, kActiveScheme, " Click to Stop the program "},
                                {false, false, kDisabledScheme, " Moor Running "},
                                {false, true, kDisabledScheme, " Moor Running "},
                                false, false, {true, true}, {true, false}};
    const TControlsLook stepping{{false, false, kDisabledScheme, " Step in Progress "},
                                 {true, true, kActiveScheme, " Step in Progress "},
                                 {false, true, kDisabledScheme, " Step in Progress "},
                                 false, true, {false, false}, {false, true}};
    const TControlsLook loading{{false, false, kDisabledScheme, RunHint(false)},
                                {false, false, kDisabledScheme, " Click to Execute One Instruction "},
                                {true, false, kActiveScheme, " Loading in Progress "},
                                false, true, {false, false}, {false, true}};
    struct Case {
        const char* name;
        bool trace;
        void (*act)(TTestMachine&);
        const TControlsLook& during;
    } cases[] = {
        {"untraced run", false, [](TTestMachine& t) { t.Machine->RunClick(); }, running},
        {"traced run", true, [](TTestMachine& t) { t.Machine->RunClick(); }, running},
        {"step", false, [](TTestMachine& t) { t.Machine->StepLedClick(); }, stepping},
        {"step by the Status LED", true, [](TTestMachine& t) { t.Machine->StatusLedClick(); },
         stepping},
        {"load", false, [](TTestMachine& t) { t.LoadThroughPanel("count_up"); }, loading},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TTestMachine t;
        t.LoadThroughPanel("count_up");
        TMachine& m = *t.Machine;
        m.Panel.TraceMenu.Checked = c.trace;
        std::vector<TPanelState> seen;  // from inside the loop or the load
        t.Panel.OnMessage = [&](const TShownMessage&) { seen.push_back(m.Panel); };
        t.Panel.OnPump = [&] {
            seen.push_back(m.Panel);
            if (m.Panel.RunningLed.Lit) m.RunClick();
        };
        c.act(t);
        ASSERT_FALSE(seen.empty());
        for (const TPanelState& during : seen) ExpectControls(during, c.during);
        ExpectControls(m.Panel, IdleLook(c.trace));
    }
}

// The echo program reads the terminal with nothing typed; the click ends the wait and the
// read is abandoned: PC stays on it and nothing is read. Going on runs it again, and the
// program gets only the key typed then: nobody typed a $00.
TEST(RunControls, ClicksThatReleaseATerminalWait) {
    struct Case {
        const char* name;
        void (*start)(TMachine&);
        void (*click)(TMachine&);
        int waits;
        std::vector<std::string> messages;
        uint16_t pc;
    } cases[] = {
        {"lit Step LED", [](TMachine& m) { m.StepLedClick(); },
         [](TMachine& m) { m.StepLedClick(); }, 1, {}, 0x2003},
        {"Status LED during the step", [](TMachine& m) { m.StepLedClick(); },
         [](TMachine& m) { m.StatusLedClick(); }, 1, {}, 0x2003},
        {"Reset during the step", [](TMachine& m) { m.StepLedClick(); },
         [](TMachine& m) { m.ResetButtonClick(); }, 1, {"External Reset"}, 0x2000},
        {"Stop during a run", [](TMachine& m) { m.RunClick(); },
         [](TMachine& m) { m.RunClick(); }, 1, {}, 0x2003},
        {"Reset during a run", [](TMachine& m) { m.RunClick(); },
         [](TMachine& m) { m.ResetButtonClick(); }, 2, {"External Reset"}, 0x2003},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TTestMachine t;
        t.LoadThroughPanel("echo");
        TMachine& m = *t.Machine;
        m.StepLedClick();  // the reset
        m.StepLedClick();  // LDS: the next instruction reads the terminal
        const int64_t cycles = m.CycleCount;
        t.Panel.Messages.clear();
        t.Panel.OnWaitForEvents = [&] {
            if (t.Panel.Waits == 1) c.click(m);
            else if (m.Panel.RunningLed.Lit) m.RunClick();  // a run that went on: stop it
            if (t.Panel.Waits >= 4) m.InputBuffer.Assign("x");    // the wait was never released
        };
        c.start(m);
        EXPECT_EQ(t.Panel.Waits, c.waits);
        EXPECT_EQ(t.Panel.MessageTexts(), c.messages);
        EXPECT_EQ(m.RegisterPC, c.pc);
        if (c.messages.empty()) {
            EXPECT_EQ(m.CycleCount, cycles) << "the abandoned read took no time";
        }
        EXPECT_FALSE(m.Panel.StepLed.Lit);
        EXPECT_FALSE(m.Panel.RunningLed.Lit);

        // Run again: B typed at the first wait, Stop at the next.
        t.Panel.Waits = 0;
        t.Panel.OnWaitForEvents = [&] {
            if (t.Panel.Waits == 1) m.FormKeyPress('B');
            else m.RunClick();
        };
        m.RunClick();
        EXPECT_EQ(t.Panel.Written, "B");
        EXPECT_EQ(m.RegisterPC, 0x2003);
    }
}

TEST(RunControls, StepAtTheBreakPointExecutesNothing) {
    struct Case {
        int32_t breakPoint;
        uint16_t pc;
        int cycles;
        std::vector<std::string> messages;
    } steps[] = {
        {0x2003, 0x2003, 0, {"BreakPoint"}},
        {0x2003, 0x2003, 0, {"BreakPoint"}},  // again: the breakpoint holds the step
        {kNoBreakPoint, 0x2006, 3, {}},
    };
    TTestMachine t;
    t.LoadThroughPanel("count_up");
    TMachine& m = *t.Machine;
    m.StepLedClick();
    m.StepLedClick();  // LDS
    int i = 0;
    for (const Case& c : steps) {
        SCOPED_TRACE("step " + std::to_string(++i));
        t.Panel.Messages.clear();
        m.SetBreakPointAddress(c.breakPoint);
        const int64_t cycles = m.CycleCount;
        m.StepLedClick();
        EXPECT_EQ(t.Panel.MessageTexts(), c.messages) << "a step never warns that both LEDs are off";
        EXPECT_EQ(m.RegisterPC, c.pc);
        EXPECT_EQ(m.CycleCount, cycles + c.cycles);
        EXPECT_EQ(m.Panel.RegisterPCDisplay.Text, Hex4(c.pc));
        ExpectControls(m.Panel, IdleLook(false));
    }
}

// No read-out follows an untraced run, so its end rewrites all of them, also those of
// registers the last instruction did not touch.
TEST(RunControls, UntracedRunEndsWithEveryReadoutRewritten) {
    for (bool byBreakPoint : {true, false}) {
        SCOPED_TRACE(byBreakPoint ? "breakpoint" : "Stop");
        TTestMachine t;
        t.LoadThroughPanel("count_up");
        TMachine& m = *t.Machine;
        m.StepLedClick();
        m.StepLedClick();  // LDS
        m.RegisterA = 0x12;
        m.RegisterB = 0x34;
        m.RegisterY = 0x5678;
        TPanelState& p = m.Panel;
        TReadout* readouts[] = {&p.RegisterADisplay, &p.RegisterBDisplay, &p.RegisterXDisplay,
                                &p.RegisterYDisplay, &p.RegisterSPDisplay, &p.RegisterPCDisplay,
                                &p.RegisterCCRDisplay};
        for (TReadout* readout : readouts) readout->Text = "--";
        p.CyclesValueLabel = "--";
        if (byBreakPoint) m.SetBreakPointAddress(0x2007);
        t.Panel.OnPump = [&] { m.RunClick(); };
        m.RunClick();
        const std::string ccr = std::string("~LS~LX~RH~LI") + (m.FlagN ? "~LN" : "~RN") +
                                (m.FlagZ ? "~LZ" : "~RZ") + "~RV~RC";
        const std::string expected[] = {"12",  "34", Hex4(m.RegisterX), "5678", "01FF",
                                        Hex4(m.RegisterPC), ccr};
        for (int r = 0; r < 7; ++r) EXPECT_EQ(readouts[r]->Text, expected[r]) << "read-out " << r;
        EXPECT_EQ(p.CyclesValueLabel, CycleText(m.CycleCount));
        if (byBreakPoint) {
            EXPECT_EQ(p.InstructionLabel, "STX $4000");
        }
    }
}

// Reset and Stop clicked in the same pump: the traced run performs the reset on its way
// out; the untraced one leaves it to the next pass of a loop.
TEST(RunControls, ResetClickedInTheLastPass) {
    struct Case {
        bool trace;
        std::vector<std::string> messages;
        uint16_t pcAfterNextStep;
    } cases[] = {
        {true, {"External Reset", "External Reset"}, 0x2003},
        {false, {"External Reset"}, 0x2000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.trace ? "traced" : "untraced");
        TTestMachine t;
        t.LoadThroughPanel("count_up");
        TMachine& m = *t.Machine;
        m.Panel.TraceMenu.Checked = c.trace;
        t.Panel.OnPump = [&] {
            m.ResetButtonClick();
            m.RunClick();
        };
        m.RunClick();
        EXPECT_EQ(t.Panel.MessageTexts(), c.messages);
        if (c.trace) {
            EXPECT_EQ(m.RegisterPC, 0x2000);
            EXPECT_EQ(m.Panel.InstructionLabel, "LDS #$01FF");
        }
        t.Panel.OnPump = nullptr;
        m.StepLedClick();
        EXPECT_EQ(m.RegisterPC, c.pcAfterNextStep);
    }
}

}  // namespace
}  // namespace hexmoor::testing
