// What recording for going back in time costs (prints figures; not a test): the untraced
// speed of the timer-interrupt sieve with the recording off and on, the time of a step back
// and of going back to the oldest point after 10^9 cycles, and the memory the snapshots
// hold against their bound.
#include <chrono>
#include <cstdio>
#include <memory>

#include "SilentPanel.h"
#include "debug/Timeline.h"

namespace hexmoor {
namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

// Runs in the window's slices until the cycle count reaches `cycles`; instructions a second.
double RunFor(TMachine& m, int64_t cycles) {
    const uint64_t before = m.InstructionCount;
    const auto start = Clock::now();
    while (m.CycleCount < cycles) m.RunSlice(TRunLimits{}, 1024);
    return double(m.InstructionCount - before) / Seconds(start);
}

std::unique_ptr<TMachine> Sieve(TSilentPanel& panel) {
    auto m = LoadedMachine(panel, "timed_sieve");
    m->Panel.RunningLed.Lit = true;
    return m;
}

}  // namespace
}  // namespace hexmoor

int main() {
    using namespace hexmoor;
    constexpr int64_t kSpeedCycles = 300'000'000, kLongRun = 1'000'000'000;

    TSilentPanel offPanel;
    const auto off = Sieve(offPanel);
    const double offSpeed = RunFor(*off, kSpeedCycles);

    TSilentPanel onPanel;
    const auto on = Sieve(onPanel);
    TTimeline timeline(*on);
    const double onSpeed = RunFor(*on, kSpeedCycles);
    std::printf("untraced speed: %.1f MIPS recording off, %.1f MIPS on: %.1f%% (spacing %llu instructions)\n",
                offSpeed / 1e6, onSpeed / 1e6, 100 * onSpeed / offSpeed,
                static_cast<unsigned long long>(timeline.Spacing()));

    RunFor(*on, kLongRun);
    const TTimePoint now = on->TimePoint(), oldest = timeline.Oldest();
    std::printf("after %lld cycles: %zu snapshots, %.1f MiB held of %.1f MiB; back to instruction %llu of %llu "
                "(%.2f s of chip time)\n",
                static_cast<long long>(now.Cycles), timeline.Snapshots(), double(timeline.BytesHeld()) / (1 << 20),
                double(timeline.ByteBound()) / (1 << 20), static_cast<unsigned long long>(oldest.Instructions),
                static_cast<unsigned long long>(now.Instructions), double(now.Cycles - oldest.Cycles) / 2e6);

    on->Panel.RunningLed.Lit = false;
    auto start = Clock::now();
    const std::string stepBack = timeline.GoTo({{now.Instructions - 1, 0, 0}, true, true});
    std::printf("step back: %.2f ms %s\n", Seconds(start) * 1e3, stepBack.c_str());
    start = Clock::now();
    const std::string toOldest = timeline.GoTo({{oldest.Instructions + 1, 0, 0}, true, true});
    std::printf("back to the oldest point: %.2f ms %s\n", Seconds(start) * 1e3, toOldest.c_str());
    return stepBack.empty() && toOldest.empty() ? 0 : 1;
}
