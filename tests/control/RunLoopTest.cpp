// One pass of the run loop in every run state, with and without an interrupt vector.
#include <gmock/gmock.h>

#include "core/Hex.h"
#include "support/TestMachine.h"

namespace hexmoor::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::StartsWith;

constexpr uint16_t kCode = 0x2000;

// A machine with code at $2000 (a NOP), the stack at $01FF and every vector pointing
// somewhere of its own: $FFxx -> $30xx.
struct TPassMachine : TTestMachine {
    TPassMachine() {
        TMachine& m = *Machine;
        for (uint32_t vector = 0xFFD6; vector < 0x10000; vector += 2)
            Poke(uint16_t(vector), {0x30, uint8_t(vector)});
        Place(kCode, {0x01});
        m.RegisterSP = 0x01FF;
        m.FlagI = m.FlagX = false;
        m.CycleCount = 100;
    }
};

TEST(RunLoop, NormalStateExecutesOneInstruction) {
    TPassMachine t;
    t.Machine->RunPass();
    EXPECT_EQ(t.Machine->RegisterPC, kCode + 1);
    EXPECT_EQ(t.Machine->CycleCount, 102);
    EXPECT_EQ(t.Machine->RunState, RunNormal);
}

TEST(RunLoop, BreakPointStopsBeforeTheInstruction) {
    TPassMachine t;
    TMachine& m = *t.Machine;
    m.SetBreakPointAddress(kCode);
    m.Panel.RunningLed.Lit = true;
    m.RunPass();
    EXPECT_EQ(m.RegisterPC, kCode);
    EXPECT_EQ(m.CycleCount, 100);
    EXPECT_FALSE(m.Panel.RunningLed.Lit);
    ASSERT_EQ(t.Panel.Messages.size(), 1u);
    EXPECT_EQ(t.Panel.Messages[0].Text, "BreakPoint");
    EXPECT_EQ(t.Panel.Messages[0].Kind, TMessageKind::BreakPoint);
}

TEST(RunLoop, ResetStates) {
    struct Case {
        uint8_t state;
        const char* dialog;
        uint16_t pc;
    } cases[] = {
        {RunExternalReset, "External Reset", 0x30FE},
        {RunClockMonitorReset, "Clock Monitor Fail Reset", 0x30FC},
        {RunCopReset, "COP Watchdog Timeout Reset", 0x30FA},
    };
    for (const Case& c : cases) {
        TPassMachine t;
        TMachine& m = *t.Machine;
        m.RunState = c.state;
        m.RunPass();
        EXPECT_EQ(m.RegisterPC, c.pc) << c.dialog;
        EXPECT_EQ(m.RunState, RunNormal) << c.dialog;
        EXPECT_EQ(m.CycleCount, 3) << "a reset pass adds no cycles";
        EXPECT_EQ(t.Panel.MessageTexts(), std::vector<std::string>{c.dialog});
    }
}

TEST(RunLoop, ResetRequestBecomesAnExternalReset) {
    TPassMachine t;
    TMachine& m = *t.Machine;
    m.ResetButtonClick();
    m.RunPass();
    EXPECT_EQ(m.RegisterPC, 0x30FE);
    EXPECT_FALSE(m.ResetRequest);
}

TEST(RunLoop, InterruptEntryStacksAndTakesTheVector) {
    TPassMachine t;
    TMachine& m = *t.Machine;
    m.IrqButtonClick();
    m.RunPass();
    EXPECT_EQ(m.RegisterPC, 0x30F2);
    EXPECT_EQ(m.RegisterSP, 0x01F6);
    EXPECT_EQ(t.Word(0x01FE), kCode) << "the interrupted instruction is the return address";
    EXPECT_TRUE(m.FlagI);
    EXPECT_FALSE(m.FlagX);
    EXPECT_EQ(m.CycleCount, 111);
    EXPECT_EQ(m.ChangeMask, 0x3010);
    EXPECT_EQ(m.RunState, RunNormal);
    EXPECT_EQ(m.PendingInterrupts & IntIRQ, 0) << "one click, one interrupt";
}

