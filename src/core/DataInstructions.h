// The data operations: loads, stores, transfers, arithmetic, logic, shifts, multiply and
// divide, decimal adjust and the flag instructions. The flag rules are TConditionCodes'.
#pragma once

#include <utility>

#include "core/DaaTable.h"
#include "core/Operands.h"

namespace hexmoor::execute {

using TAlu8 = uint8_t (TConditionCodes::*)(uint8_t, uint8_t);
using TUnary8 = uint8_t (TConditionCodes::*)(uint8_t);

inline TConditionCodes& Flags(TMachine& m) { return m; }

// Accumulator op operand; compares and BIT only set the flags.
template <class I, TAlu8 Alu, bool KeepResult>
[[gnu::always_inline]] inline void AccumulatorOperation(TMachine& m) {
    uint8_t& accumulator = Accumulator<I::Op.Register>(m);
    uint8_t result = (Flags(m).*Alu)(accumulator, ReadOperand8<I>(m));
    if constexpr (KeepResult) accumulator = result;
    Finish<I>(m);
}

// Instructions that write memory set their flags after the write, so a register write
// handler sees the machine as it was before the instruction's flags changed.
template <class I>
[[gnu::always_inline]] inline void StoreAccumulator(TMachine& m) {
    const uint8_t value = Accumulator<I::Op.Register>(m);
    FormEffectiveAddress<I>(m);
    m.DataByte = value;
    m.StoreByte();
    m.Load(0, value);
    Finish<I>(m);
}

// One-operand instructions on A, B or a memory byte. TST only reads; the others read with
// LoadByteforStore (CLR too) and write the result back.
template <class I, TUnary8 Operation>
[[gnu::always_inline]] inline void OneOperand(TMachine& m) {
    if constexpr (I::Op.Mode == TAddressing::Inherent) {
        uint8_t& accumulator = Accumulator<I::Op.Register>(m);
        accumulator = (Flags(m).*Operation)(accumulator);
    } else if constexpr (I::Op.Operation == TOperation::Tst) {
        FormEffectiveAddress<I>(m);
        m.LoadByte();
        (Flags(m).*Operation)(m.DataByte);
    } else {
        FormEffectiveAddress<I>(m);
        m.LoadByteforStore();
        TConditionCodes flags = m;
        m.DataByte = (flags.*Operation)(m.DataByte);
        m.StoreByte();
        Flags(m) = flags;
    }
    Finish<I>(m);
}

template <class I>
[[gnu::always_inline]] inline void BitSetOrClear(TMachine& m) {
    FormEffectiveAddress<I>(m);
    m.BitMask = FetchByte(m, I::N + 1);
    m.LoadByteforStore();
    if constexpr (I::Op.Operation == TOperation::Bset)
        m.DataByte = m.DataByte | m.BitMask;
    else
        m.DataByte = m.DataByte & ~m.BitMask;
    m.StoreByte();
    m.Load(0, m.DataByte);
    Finish<I>(m);
}

// ADDD, SUBD, CPD/CPX/CPY and LDD/LDX/LDY/LDS.
template <class I>
[[gnu::always_inline]] inline void Register16Operation(TMachine& m) {
    using enum TOperation;
    uint16_t& reg = Register16<I::Op.Register>(m);
    const uint16_t operand = ReadOperand16<I>(m);
    if constexpr (I::Op.Operation == Addd) reg = m.Add16(reg, operand);
    else if constexpr (I::Op.Operation == Subd) reg = m.Sub16(reg, operand);
    else if constexpr (I::Op.Operation == Cp16) m.Sub16(reg, operand);
    else reg = m.Load16(reg, operand);
    if constexpr (I::Op.Operation == Ld16 && I::Op.Register == TRegister::SP) m.CallStack.Unwind(m.RegisterSP);
    Finish<I>(m);
}

template <class I>
[[gnu::always_inline]] inline void StoreRegister16(TMachine& m) {
    const uint16_t value = Register16<I::Op.Register>(m);
    FormEffectiveAddress<I>(m);
    m.OperandWord = value;
    m.StoreWord();
    m.Load16(0, value);
    Finish<I>(m);
}

inline void IntegerDivide(TMachine& m) {
    if (m.RegisterX != 0) {
        const uint16_t quotient = m.RegisterD / m.RegisterX;
        m.RegisterD = m.RegisterD % m.RegisterX;
        m.RegisterX = quotient;
        m.FlagC = false;
        m.FlagZ = quotient == 0;
    } else {
        m.RegisterX = 0xFFFF;
        m.FlagC = true;
        m.FlagZ = false;
    }
    m.FlagV = false;
}

// D * 65536 / IX. A divisor of zero is never greater than D, so it overflows (V) as well
// as dividing by zero (C).
inline void FractionalDivide(TMachine& m) {
    if (m.RegisterX == 0 || m.RegisterD >= m.RegisterX) {
        m.FlagC = m.RegisterX == 0;
        m.RegisterX = 0xFFFF;
        m.FlagV = true;
        m.FlagZ = false;
        return;
    }
    const uint32_t dividend = uint32_t(m.RegisterD) << 16;
    const uint16_t quotient = uint16_t(dividend / m.RegisterX);
    m.RegisterD = uint16_t(dividend % m.RegisterX);
    m.RegisterX = quotient;
    m.FlagV = m.FlagC = false;
    m.FlagZ = quotient == 0;
}

inline void DecimalAdjust(TMachine& m) {
    static constexpr uint8_t kAddend[] = {0x00, 0x00, 0x06, 0x60, 0x66};
    const uint8_t correction = DaaTable[m.FlagC * 2 + m.FlagH][m.RegisterA];
    if (correction == DaaInvalid) {
        m.Warning("DAA Invalid");
    } else {
        m.RegisterA = uint8_t(m.RegisterA + kAddend[correction]);
        m.FlagC = correction >= DaaAdd60;
    }
    m.SetNZ(m.RegisterA);
}

// Clearing I in software (CLI, TAP) lets one more instruction run before an IRQ.
inline void SetInterruptMask(TMachine& m, bool masked) {
    if (!masked) m.MaskDelay = true;
    m.FlagI = masked;
    m.SetIrqButtonHint();
}

// The instructions without an operand that work only on registers and flags.
template <class I>
[[gnu::always_inline]] inline void RegisterOperation(TMachine& m) {
    using enum TOperation;
    constexpr TOperation op = I::Op.Operation;
    if constexpr (op == Aba) m.RegisterA = m.Add(m.RegisterA, m.RegisterB);
    else if constexpr (op == Sba) m.RegisterA = m.Sub(m.RegisterA, m.RegisterB);
    else if constexpr (op == Cba) m.Sub(m.RegisterA, m.RegisterB);
    else if constexpr (op == Tab) m.RegisterB = m.Load(0, m.RegisterA);
    else if constexpr (op == Tba) m.RegisterA = m.Load(0, m.RegisterB);
    else if constexpr (op == Daa) DecimalAdjust(m);
    else if constexpr (op == Mul) {
        m.RegisterD = uint16_t(m.RegisterA * m.RegisterB);
        m.FlagC = m.RegisterB & 0x80;
    }
    else if constexpr (op == Idiv) IntegerDivide(m);
    else if constexpr (op == Fdiv) FractionalDivide(m);
    else if constexpr (op == Lsrd) m.RegisterD = m.Lsr16(m.RegisterD);
    else if constexpr (op == Asld) m.RegisterD = m.Asl16(m.RegisterD);
    else if constexpr (op == Tap) {
        m.UnpackCcr(m.RegisterA);
        SetInterruptMask(m, m.FlagI);
    }
    else if constexpr (op == Tpa) m.RegisterA = m.PackedCcr();
    else if constexpr (op == Clc || op == Sec) m.FlagC = op == Sec;
    else if constexpr (op == Clv || op == Sev) m.FlagV = op == Sev;
    else if constexpr (op == Cli || op == Sei) SetInterruptMask(m, op == Sei);
    else if constexpr (op == Inc16 || op == Dec16) {
        uint16_t& reg = Register16<I::Op.Register>(m);
        reg = uint16_t(reg + (op == Inc16 ? 1 : -1));
        m.FlagZ = reg == 0;
    }
    else if constexpr (op == Ins || op == Des) m.RegisterSP = uint16_t(m.RegisterSP + (op == Ins ? 1 : -1));
    else if constexpr (op == Tsx) Register16<I::Op.Register>(m) = uint16_t(m.RegisterSP + 1);
    else if constexpr (op == Txs) m.RegisterSP = uint16_t(Register16<I::Op.Register>(m) - 1);
    else if constexpr (op == Abx) Register16<I::Op.Register>(m) += m.RegisterB;
    else if constexpr (op == Xgd) std::swap(m.RegisterD, Register16<I::Op.Register>(m));
    else static_assert(op == Aba, "not a register operation");
    if constexpr (op == Ins || op == Txs) m.CallStack.Unwind(m.RegisterSP);
    Finish<I>(m);
}

}  // namespace hexmoor::execute
