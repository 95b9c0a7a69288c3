// What a snapshot of the machine costs, taken often as a debugger going back in time will:
// capture into a snapshot already made, restore, compare two alike (what a lockstep test
// does), and a state file's bytes both ways. The counters give a snapshot's size in memory
// and a state file's size for the sieve with its timer interrupt running.
#include <benchmark/benchmark.h>

#include <memory>

#include "SilentPanel.h"
#include "state/MachineState.h"
#include "state/StateFile.h"

namespace hexmoor {
namespace {

std::unique_ptr<TMachine> RunningSieve(TSilentPanel& panel) {
    auto m = LoadedMachine(panel, "timed_sieve");
    m->Panel.RunningLed.Lit = true;
    m->RunSlice(TRunLimits{}, 200'000);
    return m;
}

void Sizes(benchmark::State& state, const TMachineState& snapshot) {
    auto file = std::make_unique<TStateFile>();
    file->State = snapshot;
    std::string error;
    state.counters["snapshot_bytes"] = double(sizeof(TMachineState));
    state.counters["file_bytes"] = double(StateFileBytes(*file, error).size());
}

void Capture(benchmark::State& state) {
    TSilentPanel panel;
    auto m = RunningSieve(panel);
    auto snapshot = std::make_unique<TMachineState>();
    for (auto _ : state) {
        CaptureState(*m, *snapshot);
        benchmark::ClobberMemory();
    }
    Sizes(state, *snapshot);
}
BENCHMARK(Capture)->Unit(benchmark::kMicrosecond);

void Restore(benchmark::State& state) {
    TSilentPanel panel;
    auto m = RunningSieve(panel);
    const auto snapshot = std::make_unique<TMachineState>(CaptureState(*m));
    for (auto _ : state) {
        RestoreState(*m, *snapshot);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(Restore)->Unit(benchmark::kMicrosecond);

void CompareAlike(benchmark::State& state) {
    TSilentPanel panel;
    auto m = RunningSieve(panel);
    const auto a = std::make_unique<TMachineState>(CaptureState(*m));
    const auto b = std::make_unique<TMachineState>(*a);
    for (auto _ : state) benchmark::DoNotOptimize(StateDifferences(*a, *b));
}
BENCHMARK(CompareAlike)->Unit(benchmark::kMicrosecond);

void FileBytesBothWays(benchmark::State& state) {
    TSilentPanel panel;
    auto m = RunningSieve(panel);
    auto file = std::make_unique<TStateFile>();
    file->State = CaptureState(*m);
    auto read = std::make_unique<TStateFile>();
    std::string error;
    for (auto _ : state) {
        const std::string bytes = StateFileBytes(*file, error);
        if (!ParseStateFile(bytes, *read).empty()) state.SkipWithError("the state file did not read back");
    }
}
BENCHMARK(FileBytesBothWays)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace hexmoor

BENCHMARK_MAIN();
