// Operand forming shared by every instruction: what the opcode table says about one opcode,
// instruction fetch, effective addresses and operand reads for all addressing modes.
#pragma once

#include "core/Machine.h"
#include "core/OpcodeTable.h"

namespace hexmoor::execute {

// Everything known at compile time about the opcode Code on page Page.
template <int Page, int Code>
struct TDecoded {
    static constexpr int PageNumber = Page;
    static constexpr uint8_t Opcode = Code;
    static constexpr TOpcode Op = kOpcodeTable[Page][Code];
    static constexpr int N = OperandOffset(Page);  // first operand byte
    static constexpr uint16_t Length = InstructionLengthOf(Page, Op);
    static constexpr uint16_t ChangeMask = ChangeMaskOf(Op);
};

// Instruction bytes come straight from MemoryImage, never through the register window.
inline uint8_t FetchByte(const TMachine& m, int offset) {
    return m.MemoryImage[uint16_t(m.RegisterPC + offset)];
}
inline uint16_t FetchWord(const TMachine& m, int offset) {
    return uint16_t(FetchByte(m, offset) << 8 | FetchByte(m, offset + 1));
}

template <class I>
[[gnu::always_inline]] inline void FormEffectiveAddress(TMachine& m) {
    using enum TAddressing;
    constexpr TAddressing mode = I::Op.Mode;
    if constexpr (mode == Direct)
        m.EffectiveAddress = FetchByte(m, I::N);
    else if constexpr (mode == Extended)
        m.EffectiveAddress = FetchWord(m, I::N);
    else if constexpr (mode == IndexedX)
        m.EffectiveAddress = uint16_t(m.RegisterX + FetchByte(m, I::N));
    else if constexpr (mode == IndexedY)
        m.EffectiveAddress = uint16_t(m.RegisterY + FetchByte(m, I::N));
    else
        static_assert(mode == Direct, "addressing mode without an effective address");
}

template <class I>
[[gnu::always_inline]] inline uint8_t ReadOperand8(TMachine& m) {
    if constexpr (I::Op.Mode == TAddressing::Immediate8) {
        return FetchByte(m, I::N);
    } else {
        FormEffectiveAddress<I>(m);
        m.LoadByte();
        return m.DataByte;
    }
}

template <class I>
[[gnu::always_inline]] inline uint16_t ReadOperand16(TMachine& m) {
    if constexpr (I::Op.Mode == TAddressing::Immediate16) {
        return FetchWord(m, I::N);
    } else {
        FormEffectiveAddress<I>(m);
        m.LoadWord();
        return m.OperandWord;
    }
}

template <TRegister R>
uint8_t& Accumulator(TMachine& m) {
    static_assert(R == TRegister::A || R == TRegister::B);
    if constexpr (R == TRegister::A) return m.RegisterA;
    else return m.RegisterB;
}

template <TRegister R>
uint16_t& Register16(TMachine& m) {
    if constexpr (R == TRegister::D) return m.RegisterD;
    else if constexpr (R == TRegister::X) return m.RegisterX;
    else if constexpr (R == TRegister::Y) return m.RegisterY;
    else {
        static_assert(R == TRegister::SP);
        return m.RegisterSP;
    }
}

// The common end of an instruction that falls through to the next one.
template <class I>
[[gnu::always_inline]] inline void Finish(TMachine& m) {
    m.RegisterPC = uint16_t(m.RegisterPC + I::Length);
    m.InstructionCycles = I::Op.Cycles;
    if constexpr (I::ChangeMask != 0) m.ChangeMask = I::ChangeMask;
}

}  // namespace hexmoor::execute
