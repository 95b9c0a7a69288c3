// An arbitrary 64 KiB memory image and register writes, run twice: pass by pass, and in
// slices of spans whose lengths the input's last bytes choose. Whatever the program does,
// the two machines agree in full after every slice.
#include <algorithm>
#include <array>
#include <memory>
#include <random>
#include <string>

#include "FuzzPanel.h"
#include "support/MachineDifference.h"

using namespace hexmoor;

namespace {

// Enough for the timer to wrap twice at full speed and the COP to time out at its shortest rate.
constexpr uint64_t kPasses = 50'000;

struct TRun {
    fuzz::TFuzzPanel Panel;
    std::unique_ptr<TMachine> Machine = std::make_unique<TMachine>(Panel);
    TRun() { Panel.Attach(*Machine); }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    std::array<TRun, 2> runs;
    for (TRun& run : runs) {
        fuzz::LoadImageAndRegisterWrites(*run.Machine, data, size);
        run.Machine->Panel.RunningLed.Lit = true;
    }
    TMachine& reference = *runs[0].Machine;
    TMachine& fast = *runs[1].Machine;

    std::seed_seq seed(data + size - std::min<std::size_t>(size, 8), data + size);
    std::mt19937 random(seed);
    std::uniform_int_distribution<uint32_t> length(1, 2000);
    for (uint64_t passes = 0; passes < kPasses;) {
        const uint32_t run = fast.RunSlice(TRunLimits{}, length(random));
        if (run == 0) break;
        passes += run;
        for (uint32_t i = 0; i < run; ++i) reference.RunPass();
        const std::string difference = testing::Difference(reference, fast);
        if (!difference.empty())
            fuzz::Fail("spans and passes differ in " + difference + " after " + std::to_string(passes) +
                       " passes, cycle " + std::to_string(reference.CycleCount));
    }
    return 0;
}