TEST(RunLoop, XirqEntrySetsX) {
    TPassMachine t;
    TMachine& m = *t.Machine;
    m.FlagI = true;
    m.XIrqButtonClick();
    m.RunPass();
    EXPECT_EQ(m.RegisterPC, 0x30F4);
    EXPECT_TRUE(m.FlagX);
    EXPECT_TRUE(m.FlagI);
    EXPECT_FALSE(m.XirqLatch);
}

TEST(RunLoop, WaitingPassesOneCycleUntilAnInterruptWakesIt) {
    TPassMachine t;
    TMachine& m = *t.Machine;
    t.Place(kCode, {0x3E});  // WAI
    m.RunPass();
    ASSERT_EQ(m.RunState, RunWaiting);
    const int64_t afterWai = m.CycleCount;
    m.RunPass();
    m.RunPass();
    EXPECT_EQ(m.CycleCount, afterWai + 2);
    t.Panel.Messages.clear();

    m.IrqButtonClick();
    m.RunPass();
    EXPECT_EQ(m.RegisterPC, 0x30F2);
    EXPECT_EQ(m.RegisterSP, 0x01F6) << "WAI stacked already";
    EXPECT_EQ(m.CycleCount, afterWai + 3);
    EXPECT_EQ(m.RunState, RunNormal);
    EXPECT_TRUE(m.FlagI);
    EXPECT_EQ(m.Panel.StatusLed.LitColour, kLime);
    EXPECT_EQ(m.Panel.StatusLed.Hint, " Normal Mode ");
    EXPECT_EQ(t.Panel.MessageTexts(), std::vector<std::string>{" Out of Wait "});
}

TEST(RunLoop, StoppedMachineWakesOnlyForXirqAndIrq) {
    struct Case {
        const char* name;
        bool x;
        void (*request)(TMachine&);
        uint16_t pc;
        uint8_t state;
        const char* warning;
    } cases[] = {
        {"nothing pending", false, [](TMachine&) {}, kCode, RunStopped, nullptr},
        {"XIRQ with X clear", false, [](TMachine& m) { m.XIrqButtonClick(); }, 0x30F4,
         RunNormal, "Out of Stop, XIRQ"},
        {"XIRQ with X set", true, [](TMachine& m) { m.XIrqButtonClick(); }, kCode + 1,
         RunNormal, "Out of Stop, NOP"},
        {"IRQ", false, [](TMachine& m) { m.IrqButtonClick(); }, 0x30F2, RunNormal,
         "Out of Stop, IRQ"},
        {"another source", false,
         [](TMachine& m) {
             m.PendingInterrupts |= IntRTI;
             m.EnabledInterrupts |= IntRTI;
         },
         kCode, RunStopped, "Spurious Interrupt during Stop Mode"},
    };
    for (const Case& c : cases) {
        TPassMachine t;
        TMachine& m = *t.Machine;
        t.Place(kCode, {0xCF});  // STOP
        m.FlagS = false;
        m.RunPass();
        ASSERT_EQ(m.RunState, RunStopped) << c.name;
        const int64_t stoppedAt = m.CycleCount;
        t.Panel.Messages.clear();
        m.FlagX = c.x;
        c.request(m);
        m.RunPass();
        EXPECT_EQ(m.RegisterPC, c.pc) << c.name;
        EXPECT_EQ(m.RunState, c.state) << c.name;
        if (c.warning)
            EXPECT_EQ(t.Panel.MessageTexts(), std::vector<std::string>{c.warning}) << c.name;
        else
            EXPECT_THAT(t.Panel.Messages, IsEmpty()) << c.name;
        // The Status LED shows lime again whenever the CPU leaves STOP.
        const bool left = c.state == RunNormal;
        EXPECT_EQ(m.Panel.StatusLed.LitColour, left ? kLime : kYellow) << c.name;
        EXPECT_THAT(m.Panel.StatusLed.Hint,
                    StartsWith(left ? " Normal Mode " : " The CPU is in STOP Mode")) << c.name;
        EXPECT_TRUE(m.Panel.StatusLed.Lit) << c.name;
        if (c.pc >= 0x3000) {
            EXPECT_EQ(t.Word(0x01FE), kCode + 1) << c.name << ": returns after the STOP";
            EXPECT_EQ(m.CycleCount, stoppedAt + 11) << c.name;
            EXPECT_TRUE(m.FlagI && (m.FlagX || c.pc == 0x30F2)) << c.name;
        } else {
            EXPECT_EQ(m.CycleCount, stoppedAt) << c.name << ": time stands still";
        }
    }
}

