// Going back in time: a machine that ran on and came back is the machine that
// stopped there, whatever the outside world did meanwhile; going forward again
// replays what it did.
#include <gmock/gmock.h>

#include <functional>
#include <memory>

#include "debug/DebugSession.h"
#include "state/MachineState.h"
#include "support/TestMachine.h"

namespace hexmoor::testing {
namespace {

using ::testing::IsEmpty;

// An outside act at an instruction count, made through the machine's own entry
// points.
struct TAct {
  uint64_t At;
  std::function<void(TMachine &)> Act;
};

void Type(TMachine &m, const std::string &keys) {
  for (char key : keys)
    m.FormKeyPress(uint8_t(key));
}

// Runs in untraced slices to `count`, acting as the acts say on the way.
void RunTo(TMachine &m, uint64_t count, const std::vector<TAct> &acts) {
  m.Panel.RunningLed.Lit = true;
  for (const TAct &act : acts) {
    if (act.At < m.InstructionCount || act.At > count)
      continue;
    for (int slice = 0; slice < 100'000 && m.InstructionCount < act.At; ++slice)
      m.RunSlice(TRunLimits{act.At}, 4096);
    act.Act(m);
  }
  for (int slice = 0; slice < 100'000 && m.InstructionCount < count; ++slice)
    m.RunSlice(TRunLimits{count}, 4096);
  m.Panel.RunningLed.Lit = false; // stopped, as a debugger finds it
  ASSERT_EQ(m.InstructionCount, count) << "the program stopped early";
}

enum class TWay { GoBackTo, StepBack };

struct TBackCase {
  const char *Name;
  const char *Program;
  std::vector<uint8_t> Setup; // at $5000
  std::vector<TAct> Acts;
  uint64_t N, M;
  TWay Way;
};

void PrintTo(const TBackCase &c, std::ostream *os) { *os << c.Name; }

class GoingBack : public ::testing::TestWithParam<TBackCase> {};

// Straight to N: snapshot A. Recording, on to M, back to N: snapshot B, equal
// to A. Forward again to M replays the recorded acts: the machine is the one
// that first reached M, and the terminal shows nothing twice.
TEST_P(GoingBack, ComesBackToTheMachineThatStoppedThere) {
  const TBackCase &c = GetParam();
  TTestMachine straight;
  straight.LoadThroughPanel(c.Program);
  straight.Poke(0x5000, c.Setup);
  RunTo(*straight.Machine, c.N, c.Acts);
  const auto atN =
      std::make_unique<TMachineState>(CaptureState(*straight.Machine));

  TTestMachine t;
  t.LoadThroughPanel(c.Program);
  t.Poke(0x5000, c.Setup);
  TDebugSession session(*t.Machine, {});
  session.Record(true);
  session.Timeline()->SetSpacing(7'000);
  std::vector<std::string> messages;
  session.OnTimelineMessage = [&](const std::string &message) {
    messages.push_back(message);
  };
  RunTo(*t.Machine, c.M, c.Acts);
  const auto atM = std::make_unique<TMachineState>(CaptureState(*t.Machine));
  const std::string writtenAtM = t.Panel.Written;

  if (c.Way == TWay::GoBackTo) {
    ASSERT_EQ(session.GoBackTo(c.N), "");
  } else {
    for (int step = 0;
         step < 100 && t.Machine->TimePoint() != straight.Machine->TimePoint();
         ++step)
      ASSERT_EQ(session.StepBack(), "")
          << "at instruction " << t.Machine->InstructionCount;
  }
  EXPECT_THAT(StateDifferences(*atN, CaptureState(*t.Machine)), IsEmpty());

  RunTo(*t.Machine, c.M, {});
  EXPECT_THAT(StateDifferences(*atM, CaptureState(*t.Machine)), IsEmpty());
  EXPECT_EQ(t.Panel.Written, writtenAtM);
  EXPECT_THAT(messages, IsEmpty());
}

const std::vector<TAct> kTypedAtCounts = {
    {41'003, [](TMachine &m) { Type(m, "abc"); }},
    {59'500, [](TMachine &m) { Type(m, "de"); }},
    {140'001, [](TMachine &m) { Type(m, "xyz"); }},
};
const std::vector<TAct> kSerialTyping = {
    {480, [](TMachine &m) { Type(m, "serial"); }},
    {9'700, [](TMachine &m) { Type(m, " line"); }},
};
const std::vector<TAct> kClicksAndSliders = {
    {29'000, [](TMachine &m) { m.InputLedClick(PortAInput, 1); }},
    {29'500, [](TMachine &m) { m.AnalogInputChange(2, 100); }},
    {45'000, [](TMachine &m) { m.IrqButtonClick(); }},
};

INSTANTIATE_TEST_SUITE_P(
    Programs, GoingBack,
    ::testing::Values(
        // The real-time interrupt ticks; keys are typed at the status port the
        // program polls.
        TBackCase{"RtiClockTyped",
                  "rti_clock",
                  {},
                  kTypedAtCounts,
                  60'000,
                  250'000,
                  TWay::GoBackTo},
        TBackCase{"RtiClockStepsBack",
                  "rti_clock",
                  {},
                  kTypedAtCounts,
                  140'000,
                  140'012,
                  TWay::StepBack},
        // Bytes on their way through the SCI both ways.
        TBackCase{"SerialEcho",
                  "sci_echo",
                  {0x03, 0x00},
                  kSerialTyping,
                  9'800,
                  20'000,
                  TWay::GoBackTo},
        TBackCase{"SerialEchoStepsBack",
                  "sci_echo",
                  {0x03, 0x00},
                  kSerialTyping,
                  9'701,
                  9'716,
                  TWay::StepBack},
        // Every timer at once, an input capture, a slider and the IRQ button.
        TBackCase{"TimersAndClicks",
                  "timing_stress",
                  {0x05},
                  kClicksAndSliders,
                  30'000,
                  90'000,
                  TWay::GoBackTo},
        TBackCase{"TimersStepBack",
                  "timing_stress",
                  {0x05},
                  kClicksAndSliders,
                  45'000,
                  45'010,
                  TWay::StepBack}),
    [](const auto &info) { return std::string(info.param.Name); });

} // namespace
} // namespace hexmoor::testing
