// Going back in time: a machine that ran on and came back is the machine that
// stopped there, whatever the outside world did meanwhile; going forward again
// replays what it did.
#include <gmock/gmock.h>

#include <fstream>
#include <functional>
#include <memory>

#include "debug/DebugSession.h"
#include "debug/SymbolFiles.h"
#include "state/MachineState.h"
#include "support/TempFolder.h"
#include "support/TestMachine.h"

namespace hexmoor::testing {
namespace {

using ::testing::IsEmpty;

// An outside act at an instruction count, made through the machine's own entry
// points.
struct TAct {
    uint64_t At;
    std::function<void(TMachine&)> Act;
};

void Type(TMachine& m, const std::string& keys) {
    for (char key : keys) m.FormKeyPress(uint8_t(key));
}

// Runs in untraced slices to `count`, acting as the acts say on the way.
void RunTo(TMachine& m, uint64_t count, const std::vector<TAct>& acts) {
    m.Panel.RunningLed.Lit = true;
    for (const TAct& act : acts) {
        if (act.At < m.InstructionCount || act.At > count) continue;
        for (int slice = 0; slice < 100'000 && m.InstructionCount < act.At; ++slice)
            m.RunSlice(TRunLimits{act.At}, 4096);
        act.Act(m);
    }
    for (int slice = 0; slice < 100'000 && m.InstructionCount < count; ++slice) m.RunSlice(TRunLimits{count}, 4096);
    m.Panel.RunningLed.Lit = false;  // stopped, as a debugger finds it
    // Twice: the read-outs' colours mark what changed since they were last shown, and
    // going back changes what that was.
    m.ShowWhereStopped();
    m.ShowWhereStopped();
    ASSERT_EQ(m.InstructionCount, count) << "the program stopped early";
}

enum class TWay { GoBackTo, StepBack };

struct TBackCase {
    const char* Name;
    const char* Program;
    std::vector<uint8_t> Setup;  // at $5000
    std::vector<TAct> Acts;
    uint64_t N, M;
    TWay Way;
};

void PrintTo(const TBackCase& c, std::ostream* os) { *os << c.Name; }

class GoingBack : public ::testing::TestWithParam<TBackCase> {};

// Straight to N: snapshot A. Recording, on to M, back to N: snapshot B, equal
// to A. Forward again to M replays the recorded acts: the machine is the one
// that first reached M, and the terminal shows nothing twice.
TEST_P(GoingBack, ComesBackToTheMachineThatStoppedThere) {
    const TBackCase& c = GetParam();
    TTestMachine straight;
    straight.LoadThroughPanel(c.Program);
    straight.Poke(0x5000, c.Setup);
    RunTo(*straight.Machine, c.N, c.Acts);
    const auto atN = std::make_unique<TMachineState>(CaptureState(*straight.Machine));

    TTestMachine t;
    t.LoadThroughPanel(c.Program);
    t.Poke(0x5000, c.Setup);
    TDebugSession session(*t.Machine, {});
    session.Record(true);
    session.Timeline()->SetSpacing(7'000);
    std::vector<std::string> messages;
    session.OnTimelineMessage = [&](const std::string& message) { messages.push_back(message); };
    RunTo(*t.Machine, c.M, c.Acts);
    const auto atM = std::make_unique<TMachineState>(CaptureState(*t.Machine));
    const std::string writtenAtM = t.Panel.Written;

    if (c.Way == TWay::GoBackTo) {
        ASSERT_EQ(session.GoBackTo(c.N), "");
    } else {
        for (int step = 0; step < 100 && t.Machine->TimePoint() != straight.Machine->TimePoint(); ++step)
            ASSERT_EQ(session.StepBack(), "") << "at instruction " << t.Machine->InstructionCount;
    }
    EXPECT_THAT(StateDifferences(*atN, CaptureState(*t.Machine)), IsEmpty());

    RunTo(*t.Machine, c.M, {});
    // A hidden memory read-out keeps the colour it had when last shown: before going back.
    EXPECT_THAT(StateDifferences(*atM, CaptureState(*t.Machine)),
                ::testing::Each(::testing::StartsWith("Panel.MemoryWordDisplay.Colour")));
    EXPECT_EQ(t.Panel.Written, writtenAtM);
    EXPECT_THAT(messages, IsEmpty());
}

const std::vector<TAct> kTypedAtCounts = {
    {41'003, [](TMachine& m) { Type(m, "abc"); }},
    {59'500, [](TMachine& m) { Type(m, "de"); }},
    {140'001, [](TMachine& m) { Type(m, "xyz"); }},
};
const std::vector<TAct> kSerialTyping = {
    {480, [](TMachine& m) { Type(m, "serial"); }},
    {9'700, [](TMachine& m) { Type(m, " line"); }},
};
const std::vector<TAct> kClicksAndSliders = {
    {29'000, [](TMachine& m) { m.InputLedClick(PortAInput, 1); }},
    {29'500, [](TMachine& m) { m.AnalogInputChange(2, 100); }},
    {45'000, [](TMachine& m) { m.IrqButtonClick(); }},
};

INSTANTIATE_TEST_SUITE_P(
    Programs, GoingBack,
    ::testing::Values(
        // The real-time interrupt ticks; keys are typed at the status port the
        // program polls.
        TBackCase{"RtiClockTyped", "rti_clock", {}, kTypedAtCounts, 60'000, 250'000, TWay::GoBackTo},
        TBackCase{"RtiClockStepsBack", "rti_clock", {}, kTypedAtCounts, 140'000, 140'012, TWay::StepBack},
        // Bytes on their way through the SCI both ways.
        TBackCase{"SerialEcho", "sci_echo", {0x03, 0x00}, kSerialTyping, 9'800, 20'000, TWay::GoBackTo},
        TBackCase{"SerialEchoStepsBack", "sci_echo", {0x03, 0x00}, kSerialTyping, 9'701, 9'716, TWay::StepBack},
        // Every timer at once, an input capture, a slider and the IRQ button.
        TBackCase{"TimersAndClicks", "timing_stress", {0x05}, kClicksAndSliders, 30'000, 90'000, TWay::GoBackTo},
        TBackCase{"TimersStepBack", "timing_stress", {0x05}, kClicksAndSliders, 45'000, 45'010, TWay::StepBack}),
    [](const auto& info) { return std::string(info.param.Name); });

// debug_target under a recording session, driven through the run controls as a person would.
struct TRecorded {
    TRecorded() {
        t.LoadThroughPanel("debug_target");
        t.Machine->RunPass();  // the reset after the load
        std::string path = TestProgramPath("debug_target");
        session.Debugger().Symbols = LoadSymbolsFor(path.replace(path.size() - 3, 3, "elf")).Table;
        session.Record(true);
        session.Timeline()->SetSpacing(50);
        session.OnTimelineMessage = [this](const std::string& message) { messages.push_back(message); };
    }
    uint16_t At(const char* name) { return *session.Debugger().Symbols.Find(name); }
    void Run() {
        t.Machine->RunClick();
        session.TakeStop();
    }
    void StepUntil(uint16_t pc) {
        for (int step = 0; step < 200 && t.Machine->RegisterPC != pc; ++step) t.Machine->StepLedClick();
        ASSERT_EQ(t.Machine->RegisterPC, pc);
    }
    std::unique_ptr<TMachineState> Here() const { return std::make_unique<TMachineState>(CaptureState(*t.Machine)); }

    TTestMachine t;
    TDebugSession session{*t.Machine, nullptr};
    std::vector<std::string> messages;
};

// Stepped into `twice` and back out of it: Step Back Over returns to before its JSR.
TEST(GoingBackOver, AReturnGoesBackPastTheWholeCall) {
    TRecorded r;
    const uint16_t call = uint16_t(r.At("loop") + 3);  // jsr twice, after inc count
    r.StepUntil(call);
    const auto beforeCall = r.Here();
    r.StepUntil(uint16_t(call + 3));  // back from twice (and from double inside it)
    ASSERT_EQ(r.session.StepBackOver(), "");
    EXPECT_THAT(StateDifferences(*beforeCall, *r.Here()), IsEmpty());
    ASSERT_EQ(r.session.StepBackOver(), "");  // no return just before: one step
    EXPECT_EQ(r.t.Machine->RegisterPC, r.At("loop"));
}

// Run Back finds the last stop before now; with none before it, the oldest point held. A
// run from a stop it went back to goes on through the recording to the same next stop.
TEST(GoingBackOver, RunBackGoesToTheLastStopBeforeNow) {
    TRecorded r;
    ASSERT_EQ(r.session.AddBreakpoint("double"), "");
    r.Run();
    const auto firstStop = r.Here();
    const TTimePoint first = r.t.Machine->TimePoint();
    r.Run();
    const TTimePoint second = r.t.Machine->TimePoint();
    ASSERT_EQ(r.session.RunBack(), "");
    EXPECT_THAT(StateDifferences(*firstStop, *r.Here()), IsEmpty());
    ASSERT_NE(r.session.CurrentStop(), nullptr);
    EXPECT_EQ(r.session.CurrentStop()->Text, "breakpoint at " + r.session.Debugger().Describe(r.At("double")));
    r.Run();
    EXPECT_EQ(r.t.Machine->TimePoint(), second);
    ASSERT_EQ(r.session.GoBackTo(first.Instructions), "");
    ASSERT_EQ(r.session.RunBack(), "");
    EXPECT_EQ(r.t.Machine->TimePoint(), r.session.Timeline()->Oldest());
    EXPECT_THAT(r.messages, IsEmpty());
}

// Who wrote a byte: back to just after the last instruction that wrote it, past the user's
// own breakpoints; a byte no instruction wrote says who set it instead.
TEST(GoingBackOver, WhoWroteFindsTheLastStore) {
    struct TCase {
        uint16_t Address;
        const char* WrittenBy;  // the label of the writing instruction; none: never written
        int Length;             // of that instruction
        const char* Says;
    };
    const TCase cases[] = {
        {0x0040, "loop", 3, ""},           // INC count, extended
        {0x1004, "swi_handler", 6, ""},    // LDAB count, then STAB PORTB, both extended
        {0x0100, nullptr, 0, "no instruction wrote $0100 since the recording began: it holds what was loaded"},
        {0x1030, nullptr, 0, "it is the chip's register ADCTL, which the chip sets"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Address);
        TRecorded r;
        ASSERT_EQ(r.session.AddBreakpoint("halt"), "");
        r.Run();
        ASSERT_EQ(r.t.Machine->RegisterPC, r.At("halt"));
        ASSERT_EQ(r.session.AddBreakpoint("double"), "");  // hit after the last INC: no end to the search
        const uint64_t count = r.t.Machine->InstructionCount;
        const std::string said = r.session.WhoWrote(c.Address);
        if (!c.WrittenBy) {
            EXPECT_THAT(said, ::testing::HasSubstr(c.Says));
            EXPECT_EQ(r.t.Machine->InstructionCount, count) << "the machine stays";
            continue;
        }
        ASSERT_EQ(said, "");
        EXPECT_EQ(r.t.Machine->RegisterPC, r.At(c.WrittenBy) + c.Length);
        ASSERT_NE(r.session.CurrentStop(), nullptr);
        EXPECT_EQ(r.session.CurrentStop()->Kind, TDebugStop::Watchpoint);
        EXPECT_EQ(r.session.Debugger().Watchpoints().size(), 0u) << "its own watchpoint is gone";
        EXPECT_EQ(r.session.Debugger().Breakpoints().size(), 2u);
        EXPECT_TRUE(r.session.Debugger().Breakpoints().back().Enabled);
    }
}

// A click in the past cuts the recorded future off, and says so; the machine goes on live.
TEST(GoingBackOver, AnInputInThePastCutsTheFutureOff) {
    TRecorded r;
    r.StepUntil(r.At("swi_handler"));
    const uint64_t count = r.t.Machine->InstructionCount;
    ASSERT_EQ(r.session.GoBackTo(count - 5), "");
    EXPECT_TRUE(r.session.Timeline()->InPast());
    r.t.Machine->IrqButtonClick();
    ASSERT_EQ(r.messages.size(), 1u);
    EXPECT_THAT(r.messages[0], ::testing::HasSubstr("dropped"));
    EXPECT_FALSE(r.session.Timeline()->InPast());
    EXPECT_NE(r.session.GoBackTo(count), "") << "that future is gone";
}

// An input file's lines are read as the program asks, unrecorded: no going back meanwhile.
TEST(GoingBackOver, NotWhileAnInputFileFeedsTheTerminal) {
    TRecorded r;
    r.StepUntil(r.At("swi_handler"));
    const std::string path = TempPath("lines.txt");
    std::ofstream(path) << "one\ntwo\n";
    ASSERT_TRUE(r.t.Machine->OpenInputFile(path));
    EXPECT_THAT(r.session.StepBack(), ::testing::HasSubstr("input file"));
    r.t.Machine->CloseInputFile();
    EXPECT_EQ(r.session.StepBack(), "");
}

// Snapshots stay within their bound, the oldest going first; before the oldest one cannot go.
TEST(GoingBackOver, SnapshotsKeepToTheirBound) {
    TRecorded r;
    r.session.Timeline()->SetByteBound(4 * sizeof(TMachineState));
    for (int step = 0; step < 400; ++step) r.t.Machine->StepLedClick();
    EXPECT_LE(r.session.Timeline()->BytesHeld(), r.session.Timeline()->ByteBound());
    EXPECT_EQ(r.session.Timeline()->Snapshots(), 3u);
    const uint64_t oldest = r.session.Timeline()->Oldest().Instructions;
    ASSERT_GT(oldest, 1u);
    EXPECT_THAT(r.session.GoBackTo(oldest - 1), ::testing::HasSubstr("oldest point held"));
    EXPECT_EQ(r.session.GoBackTo(oldest + 1), "");
}

}  // namespace
}  // namespace hexmoor::testing