TEST(RunLoop, AnInterruptReplacesAPendingWatchdogReset) {
    TPassMachine t;
    TMachine& m = *t.Machine;
    t.Poke(0x30F2, {0x01});  // the handler starts with a NOP
    m.RunState = RunCopReset;
    m.IrqButtonClick();
    m.RunPass();
    EXPECT_EQ(m.RegisterPC, 0x30F2);
    m.RunPass();
    EXPECT_EQ(m.RegisterPC, 0x30F2 + 1) << "the replaced reset is not raised again";
}

// Reset clicked together with Stop while the CPU sits in WAI or STOP: the reset then
// happens after the loop, outside a pass, and must still leave the CPU running.
TEST(RunLoop, ResetAfterTheLoopLeavesWaitAndStop) {
    for (const uint8_t opcode : {uint8_t(0x3E), uint8_t(0xCF)}) {
        SCOPED_TRACE(opcode == 0x3E ? "WAI" : "STOP");
        TPassMachine t;
        TMachine& m = *t.Machine;
        t.Place(kCode, {opcode});
        t.Poke(0x30FE, {0x01, 0x01});  // NOPs at the reset vector's target
        m.FlagS = false;
        m.FlagI = true;
        m.Panel.TraceMenu.Checked = true;
        m.Panel.RunningLed.Enabled = m.Panel.StepLed.Enabled = true;
        t.Panel.OnPump = [&] {
            if (m.Panel.StatusLed.Hint == kNormalModeHint) return;
            m.ResetButtonClick();
            m.RunClick();  // Stop
        };
        t.Panel.OnWaitForEvents = t.Panel.OnPump;
        m.RunClick();
        EXPECT_EQ(m.Panel.StatusLed.Hint, kNormalModeHint);
        EXPECT_EQ(m.Panel.StatusLed.LitColour, kLime);
        EXPECT_EQ(m.RegisterPC, 0x30FE);
        m.StepLedClick();
        EXPECT_EQ(m.RegisterPC, 0x30FF) << "the first step executes the instruction at the vector";
    }
}

// An untraced run shows its registers and cycles while it goes, not only when it stops;
// the next instruction's line and the log wait for the stop.
TEST(RunLoop, UntracedRunsShowRegistersWhileTheyGo) {
    TPassMachine t;
    TMachine& m = *t.Machine;
    t.Place(kCode, {0x08, 0x20, 0xFD});  // loop: INX; BRA loop
    m.Panel.TraceMenu.Checked = false;
    m.Panel.RunningLed.Enabled = m.Panel.StepLed.Enabled = true;
    const std::string cyclesBefore = m.Panel.CyclesValueLabel;
    std::string instructionShown;
    t.Panel.OnPump = [&] {
        if (m.Panel.CyclesValueLabel == cyclesBefore || m.Panel.RegisterXDisplay.Text == "0000") return;
        instructionShown = m.Panel.InstructionLabel;
        m.RunClick();  // Stop: the read-outs moved during the run
    };
    m.RunClick();
    EXPECT_EQ(instructionShown, "") << "no trace line during an untraced run";
    EXPECT_EQ(m.Panel.RegisterXDisplay.Text, Hex4(m.RegisterX));
}

}  // namespace
}  // namespace hexmoor::testing
