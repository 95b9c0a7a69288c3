// The calls and interrupts the program has entered and not yet left, kept by the machine for
// a debugger at the cost of a few stores a call. A frame goes when SP rises above the SP its
// entry left, wherever SP rises (RTS, RTI, a pull, INS, TXS, TYS, LDS): a routine that pulls
// its return address to return past inline data leaves no frame behind.
#pragma once

#include <array>
#include <cstdint>

namespace hexmoor {

struct TCallFrame {
    uint16_t From = 0;    // the calling instruction; for an interrupt, the one it interrupted
    uint16_t To = 0;      // the routine or handler entered
    uint16_t Vector = 0;  // the interrupt's vector ($FFF6 for SWI); 0 for JSR and BSR
    uint16_t Sp = 0;      // SP after the entry stacked what it stacks
    bool operator==(const TCallFrame&) const = default;
};

struct TCallStack {
    static constexpr uint32_t kSize = 256;  // a power of two
    std::array<TCallFrame, kSize> Frames{};  // a ring: the newest at (Top - 1) % kSize
    uint32_t Top = 0;
    uint32_t Depth = 0;  // frames held, at most kSize
    // Frames dropped, oldest first, to make room (deep recursion, JSR used as a jump): all
    // still entered while a frame is held; once none is, at most that many, and none once SP
    // rises above the oldest of them (LostSp).
    uint64_t Lost = 0;
    uint16_t LostSp = 0;

    void Push(const TCallFrame& frame) {
        TCallFrame& slot = Frames[Top++ % kSize];
        if (Depth == kSize) [[unlikely]] {
            if (Lost++ == 0) LostSp = slot.Sp;
        } else {
            ++Depth;
        }
        slot = frame;
    }
    // SP rose to `sp`: the frames below it are left.
    void Unwind(uint16_t sp) {
        while (Depth != 0 && sp > Frames[(Top - 1) % kSize].Sp) {
            --Top;
            --Depth;
        }
        if (Depth == 0 && Lost != 0 && sp > LostSp) [[unlikely]] Lost = 0;
    }
    void Clear() {
        Depth = 0;
        Lost = 0;
    }
    // The frame `age` entries back (0: the newest); only for age < Depth.
    const TCallFrame& Back(uint32_t age) const { return Frames[(Top - 1 - age) % kSize]; }

    bool operator==(const TCallStack& other) const {
        if (Depth != other.Depth || Lost != other.Lost || (Lost != 0 && LostSp != other.LostSp)) return false;
        for (uint32_t age = 0; age < Depth; ++age)
            if (Back(age) != other.Back(age)) return false;
        return true;
    }
};

}  // namespace hexmoor
