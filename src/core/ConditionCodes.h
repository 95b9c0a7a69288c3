// The condition-code register as eight booleans, and the ALU operations that set them.
#pragma once

#include <cstddef>
#include <cstdint>

namespace hexmoor {

// Each arithmetic helper returns the result and leaves the flags exactly as the 68HC11
// sets them for that operation; a flag the operation does not affect keeps its value.
// The eight flags follow each other, S first: a debugger reads them as one 64-bit word.
struct TConditionCodes {
    bool operator==(const TConditionCodes&) const = default;
    bool FlagS = true;   // STOP disable
    bool FlagX = true;   // XIRQ mask
    bool FlagH = false;  // half carry
    bool FlagI = true;   // IRQ mask
    bool FlagN = false;
    bool FlagZ = true;
    bool FlagV = false;
    bool FlagC = false;
    // Set when CLI or TAP clears I: one more instruction runs before an IRQ is taken.
    bool MaskDelay = false;

    uint8_t PackedCcr() const {
        return uint8_t(FlagS << 7 | FlagX << 6 | FlagH << 5 | FlagI << 4 | FlagN << 3 |
                       FlagZ << 2 | FlagV << 1 | FlagC);
    }

    // TAP and RTI: every bit is taken, except that software can only clear X, never set it.
    void UnpackCcr(uint8_t ccr) {
        FlagS = ccr & 0x80;
        FlagX = FlagX && (ccr & 0x40);
        FlagH = ccr & 0x20;
        FlagI = ccr & 0x10;
        FlagN = ccr & 0x08;
        FlagZ = ccr & 0x04;
        FlagV = ccr & 0x02;
        FlagC = ccr & 0x01;
    }

    // --- 8-bit two-operand operations: Q op M -------------------------------------------

    uint8_t Add(uint8_t q, uint8_t m) { return AddWithCarry(q, m, false); }
    uint8_t Adc(uint8_t q, uint8_t m) { return AddWithCarry(q, m, FlagC); }
    uint8_t Sub(uint8_t q, uint8_t m) { return SubtractWithBorrow(q, m, false); }
    uint8_t Sbc(uint8_t q, uint8_t m) { return SubtractWithBorrow(q, m, FlagC); }
    uint8_t And(uint8_t q, uint8_t m) { return Logic(q & m); }
    uint8_t Ora(uint8_t q, uint8_t m) { return Logic(q | m); }
    uint8_t Eor(uint8_t q, uint8_t m) { return Logic(q ^ m); }
    uint8_t Load(uint8_t, uint8_t m) { return Logic(m); }

    // --- 8-bit one-operand operations on M ----------------------------------------------

    uint8_t Neg(uint8_t m) {
        uint8_t r = uint8_t(-m);
        SetNZ(r);
        FlagV = r == 0x80;
        FlagC = r != 0;
        return r;
    }
    uint8_t Com(uint8_t m) {
        Logic(uint8_t(~m));
        FlagC = true;
        return uint8_t(~m);
    }
    uint8_t Inc(uint8_t m) {
        FlagV = m == 0x7F;
        return SetNZ(uint8_t(m + 1));
    }
    uint8_t Dec(uint8_t m) {
        FlagV = m == 0x80;
        return SetNZ(uint8_t(m - 1));
    }
    uint8_t Clr(uint8_t) {
        FlagN = FlagV = FlagC = false;
        FlagZ = true;
        return 0;
    }
    uint8_t Tst(uint8_t m) {
        FlagC = false;
        return Logic(m);
    }
    uint8_t Asl(uint8_t m) { return Shifted(uint8_t(m << 1), m & 0x80); }
    uint8_t Rol(uint8_t m) { return Shifted(uint8_t(m << 1 | FlagC), m & 0x80); }
    uint8_t Asr(uint8_t m) { return Shifted(uint8_t((m >> 1) | (m & 0x80)), m & 0x01); }
    uint8_t Ror(uint8_t m) { return Shifted(uint8_t(m >> 1 | FlagC << 7), m & 0x01); }
    uint8_t Lsr(uint8_t m) { return Shifted(uint8_t(m >> 1), m & 0x01); }

    // --- 16-bit operations --------------------------------------------------------------

    uint16_t Add16(uint16_t q, uint16_t m) {
        uint16_t r = uint16_t(q + m);
        SetNZ16(r);
        FlagV = ((q & m & ~r) | (~q & ~m & r)) & 0x8000;
        FlagC = ((q & m) | (m & ~r) | (~r & q)) & 0x8000;
        return r;
    }
    uint16_t Sub16(uint16_t q, uint16_t m) {
        uint16_t r = uint16_t(q - m);
        SetNZ16(r);
        FlagV = ((q & ~m & ~r) | (~q & m & r)) & 0x8000;
        FlagC = ((~q & m) | (m & r) | (r & ~q)) & 0x8000;
        return r;
    }
    uint16_t Load16(uint16_t, uint16_t m) {
        SetNZ16(m);
        FlagV = false;
        return m;
    }
    uint16_t Asl16(uint16_t m) { return Shifted16(uint16_t(m << 1), m & 0x8000); }
    uint16_t Lsr16(uint16_t m) { return Shifted16(uint16_t(m >> 1), m & 0x0001); }

    uint8_t SetNZ(uint8_t r) {
        FlagN = r & 0x80;
        FlagZ = r == 0;
        return r;
    }
    uint16_t SetNZ16(uint16_t r) {
        FlagN = r & 0x8000;
        FlagZ = r == 0;
        return r;
    }

private:
    uint8_t AddWithCarry(uint8_t q, uint8_t m, bool carry) {
        uint8_t r = uint8_t(q + m + carry);
        unsigned carries = (q & m) | (m & ~r) | (~r & q);
        FlagH = carries & 0x08;
        FlagC = carries & 0x80;
        FlagV = ((q & m & ~r) | (~q & ~m & r)) & 0x80;
        return SetNZ(r);
    }
    uint8_t SubtractWithBorrow(uint8_t q, uint8_t m, bool borrow) {
        uint8_t r = uint8_t(q - m - borrow);
        FlagV = ((q & ~m & ~r) | (~q & m & r)) & 0x80;
        FlagC = ((~q & m) | (m & r) | (r & ~q)) & 0x80;
        return SetNZ(r);
    }
    uint8_t Logic(uint8_t r) {
        FlagV = false;
        return SetNZ(r);
    }
    // Shifts and rotates: C is the bit shifted out, V = N XOR C.
    uint8_t Shifted(uint8_t r, bool carryOut) {
        FlagC = carryOut;
        SetNZ(r);
        FlagV = FlagN != FlagC;
        return r;
    }
    uint16_t Shifted16(uint16_t r, bool carryOut) {
        FlagC = carryOut;
        SetNZ16(r);
        FlagV = FlagN != FlagC;
        return r;
    }
};
static_assert(offsetof(TConditionCodes, FlagS) == 0 && offsetof(TConditionCodes, FlagC) == 7);

}  // namespace hexmoor
