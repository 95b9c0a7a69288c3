// What the debugger costs: adding many breakpoints (each add must cost what it changes, not
// a rescan of every address), and an untraced run in spans on the sieve with nothing armed
// and with 1,000 watchpoints on the page of its variables that none of its accesses hits
// (a watched page's access must cost what it hits, not a look at every watchpoint). A watch
// list of ten expressions shown four times a second must cost under 5% of a run, and a change
// watchpoint armed must leave at least half the speed.
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>

#include "SilentPanel.h"
#include "core/Hex.h"
#include "debug/DebugSession.h"

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

// Ten expressions on the sieve's registers and variables, of every kind.
constexpr const char* kTenWatches[] = {"A", "B", "X", "Y", "SP", "[0]", "[[0]]", "[[2]] + 3", "[[4]] == $076B",
                                       "[$3000] < 8"};

// One refresh of the list: four times its time is its share of each second of a run
// (share_at_4_per_s: 0.01 would be 1%).
// The sieve, running, with the ten expressions in its session's watch list.
struct TWatchedSieve {
    TWatchedSieve() {
        for (const char* text : kTenWatches) session.AddWatch(text);
        m->Panel.RunningLed.Lit = true;
    }
    TSilentPanel panel;
    std::unique_ptr<TMachine> m = LoadedMachine(panel, "sieve");
    TDebugSession session{*m, nullptr};
};

void WatchListRefresh(benchmark::State& state) {
    TWatchedSieve sieve;
    auto& m = sieve.m;
    TDebugSession& session = sieve.session;
    m->RunSlice(TRunLimits{}, kSlice);
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        session.UpdateWatches();
        benchmark::DoNotOptimize(session.Watches().Watches().data());
    }
    const std::chrono::duration<double> spent = std::chrono::steady_clock::now() - start;
    state.counters["share_at_4_per_s"] = 4 * spent.count() / double(state.iterations());
}
BENCHMARK(WatchListRefresh);

// The sieve in slices with the list refreshed each time a quarter of a second's instructions
// (at the speed measured first, with nothing shown) have run: compare with UntracedRun/0.
void UntracedRunShowingWatches(benchmark::State& state) {
    TWatchedSieve sieve;
    auto& m = sieve.m;
    TDebugSession& session = sieve.session;
    const auto start = std::chrono::steady_clock::now();
    const uint64_t first = m->InstructionCount;
    while (std::chrono::steady_clock::now() - start < std::chrono::milliseconds(250)) m->RunSlice(TRunLimits{}, kSlice);
    const uint64_t perRefresh = m->InstructionCount - first;
    uint64_t refreshed = m->InstructionCount, refreshes = 0;
    const uint64_t before = m->InstructionCount;
    for (auto _ : state) {
        m->RunSlice(TRunLimits{}, kSlice);
        if (m->InstructionCount - refreshed >= perRefresh) {
            session.UpdateWatches();
            refreshed = m->InstructionCount;
            ++refreshes;
        }
    }
    state.SetItemsProcessed(int64_t(m->InstructionCount - before));
    state.counters["refreshes"] = double(refreshes);
}
BENCHMARK(UntracedRunShowingWatches)->MinTime(2.0);

// The sieve with one change watchpoint armed that never stops it, after its first round (its
// count is stored then): on a register (spans that end when SP moves), on a flag, on memory
// (only the writes to its bytes are looked at), and on PC (read after every instruction).
constexpr const char* kChangeWatches[] = {"SP < $0100", "CCR.I", "[[$3000]]", "PC == 0"};

void UntracedRunWatchingAChange(benchmark::State& state) {
    TSilentPanel panel;
    auto m = LoadedMachine(panel, "sieve");
    TDebugger debugger(*m);
    m->Panel.RunningLed.Lit = true;
    while (m->InstructionCount < 300'000) m->RunSlice(TRunLimits{}, kSlice);
    const char* expression = kChangeWatches[state.range(0)];
    state.SetLabel(expression);
    if (!debugger.AddChangeWatchpoint(expression).empty()) state.SkipWithError("the expression does not read");
    const uint64_t before = m->InstructionCount;
    for (auto _ : state) m->RunSlice(TRunLimits{}, kSlice);
    state.SetItemsProcessed(int64_t(m->InstructionCount - before));
    if (debugger.LastStop()) state.SkipWithError(("stopped: " + debugger.LastStop()->Text).c_str());
}
BENCHMARK(UntracedRunWatchingAChange)->DenseRange(0, std::size(kChangeWatches) - 1)->MinTime(2.0);

}  // namespace
}  // namespace hexmoor

BENCHMARK_MAIN();
