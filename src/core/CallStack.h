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
    static constexpr uint16_t kNoLimit = 0xFFFF;
    std::array<TCallFrame, kSize> Frames{};  // a ring: the newest at (Top - 1) % kSize
    // Free-running counts: the frames held are those from Bottom to Top.
    uint32_t Top = 0, Bottom = 0;
    // SP above which a frame is left: the newest frame's SP, so that a pull or INS inside a
    // routine costs one comparison.
    uint16_t Limit = kNoLimit;
    // Frames dropped, oldest first, to make room (deep recursion, JSR used as a jump): all
    // still entered while a frame is held; once none is, at most that many, and none once SP
    // rises above the oldest of them (LostSp).
    uint64_t Lost = 0;
    uint16_t LostSp = 0;

    uint32_t Depth() const { return Top - Bottom; }
    void Push(const TCallFrame& frame) {
        if (Top - Bottom == kSize) [[unlikely]] {  // the oldest makes room
            if (Lost++ == 0) LostSp = Frames[Bottom % kSize].Sp;
            ++Bottom;
        }
        Frames[Top++ % kSize] = frame;
        Limit = frame.Sp;
    }
    // SP rose to `sp`: the frames below it are left.
    void Unwind(uint16_t sp) {
        if (sp > Limit) Leave(sp);
    }
    void Clear() {
        Bottom = Top;
        Lost = 0;
        Limit = kNoLimit;
    }
    // The frame `age` entries back (0: the newest); only for age < Depth().
    const TCallFrame& Back(uint32_t age) const { return Frames[(Top - 1 - age) % kSize]; }

    bool operator==(const TCallStack& other) const {
        if (Depth() != other.Depth() || Lost != other.Lost || Limit != other.Limit) return false;
        for (uint32_t age = 0; age < Depth(); ++age)
            if (Back(age) != other.Back(age)) return false;
        return true;
    }

private:
    // SP rose above Limit: the newest frame at least is left (or, with none held, the lost
    // ones may be).
    void Leave(uint16_t sp) {
        uint32_t top = Top;
        if (top != Bottom) {
            do --top;
            while (top != Bottom && sp > Frames[(top - 1) % kSize].Sp);
            Top = top;
            if (top != Bottom) {
                Limit = Frames[(top - 1) % kSize].Sp;
                return;
            }
        }
        if (Lost != 0 && sp > LostSp) Lost = 0;
        Limit = Lost != 0 ? LostSp : kNoLimit;
    }
};

}  // namespace hexmoor
