// Simulated instructions per second: the CPU alone (FastExecuteInstruction on the sieve),
// whole passes of the run loop (timers, interrupt check, execution) on the sieve with an
// output-compare interrupt every 500 cycles, and on the sieve while the A/D converter scans;
// and the cost of reading typed-ahead input, which must not grow with what is waiting.
#include <benchmark/benchmark.h>

#include <memory>
#include <stdexcept>
#include <string>

#include "SilentPanel.h"
#include "core/Machine.h"

namespace hexmoor {
namespace {

uint16_t Word(const TMachine& m, uint16_t address) {
    return uint16_t(m.MemoryImage[address] << 8 | m.MemoryImage[address + 1]);
}

constexpr int kBatch = 10'000;

void Report(benchmark::State& state, const TMachine& m) {
    state.SetItemsProcessed(state.iterations() * kBatch);
    state.counters["E_cycles"] = benchmark::Counter(double(m.CycleCount), benchmark::Counter::kIsRate);
    if (state.iterations() * kBatch > 2'000'000 && Word(m, 0x3000) != 1899)
        state.SkipWithError("the sieve counted the wrong number of primes");
}

void CpuAlone(benchmark::State& state) {
    TSilentPanel panel;
    auto m = LoadedMachine(panel, "sieve");
    for (auto _ : state) {
        for (int i = 0; i < kBatch; ++i) {
            m->FastExecuteInstruction();
            m->CycleCount += m->InstructionCycles;
        }
    }
    Report(state, *m);
}
BENCHMARK(CpuAlone)->MinTime(2.0);

void WholePasses(benchmark::State& state) {
    TSilentPanel panel;
    auto m = LoadedMachine(panel, "timed_sieve");
    for (auto _ : state)
        for (int i = 0; i < kBatch; ++i) m->RunPass();
    Report(state, *m);
    if (Word(*m, 0x3002) == 0) state.SkipWithError("no output-compare interrupt was taken");
}
BENCHMARK(WholePasses)->MinTime(2.0);

void WholePassesWhileScanning(benchmark::State& state) {
    TSilentPanel panel;
    auto m = LoadedMachine(panel, "ad_scan_sieve");
    for (auto _ : state)
        for (int i = 0; i < kBatch; ++i) m->RunPass();
    Report(state, *m);
    if (!(m->RegisterBlock[0x30] & 0x80)) state.SkipWithError("the A/D converter did not convert");
}
BENCHMARK(WholePassesWhileScanning)->MinTime(2.0);

// The program reads every byte of `range` bytes typed ahead (piped into the runner, say)
// through the terminal data port: the time per byte stays the same however many wait.
void ReadingTypedAheadInput(benchmark::State& state) {
    TSilentPanel panel;
    TMachine m(panel);
    const auto bytes = std::size_t(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        for (std::size_t i = 0; i < bytes; ++i) m.FormKeyPress(uint8_t('a' + i % 26));
        state.ResumeTiming();
        for (std::size_t i = 0; i < bytes; ++i) {
            m.EffectiveAddress = 0x1037;
            m.LoadByte();
        }
    }
    state.SetItemsProcessed(state.iterations() * int64_t(bytes));
    state.SetComplexityN(int64_t(bytes));
}
BENCHMARK(ReadingTypedAheadInput)->RangeMultiplier(4)->Range(1 << 16, 1 << 22)->Complexity();

}  // namespace
}  // namespace hexmoor

BENCHMARK_MAIN();
