// Simulated instructions per second of the CPU alone: FastExecuteInstruction running the
// sieve of Eratosthenes, with no timers, interrupts or panel in the way.
#include <benchmark/benchmark.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>

#include "core/Machine.h"
#include "loader/S19Reader.h"

namespace hexmoor {
namespace {

class TSilentPanel : public TFrontPanel {
public:
    void PanelChanged(TPanelItem) override {}
    TMessageResult ShowMessage(TMessageKind, TMessageButtons, std::string_view) override {
        return TMessageResult::Ok;
    }
    std::optional<std::string> AskFileName(const TFileQuestion&) override { return {}; }
    std::optional<std::string> AskBreakPointAddress(const std::string&) override { return {}; }
    void PumpEvents() override {}
    TMessageResult WaitForIoPause() override { return TMessageResult::Ok; }
};

void LoadProgram(TMachine& m, const std::string& name) {
    std::ifstream file(std::string(HEXMOOR_BENCH_PROGRAMS_DIR) + "/" + name + ".s19");
    if (!file) throw std::runtime_error("cannot open " + name + ".s19");
    std::stringstream text;
    text << file.rdbuf();
    for (const TS19Byte& byte : ReadS19(text.str()).Bytes) m.MemoryImage[byte.Address] = byte.Value;
    m.RegisterPC = uint16_t(m.MemoryImage[0xFFFE] << 8 | m.MemoryImage[0xFFFF]);
}

void Sieve(benchmark::State& state) {
    TSilentPanel panel;
    auto machine = std::make_unique<TMachine>(panel);
    LoadProgram(*machine, "sieve");
    constexpr int kBatch = 10'000;
    for (auto _ : state) {
        for (int i = 0; i < kBatch; ++i) {
            machine->FastExecuteInstruction();
            machine->CycleCount += machine->InstructionCycles;
        }
    }
    state.SetItemsProcessed(state.iterations() * kBatch);
    const uint16_t primes = uint16_t(machine->MemoryImage[0x3000] << 8 | machine->MemoryImage[0x3001]);
    if (state.iterations() * kBatch > 2'000'000 && primes != 1899)
        state.SkipWithError("the sieve counted the wrong number of primes");
    state.counters["E_cycles"] =
        benchmark::Counter(double(machine->CycleCount), benchmark::Counter::kIsRate);
}
BENCHMARK(Sieve)->MinTime(2.0);

}  // namespace
}  // namespace hexmoor

BENCHMARK_MAIN();
