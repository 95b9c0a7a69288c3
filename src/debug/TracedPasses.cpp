#include "debug/TracedPasses.h"

namespace hexmoor {

void TTracedPasses::Record(const TTracedPass& pass) {
    if (recorded_ > 0 && pass.Instruction <= At(Size() - 1).Instruction) recorded_ = 0;
    passes_[recorded_++ % kSize] = pass;
}

const TTracedPass* TTracedPasses::Find(uint64_t number, uint16_t address) const {
    // The passes kept are in instruction order: the first not before `number`.
    std::size_t low = 0, high = Size();
    while (low < high) {
        const std::size_t middle = low + (high - low) / 2;
        if (At(middle).Instruction < number) low = middle + 1;
        else high = middle;
    }
    if (low == Size()) return nullptr;
    const TTracedPass& pass = At(low);
    return pass.Instruction == number && pass.Address == address ? &pass : nullptr;
}

}  // namespace hexmoor
