// The registers after each of the last instructions that ran traced or stepped, for the
// history: an untraced run keeps no registers (it would cost every instruction a store).
#pragma once

#include <array>
#include <cstdint>

namespace hexmoor {

struct TRegisterValues {
    uint8_t A = 0, B = 0;
    uint16_t X = 0, Y = 0, SP = 0;
    uint8_t Ccr = 0;
    bool operator==(const TRegisterValues&) const = default;
};

struct TTracedPass {
    uint64_t Instruction = 0;  // the machine's instruction count after it
    uint16_t Address = 0;      // where it was
    TRegisterValues After;
};

class TTracedPasses {
public:
    static constexpr std::size_t kSize = 1000;

    // Passes come in increasing instruction numbers; a number not above the newest means the
    // count began again, and the older passes no longer say which instruction they were.
    void Record(const TTracedPass& pass);
    // The pass of instruction `number`, if it was traced and ran at `address`: a history
    // rebuilt from code changed since it ran names another instruction there.
    const TTracedPass* Find(uint64_t number, uint16_t address) const;

private:
    std::size_t Size() const { return recorded_ < kSize ? std::size_t(recorded_) : kSize; }
    // The kept passes, oldest first.
    const TTracedPass& At(std::size_t index) const { return passes_[(recorded_ - Size() + index) % kSize]; }

    std::array<TTracedPass, kSize> passes_{};
    uint64_t recorded_ = 0;
};

}  // namespace hexmoor
