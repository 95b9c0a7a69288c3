// The 68HC11's programmer-visible registers: accumulators A, B (together D), IX, IY, SP, PC.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>

namespace hexmoor {

static_assert(std::endian::native == std::endian::little,
              "A and B overlay the bytes of D: B is the low byte in host memory");

struct TCpuRegisters {
    // A is the high byte of D and B the low byte; writing either changes D and vice versa.
    union {
        uint16_t RegisterD = 0;
        struct {
            uint8_t RegisterB;
            uint8_t RegisterA;
        };
    };
    uint16_t RegisterX = 0;
    uint16_t RegisterY = 0;
    uint16_t RegisterSP = 0;  // next free byte; the stack grows downwards
    uint16_t RegisterPC = 0;  // opcode (or prebyte) of the next instruction

    bool operator==(const TCpuRegisters& other) const {
        return RegisterD == other.RegisterD && RegisterX == other.RegisterX && RegisterY == other.RegisterY &&
               RegisterSP == other.RegisterSP && RegisterPC == other.RegisterPC;
    }
};
// D, X, Y and SP follow each other: a debugger reads them as one 64-bit word.
static_assert(offsetof(TCpuRegisters, RegisterX) == 2 && offsetof(TCpuRegisters, RegisterSP) == 6);

}  // namespace hexmoor
