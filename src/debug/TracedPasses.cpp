#include "debug/TracedPasses.h"

#include <algorithm>
#include <ranges>

namespace hexmoor {

void TTracedPasses::Record(const TTracedPass& pass) {
    if (recorded_ > 0 && pass.Instruction <= At(Size() - 1).Instruction) recorded_ = 0;
    passes_[recorded_++ % kSize] = pass;
}

const TTracedPass* TTracedPasses::Find(uint64_t number, uint16_t address) const {
    const auto kept = std::views::iota(std::size_t{0}, Size());
    const auto found = std::ranges::partition_point(kept, [&](std::size_t i) { return At(i).Instruction < number; });
    if (found == kept.end()) return nullptr;
    const TTracedPass& pass = At(*found);
    return pass.Instruction == number && pass.Address == address ? &pass : nullptr;
}

}  // namespace hexmoor
