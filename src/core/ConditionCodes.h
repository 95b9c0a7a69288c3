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

    // C is the carry (or borrow) out of bit 15 and V the signed overflow: what the host's
    // own add and subtract report, asked for directly.
    uint16_t Add16(uint16_t q, uint16_t m) {
        uint16_t r;
        int16_t signedResult;
        FlagC = __builtin_add_overflow(q, m, &r);
        FlagV = __builtin_add_overflow(int16_t(q), int16_t(m), &signedResult);
        return SetNZ16(r);
    }
    uint16_t Sub16(uint16_t q, uint16_t m) {
        uint16_t r;
        int16_t signedResult;
        FlagC = __builtin_sub_overflow(q, m, &r);
        FlagV = __builtin_sub_overflow(int16_t(q), int16_t(m), &signedResult);
        return SetNZ16(r);
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
    // In a sum, bit 4 of q ^ m ^ r is the carry into it (H), bit 8 of the wide sum the
    // carry out (C); V is set when both operands' signs differ from the result's.
    uint8_t AddWithCarry(uint8_t q, uint8_t m, bool carry) {
        const unsigned sum = unsigned(q) + m + carry;
        const uint8_t r = uint8_t(sum);
        FlagH = (q ^ m ^ r) & 0x10;
        FlagC = sum > 0xFF;
        FlagV = ((q ^ r) & (m ^ r)) & 0x80;
        return SetNZ(r);
    }
    // The borrow out of bit 7 is a wide difference below zero; V is set when the operands'
    // signs differ and the result's differs from q's.
    uint8_t SubtractWithBorrow(uint8_t q, uint8_t m, bool borrow) {
        const int difference = int(q) - m - borrow;
        const uint8_t r = uint8_t(difference);
        FlagC = difference < 0;
        FlagV = ((q ^ m) & (q ^ r)) & 0x80;
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
