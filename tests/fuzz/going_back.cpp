// An arbitrary memory image and register writes, run with a recording: forward, back to
// an earlier instruction count, forward again, with IRQ, XIRQ and key inputs between, as the
// input's last bytes choose. Each time it goes back the machine agrees in full with a fresh
// one run straight to that count with the same inputs.
#include <algorithm>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "FuzzPanel.h"
#include "debug/Timeline.h"
#include "support/MachineDifference.h"

using namespace hexmoor;

namespace {

constexpr int kCommands = 24;
constexpr uint64_t kLongestForward = 4000;
constexpr int kSliceLimit = 100;

struct TRun {
    fuzz::TFuzzPanel Panel;
    std::unique_ptr<TMachine> Machine = std::make_unique<TMachine>(Panel);
    TRun(const uint8_t* data, std::size_t size) {
        Panel.Attach(*Machine);
        fuzz::LoadImageAndRegisterWrites(*Machine, data, size);
        Machine->Panel.RunningLed.Lit = true;
    }
};

struct TAct {
    uint64_t At;
    int Kind;
};

void Act(TMachine& m, int kind) {
    if (kind == 0)
        m.IrqButtonClick();
    else if (kind == 1)
        m.XIrqButtonClick();
    else
        m.FormKeyPress(uint8_t('a' + kind));
}

// To `count` instructions in slices; false when the program stops getting there.
bool RunTo(TMachine& m, uint64_t count) {
    for (int slice = 0; slice < kSliceLimit && m.InstructionCount < count && m.Panel.RunningLed.Lit; ++slice)
        m.RunSlice(TRunLimits{count}, 4096);
    return m.InstructionCount == count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    TRun run(data, size);
    TMachine& m = *run.Machine;
    TTimeline timeline(m);
    timeline.SetSpacing(1000);
    std::vector<TAct> acts;

    std::seed_seq seed(data + size - std::min<std::size_t>(size, 8), data + size);
    std::mt19937 random(seed);
    for (int command = 0; command < kCommands; ++command) {
        const uint32_t choice = random() % 4;
        if (choice == 0 && m.InstructionCount > timeline.Oldest().Instructions) {
            const uint64_t oldest = timeline.Oldest().Instructions + 1;
            const uint64_t back = oldest + random() % (m.InstructionCount - oldest + 1);
            const std::string error = timeline.GoTo({{back, 0, 0}, true, true});
            if (!error.empty()) fuzz::Fail("going back to " + std::to_string(back) + ": " + error);
            TRun straight(data, size);
            for (const TAct& act : acts) {
                if (act.At > back) break;
                if (!RunTo(*straight.Machine, act.At)) fuzz::Fail("the straight run stopped early");
                Act(*straight.Machine, act.Kind);
            }
            if (!RunTo(*straight.Machine, back)) fuzz::Fail("the straight run stopped early");
            const std::string difference = testing::Difference(*straight.Machine, m);
            if (!difference.empty())
                fuzz::Fail("back at " + std::to_string(back) + " the machine differs in " + difference);
        } else if (choice == 1) {
            const int kind = int(random() % 4);
            // An input in the past cuts the future off: the straight runs forget it too.
            std::erase_if(acts, [&](const TAct& act) { return act.At > m.InstructionCount; });
            acts.push_back({m.InstructionCount, kind});
            Act(m, kind);
        } else if (!RunTo(m, m.InstructionCount + 1 + random() % kLongestForward)) {
            break;  // a program that stops or waits for good: its points are not all counts
        }
    }
    return 0;
}
