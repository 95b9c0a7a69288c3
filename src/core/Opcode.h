// What one opcode is: its operation, register, addressing mode and cycles, and the
// length and ChangeMask that follow from them.
#pragma once

#include <array>
#include <cstdint>

namespace hexmoor {

enum class TOperation : uint8_t {
    Illegal, Prebyte, Test, Nop,
    // Accumulator with an 8-bit operand.
    Sub, Cmp, Sbc, And, Bit, Lda, Sta, Eor, Adc, Ora, Add,
    // One operand: an accumulator (inherent forms) or a memory byte.
    Neg, Com, Lsr, Ror, Asr, Asl, Rol, Dec, Inc, Tst, Clr,
    // 16-bit register with a 16-bit operand.
    Addd, Subd, Cp16, Ld16, St16,
    // Register-only operations.
    Aba, Sba, Cba, Tab, Tba, Daa, Mul, Idiv, Fdiv, Lsrd, Asld,
    Tap, Tpa, Clc, Sec, Clv, Sev, Cli, Sei,
    Inc16, Dec16, Ins, Des, Tsx, Txs, Abx, Xgd,
    Psh8, Pul8, Psh16, Pul16,
    // Control flow and the CPU's modes.
    Branch, Bsr, Jmp, Jsr, Rts, Rti, Swi, Wai, Stop,
    // Bit manipulation and bit-test branches.
    Bset, Bclr, Brset, Brclr,
};

// The register an operation works on (A or B, D, IX, IY or SP); None where it is fixed.
enum class TRegister : uint8_t { None, A, B, D, X, Y, SP };

enum class TAddressing : uint8_t {
    Inherent,
    Immediate8,
    Immediate16,
    Direct,
    Extended,
    IndexedX,
    IndexedY,
    Relative,
};

// The four opcode pages: the base map and the pages behind the prebytes $18, $1A and $CD.
inline constexpr int kPageCount = 4;
inline constexpr std::array<uint8_t, kPageCount> kPrebytes{0x00, 0x18, 0x1A, 0xCD};

// The page a prebyte leads to; 0 for a byte that is no prebyte.
constexpr int PageAfter(uint8_t byte) {
    for (int page = 1; page < kPageCount; ++page)
        if (kPrebytes[page] == byte) return page;
    return 0;
}

struct TOpcode {
    const char* Mnemonic = "";
    TOperation Operation = TOperation::Illegal;
    TRegister Register = TRegister::None;
    TAddressing Mode = TAddressing::Inherent;
    uint8_t Cycles = 0;
};

using TOpcodePage = std::array<TOpcode, 256>;
using TOpcodeTable = std::array<TOpcodePage, kPageCount>;

// Offset of the first operand byte from the opcode's address (the prebyte counts).
constexpr int OperandOffset(int page) { return page == 0 ? 1 : 2; }

constexpr int OperandBytes(const TOpcode& opcode) {
    using enum TAddressing;
    int bytes = 0;
    switch (opcode.Mode) {
    case Inherent: bytes = 0; break;
    case Immediate16: case Extended: bytes = 2; break;
    default: bytes = 1; break;
    }
    switch (opcode.Operation) {
    case TOperation::Bset: case TOperation::Bclr: return bytes + 1;    // mask byte
    case TOperation::Brset: case TOperation::Brclr: return bytes + 2;  // mask and offset
    default: return bytes;
    }
}

constexpr int InstructionLengthOf(int page, const TOpcode& opcode) {
    return OperandOffset(page) + OperandBytes(opcode);
}

// Cycles of an illegal opcode's trap: 12 on the base page, 13 after a prebyte.
constexpr int IllegalOpcodeCycles(int page) { return page == 0 ? 12 : 13; }

// ChangeMask of an instruction: high byte what it changes ($01 A, $02 B, $04 X, $08 Y,
// $10 SP, $20 a memory byte, $40 a memory word), low byte non-zero when it sets condition
// codes. Instructions that change nothing visible leave the mask alone (they return 0).
constexpr uint16_t ChangeMaskOf(const TOpcode& opcode) {
    using enum TOperation;
    constexpr uint16_t kFlags = 0x00FF;
    auto registerBits = [](TRegister r) -> uint16_t {
        switch (r) {
        case TRegister::A: return 0x0100;
        case TRegister::B: return 0x0200;
        case TRegister::D: return 0x0300;
        case TRegister::X: return 0x0400;
        case TRegister::Y: return 0x0800;
        case TRegister::SP: return 0x1000;
        default: return 0;
        }
    };
    const bool onMemory = opcode.Mode != TAddressing::Inherent;
    switch (opcode.Operation) {
    case Illegal: return 0x3010;
    case Prebyte: case Test: case Nop: case Branch: case Brset: case Brclr: case Jmp:
    case Stop:
        return 0;
    case Cmp: case Bit: case Tst: case Cp16: case Cba: case Tap:
    case Clc: case Sec: case Clv: case Sev: case Cli: case Sei:
        return kFlags;
    case Sta: case Bset: case Bclr: return 0x2000 | kFlags;
    case Neg: case Com: case Lsr: case Ror: case Asr: case Asl: case Rol: case Dec: case Inc:
    case Clr:
        return (onMemory ? 0x2000 : registerBits(opcode.Register)) | kFlags;
    case St16: return 0x4000 | kFlags;
    case Aba: case Sba: case Daa: return 0x0100 | kFlags;
    case Tab: return 0x0200 | kFlags;
    case Tpa: return 0x0100;
    case Mul: case Lsrd: case Asld: return 0x0300 | kFlags;
    case Idiv: case Fdiv: return 0x0700 | kFlags;
    case Ins: case Des: case Rts: return 0x1000;
    case Tsx: case Abx: return registerBits(opcode.Register);
    case Txs: return 0x1000;
    case Xgd: return 0x0300 | registerBits(opcode.Register);
    case Psh8: case Psh16: case Jsr: case Bsr: case Wai: return 0x3000;
    case Pul8: case Pul16: return 0x1000 | registerBits(opcode.Register);
    case Swi: return 0x3010;
    case Rti: return 0x1FFF;
    default: return registerBits(opcode.Register) | kFlags;
    }
}

}  // namespace hexmoor
