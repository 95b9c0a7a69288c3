// Snapshots of the whole machine: a machine restored from one runs on exactly as the one
// captured, the field lists leave nothing out, and differences are told in words.
#include <gmock/gmock.h>

#include <functional>
#include <memory>
#include <stdexcept>

#include "state/FieldLists.h"
#include "state/MachineState.h"
#include "state/PanelFields.h"
#include "state/StateFile.h"
#include "support/TestMachine.h"

namespace hexmoor::testing {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Not;

// Runs a machine in untraced slices, as the runner and the window do, acting for the
// outside world (keys, clicks, sliders) once when the instruction count reaches `actAt`.
class TDriver {
public:
    TDriver(TMachine& machine, uint64_t actAt, std::function<void(TMachine&)> act)
        : m_(machine), actAt_(actAt), act_(std::move(act)), acted_(machine.InstructionCount > actAt) {}

    void RunTo(uint64_t count) {
        for (int slice = 0; slice < 100'000 && m_.InstructionCount < count; ++slice) {
            if (!acted_ && m_.InstructionCount == actAt_) {
                act_(m_);
                acted_ = true;
            }
            m_.RunSlice(TRunLimits{acted_ ? count : std::min(count, actAt_)}, 4096);
        }
        ASSERT_EQ(m_.InstructionCount, count) << "the program stopped early";
    }

private:
    TMachine& m_;
    uint64_t actAt_;
    std::function<void(TMachine&)> act_;
    bool acted_;
};

struct TReplayCase {
    const char* Name;
    const char* Program;
    std::vector<uint8_t> Setup;  // at $5000
    uint64_t ActAt, N, M;
    std::function<void(TMachine&)> Act;
};

void Type(TMachine& m, const std::string& keys) {
    for (char key : keys) m.FormKeyPress(uint8_t(key));
}

void LoadAndStart(TTestMachine& t, const TReplayCase& c) {
    t.LoadThroughPanel(c.Program);
    t.Poke(0x5000, c.Setup);
    t.Machine->Panel.RunningLed.Lit = true;
}

class SnapshotReplay : public ::testing::TestWithParam<TReplayCase> {};

// Run to N and capture; run on to M and capture. A fresh machine given the N snapshot, in
// memory or through a state file's bytes, and the same outside acts, reaches the M
// snapshot exactly and writes what the first wrote after N.
TEST_P(SnapshotReplay, ARestoredMachineRunsOnAsTheCapturedOne) {
    const TReplayCase& c = GetParam();
    TTestMachine original;
    LoadAndStart(original, c);
    TDriver driver(*original.Machine, c.ActAt, c.Act);
    driver.RunTo(c.N);
    const auto atN = std::make_unique<TMachineState>(CaptureState(*original.Machine));
    const std::size_t writtenAtN = original.Panel.Written.size();
    driver.RunTo(c.M);
    const auto atM = std::make_unique<TMachineState>(CaptureState(*original.Machine));
    ASSERT_THAT(StateDifferences(*atN, *atM, 1), Not(IsEmpty())) << "the program did nothing between N and M";

    std::string error;
    const auto file = std::make_unique<TStateFile>();
    file->State = *atN;
    const auto read = std::make_unique<TStateFile>();
    ASSERT_EQ(ParseStateFile(StateFileBytes(*file, error), *read), "");
    for (const TMachineState* snapshot : {atN.get(), &read->State}) {
        SCOPED_TRACE(snapshot == atN.get() ? "in memory" : "through a state file");
        TTestMachine restored;
        LoadAndStart(restored, c);
        restored.Panel.Changes.clear();
        RestoreState(*restored.Machine, *snapshot);
        EXPECT_THAT(StateDifferences(*atN, CaptureState(*restored.Machine)), IsEmpty());
        // The window repaints what the snapshot shows: the port LEDs, the screen, the read-outs.
        for (TPanelItem item : {TPanelItem::Ports, TPanelItem::TerminalScreen, TPanelItem::Readouts,
                                TPanelItem::StatusLed, TPanelItem::TypedInput})
            EXPECT_THAT(restored.Panel.Changes, Contains(item));
        TDriver replay(*restored.Machine, c.ActAt, c.Act);
        replay.RunTo(c.M);
        EXPECT_THAT(StateDifferences(*atM, CaptureState(*restored.Machine)), IsEmpty());
        EXPECT_EQ(restored.Panel.Written, original.Panel.Written.substr(writtenAtN));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Programs, SnapshotReplay,
    ::testing::Values(
        // Every timer at once; the outside world captures an edge and moves a slider.
        TReplayCase{"TimersAndInterrupts", "timing_stress", {0x05}, 40'000, 30'000, 90'000,
                    [](TMachine& m) {
                        m.InputCaptureClick(1);
                        m.AnalogInputChange(2, 100);
                    }},
        TReplayCase{"WaiPulsesAndCop", "timing_stress", {0x93}, 1'000, 20'000, 60'000,
                    [](TMachine& m) { m.InputCaptureClick(0); }},
        TReplayCase{"OutputCompareInterrupts", "oc2_counter", {}, 100, 700, 5'000, [](TMachine&) {}},
        // Keys typed before the snapshot wait in the input buffer; the RTI clock prints stars.
        TReplayCase{"RtiClockWithTypedInput", "rti_clock", {}, 10, 60'000, 250'000,
                    [](TMachine& m) { Type(m, std::string(3000, 'k')); }},
        TReplayCase{"KeysTypedAfterTheSnapshot", "rti_clock", {}, 70'000, 60'000, 250'000,
                    [](TMachine& m) { Type(m, "typed"); }},
        // Bytes on their way through the SCI, both ways, when the snapshot is taken.
        TReplayCase{"SerialEcho", "sci_echo", {0x03, 0x00}, 500, 2'000, 20'000,
                    [](TMachine& m) { Type(m, "serial line"); }}),
    [](const auto& info) { return std::string(info.param.Name); });

// Marks the bytes of the fields a list names, kept or omitted.
struct TListedBytes {
    const unsigned char* Base;
    std::vector<bool>& Listed;
    template <class F>
    void Field(const char*, const F& field) {
        const auto at = reinterpret_cast<const unsigned char*>(&field) - Base;
        std::fill(Listed.begin() + at, Listed.begin() + at + std::ptrdiff_t(sizeof(F)), true);
    }
    template <class F>
    void Omit(const char* name, const F& field) {
        Field(name, field);
    }
};

// Every byte of a plain part is a listed field (kept or omitted) or padding, which no
// comparison of the part sees: a field added to a struct without its list fails here.
template <class P>
void ExpectEveryFieldListed(const char* name) {
    static_assert(std::is_trivially_copyable_v<P>);
    const auto part = std::make_unique<P>();
    std::vector<bool> listed(sizeof(P));
    TListedBytes marker{reinterpret_cast<const unsigned char*>(part.get()), listed};
    Fields(marker, std::as_const(*part));
    const auto flipped = std::make_unique<P>(*part);
    for (std::size_t at = 0; at < sizeof(P); ++at) {
        if (listed[at]) continue;
        reinterpret_cast<unsigned char*>(flipped.get())[at] ^= 1;
        EXPECT_TRUE(*flipped == *part) << name << ": byte " << at << " belongs to no listed field";
        reinterpret_cast<unsigned char*>(flipped.get())[at] ^= 1;
    }
}

TEST(Snapshot, FieldListsNameEveryField) {
    ExpectEveryFieldListed<TCpuRegisters>("TCpuRegisters");
    ExpectEveryFieldListed<TConditionCodes>("TConditionCodes");
    ExpectEveryFieldListed<TScratch>("TScratch");
    ExpectEveryFieldListed<TInterruptState>("TInterruptState");
    ExpectEveryFieldListed<TRunControlState>("TRunControlState");
    ExpectEveryFieldListed<TTimerState>("TTimerState");
    ExpectEveryFieldListed<TWriteOnceLatches>("TWriteOnceLatches");
    ExpectEveryFieldListed<TAdState>("TAdState");
    ExpectEveryFieldListed<TPortState>("TPortState");
    ExpectEveryFieldListed<TSciState>("TSciState");
    ExpectEveryFieldListed<TAddressWindows>("TAddressWindows");
    ExpectEveryFieldListed<TMemoryImages>("TMemoryImages");
    ExpectEveryFieldListed<TWaitLoop>("TWaitLoop");
    ExpectEveryFieldListed<TCallStack>("TCallStack");
    ExpectEveryFieldListed<TMenuItem>("TMenuItem");
}

TEST(Snapshot, DifferencesAreToldInWords) {
    TTestMachine t;
    t.Machine->RegisterA = 0x12;
    const auto a = std::make_unique<TMachineState>(CaptureState(*t.Machine));
    auto b = std::make_unique<TMachineState>(*a);
    EXPECT_THAT(StateDifferences(*a, *b), IsEmpty());
    b->BreakPointAddress = 0x2000;  // not the machine's: no difference
    b->RegisterA = 0x13;
    b->MemoryImage[0x2004] = 0xFF;
    b->CallStack.Push({0x2000, 0x2100, 0, 0x01FD});
    b->Panel.StatusLed.Hint = " Wait Mode ";
    b->Screen.Cells[2][4].Char = 'x';
    b->TerminalLink.InputBuffer = std::string(100, 'k');
    b->RunState = RunWaiting;
    EXPECT_THAT(StateDifferences(*a, *b, 20),
                ElementsAre("RegisterA: $12 vs $13", "RunState: $00 vs $05", "MemoryImage[$2004]: $00 vs $FF",
                            "CallStack.Frames[0].From: $0000 vs $2000", "CallStack.Frames[0].To: $0000 vs $2100",
                            "CallStack.Frames[0].Sp: $0000 vs $01FD", "CallStack.Top: 0 vs 1",
                            "CallStack.Limit: $FFFF vs $01FD",
                            "TerminalLink.InputBuffer: 0 vs 100 bytes, first difference at byte 0",
                            "Screen.Cells[2][4].Char: $20 vs $78",
                            "Panel.StatusLed.Hint: \" Normal Mode \" vs \" Wait Mode \""));
    EXPECT_THAT(StateDifferences(*a, *b, 2), ElementsAre("RegisterA: $12 vs $13", "RunState: $00 vs $05"));
}

// What a snapshot does not hold stays as the live machine has it: the user's options and
// breakpoint, the pages a debugger watches, the run controls.
TEST(Snapshot, RestoreKeepsWhatIsNotTheMachines) {
    TTestMachine source, live;
    source.LoadThroughPanel("hello");
    const auto state = std::make_unique<TMachineState>(CaptureState(*source.Machine));
    TMachine& m = *live.Machine;
    m.Panel.WarningsMenu.Checked = false;
    m.Panel.RunningLed.Lit = true;
    m.SetBreakPointAddress(0x2003);
    m.WatchPage(0x20, true);
    RestoreState(m, *state);
    EXPECT_FALSE(m.Panel.WarningsMenu.Checked);
    EXPECT_TRUE(m.Panel.RunningLed.Lit);
    EXPECT_EQ(m.BreakPointAddress, 0x2003);
    EXPECT_TRUE(m.MarkedStop(0x2003));
    EXPECT_EQ(m.PageFlags[0x20] & kWatchedPage, kWatchedPage);
    EXPECT_EQ(m.MemoryImage, source.Machine->MemoryImage);
    EXPECT_THAT(StateDifferences(*state, CaptureState(m)), IsEmpty());
}

// Inside an instruction (an untraced run's span, a wait for a key) the machine is not in
// a state a snapshot can hold.
TEST(Snapshot, OnlyBetweenInstructions) {
    TTestMachine t;
    const auto state = std::make_unique<TMachineState>(CaptureState(*t.Machine));
    TMachine& m = *t.Machine;
    for (bool* inside : {&m.SpanOpen, &m.WaitingForInput}) {
        *inside = true;
        EXPECT_THROW(CaptureState(m), std::logic_error);
        EXPECT_THROW(RestoreState(m, *state), std::logic_error);
        *inside = false;
    }
}

}  // namespace
}  // namespace hexmoor::testing
