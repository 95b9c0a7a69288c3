// What the debugger costs: adding many breakpoints (each add must cost what it changes, not
// a rescan of every address), and an untraced run in spans on the sieve with nothing armed
// and with 1,000 watchpoints on the page of its variables that none of its accesses hits
// (a watched page's access must cost what it hits, not a look at every watchpoint).
#include <benchmark/benchmark.h>

#include "SilentPanel.h"
#include "core/Hex.h"
#include "debug/Debugger.h"

namespace hexmoor {
namespace {

void AddingBreakpoints(benchmark::State& state) {
    TSilentPanel panel;
    for (auto _ : state) {
        TMachine machine(panel);
        TDebugger debugger(machine);
        for (int64_t i = 0; i < state.range(0); ++i) {
            const auto address = uint16_t(0x2000 + i);
            debugger.AddBreakpoint(address, "$" + Hex4(address));
        }
        benchmark::DoNotOptimize(debugger.Breakpoints().data());
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(AddingBreakpoints)->RangeMultiplier(4)->Range(1 << 9, 30'000)->Complexity()->Unit(benchmark::kMillisecond);

constexpr uint32_t kSlice = 10'000;

// The sieve's variables live at $0000-$0005; the watchpoints cover bytes above them.
void UntracedRun(benchmark::State& state) {
    TSilentPanel panel;
    auto m = LoadedMachine(panel, "sieve");
    TDebugger debugger(*m);
    for (int64_t i = 0; i < state.range(0); ++i) {
        const auto address = uint16_t(0x10 + i % 0xF0);
        debugger.AddWatchpoint(address, address, "$" + Hex4(address), TWatchAccess::ReadWrite);
    }
    m->Panel.RunningLed.Lit = true;
    const uint64_t before = m->InstructionCount;
    for (auto _ : state) m->RunSlice(TRunLimits{}, kSlice);
    state.SetItemsProcessed(int64_t(m->InstructionCount - before));
    if (debugger.LastStop()) state.SkipWithError("a watchpoint stopped the run");
}
BENCHMARK(UntracedRun)->Arg(0)->Arg(1'000)->MinTime(2.0);

}  // namespace
}  // namespace hexmoor

BENCHMARK_MAIN();
