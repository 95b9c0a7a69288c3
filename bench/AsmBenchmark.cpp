// The assembler's speed on a long source: 50,000 lines of the usual mix (comments, EQUs,
// labels, instructions in every common mode, data), which must take well under a second,
// and half as many, which must take about half as long.
#include <benchmark/benchmark.h>

#include <stdexcept>
#include <string>

#include "asm/Assembler.h"

namespace hexmoor {
namespace {

// Ten lines a group, eight bytes of code and data.
std::string LongSource(int lines) {
    std::string text = "  ORG $1000\n";
    for (int group = 0; group < lines / 10; ++group) {
        const std::string n = std::to_string(group);
        text += "* group " + n + "\n"
                "V" + n + " EQU " + n + "&$7F\n"
                "W" + n + " EQU V" + n + "+1\n"
                "L" + n + "\n"
                "  NOP\n"
                "  LDAA #W" + n + "      load it\n"
                "  STAA $10\n"
                "  BNE L" + n + "\n"
                "  FCB V" + n + "\n"
                "; end of group\n";
    }
    return text;
}

class TOneFile : public TSourceFiles {
public:
    explicit TOneFile(std::string text) : text_(std::move(text)) {}
    std::optional<std::string> Read(const std::string&, std::string&) override { return text_; }

private:
    std::string text_;
};

void AssembleLongSource(benchmark::State& state) {
    TOneFile source(LongSource(int(state.range(0))));
    for (auto _ : state) {
        const TAssembly assembly = Assemble("long.asm", source);
        if (assembly.Failed()) throw std::runtime_error("the long source does not assemble");
        benchmark::DoNotOptimize(assembly.Chunks.data());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(AssembleLongSource)->Arg(25'000)->Arg(50'000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace hexmoor

BENCHMARK_MAIN();
