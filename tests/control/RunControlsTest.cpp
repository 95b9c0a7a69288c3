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
    m.BreakPointAddress = 0x2007;  // STX COUNTER
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
    m.BreakPointAddress = 0x2007;
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
    m.BreakPointAddress = t.EndLoopAddress();
    t.Panel.OnPump = [&] {
        if (m.RunState == RunWaiting) m.IrqButtonClick();
    };
    m.Panel.TraceMenu.Checked = true;  // pumps after every pass
    m.RunClick();
    EXPECT_EQ(m.MemoryImage[0x4000], 3);
    EXPECT_EQ(m.RegisterPC, m.BreakPointAddress);
    EXPECT_EQ(m.RegisterSP, 0x01FF);
    EXPECT_FALSE(m.FlagI) << "RTI brought back the CCR from before the interrupt";
}

}  // namespace
}  // namespace hexmoor::testing
