// Control flow and the CPU's special instructions: branches, bit-test branches, jumps,
// calls and returns, pushes and pulls, RTI, SWI, WAI, STOP, TEST and the illegal-opcode trap.
#pragma once

#include <string>

#include "core/Operands.h"

namespace hexmoor::execute {

inline constexpr uint16_t kSwiVector = 0xFFF6;
inline constexpr uint16_t kIllegalOpcodeVector = 0xFFF8;
inline constexpr uint8_t kOptionOffset = 0x39;
inline constexpr uint8_t kClockMonitorBits = 0x0C;  // OPTION's CME and FCME

inline void PushByte(TMachine& m, uint8_t byte) {
    m.EffectiveAddress = m.RegisterSP;
    m.DataByte = byte;
    m.StoreByte();
    --m.RegisterSP;
}

// The byte `depth` above SP. Pulls read all their bytes before they move SP, so that a read
// of the terminal that is abandoned leaves SP as it was.
inline uint8_t StackByte(TMachine& m, int depth) {
    m.EffectiveAddress = uint16_t(m.RegisterSP + depth);
    m.LoadByte();
    return m.DataByte;
}

inline uint16_t StackWord(TMachine& m, int depth) {
    const uint8_t high = StackByte(m, depth);
    return uint16_t(high << 8 | StackByte(m, depth + 1));
}

inline uint8_t PullByte(TMachine& m) {
    const uint8_t byte = StackByte(m, 1);
    ++m.RegisterSP;
    return byte;
}

// Low byte at SP, high byte at SP - 1.
inline void PushWord(TMachine& m, uint16_t word) {
    PushByte(m, uint8_t(word));
    PushByte(m, uint8_t(word >> 8));
}

// The conditional branches $20-$2F, selected by the opcode's low nibble.
template <uint8_t Code>
bool BranchCondition(const TMachine& m) {
    const bool c = m.FlagC, z = m.FlagZ, n = m.FlagN, v = m.FlagV;
    switch (Code & 0x0F) {
    case 0x0: return true;
    case 0x1: return false;
    case 0x2: return !(c || z);
    case 0x3: return c || z;
    case 0x4: return !c;
    case 0x5: return c;
    case 0x6: return !z;
    case 0x7: return z;
    case 0x8: return !v;
    case 0x9: return v;
    case 0xA: return !n;
    case 0xB: return n;
    case 0xC: return n == v;
    case 0xD: return n != v;
    case 0xE: return !(z || n != v);
    default: return z || n != v;
    }
}

template <class I>
[[gnu::always_inline]] inline void ConditionalBranch(TMachine& m) {
    const int8_t offset = int8_t(FetchByte(m, 1));
    const uint16_t from = m.RegisterPC;
    const bool taken = BranchCondition<I::Opcode>(m);
    m.RegisterPC = uint16_t(from + 2 + (taken ? offset : 0));
    m.Transfers.RecordIf(taken, from, m.RegisterPC);
    m.InstructionCycles = I::Op.Cycles;
}

// BRSET branches when every mask bit is 1 in the operand, BRCLR when every one is 0.
template <class I>
[[gnu::always_inline]] inline void BitTestBranch(TMachine& m) {
    FormEffectiveAddress<I>(m);
    m.BitMask = FetchByte(m, I::N + 1);
    m.BranchOffset = int8_t(FetchByte(m, I::N + 2));
    m.LoadByte();
    const uint8_t tested = I::Op.Operation == TOperation::Brset ? uint8_t(~m.DataByte) : m.DataByte;
    const bool taken = (tested & m.BitMask) == 0;
    const uint16_t from = m.RegisterPC;
    m.RegisterPC = uint16_t(from + I::Length + (taken ? m.BranchOffset : 0));
    m.Transfers.RecordIf(taken, from, m.RegisterPC);
    m.InstructionCycles = I::Op.Cycles;
}

template <class I>
[[gnu::always_inline]] inline void Jump(TMachine& m) {
    FormEffectiveAddress<I>(m);
    m.Transfers.Record(m.RegisterPC, m.EffectiveAddress);
    m.RegisterPC = m.EffectiveAddress;
    m.InstructionCycles = I::Op.Cycles;
}

template <class I>
[[gnu::always_inline]] inline void JumpToSubroutine(TMachine& m) {
    uint16_t destination;
    if constexpr (I::Op.Operation == TOperation::Bsr) {
        destination = uint16_t(m.RegisterPC + I::Length + int8_t(FetchByte(m, 1)));
    } else {
        FormEffectiveAddress<I>(m);
        destination = m.EffectiveAddress;
    }
    PushWord(m, uint16_t(m.RegisterPC + I::Length));
    m.Transfers.Record(m.RegisterPC, destination);
    m.CallStack.Push({m.RegisterPC, destination, 0, m.RegisterSP});
    m.RegisterPC = destination;
    m.InstructionCycles = I::Op.Cycles;
    m.ChangeMask = I::ChangeMask;
}

template <class I>
[[gnu::always_inline]] inline void ReturnFromSubroutine(TMachine& m) {
    const uint16_t destination = StackWord(m, 1);
    m.Transfers.Record(m.RegisterPC, destination);
    m.RegisterPC = destination;
    m.RegisterSP = uint16_t(m.RegisterSP + 2);
    m.CallStack.Unwind(m.RegisterSP);
    m.InstructionCycles = I::Op.Cycles;
    m.ChangeMask = I::ChangeMask;
}

template <class I>
[[gnu::always_inline]] inline void PushOrPull(TMachine& m) {
    using enum TOperation;
    constexpr TOperation op = I::Op.Operation;
    if constexpr (op == Psh8) {
        PushByte(m, Accumulator<I::Op.Register>(m));
    } else if constexpr (op == Pul8) {
        Accumulator<I::Op.Register>(m) = PullByte(m);
    } else if constexpr (op == Psh16) {
        PushWord(m, Register16<I::Op.Register>(m));
    } else {
        m.EffectiveAddress = uint16_t(m.RegisterSP + 1);
        m.LoadWord();
        m.RegisterSP = uint16_t(m.RegisterSP + 2);
        Register16<I::Op.Register>(m) = m.OperandWord;
    }
    if constexpr (op == Pul8 || op == Pul16) m.CallStack.Unwind(m.RegisterSP);
    Finish<I>(m);
}

// Pulls CCR, B, A, IX, IY and PC; unlike CLI and TAP it leaves MaskDelay alone.
template <class I>
void ReturnFromInterrupt(TMachine& m) {
    const uint8_t ccr = StackByte(m, 1), b = StackByte(m, 2), a = StackByte(m, 3);
    const uint16_t x = StackWord(m, 4), y = StackWord(m, 6), pc = StackWord(m, 8);
    m.RegisterSP = uint16_t(m.RegisterSP + 9);
    m.CallStack.Unwind(m.RegisterSP);
    m.UnpackCcr(ccr);
    m.SetIrqButtonHint();
    m.RegisterB = b;
    m.RegisterA = a;
    m.RegisterX = x;
    m.RegisterY = y;
    m.Transfers.Record(m.RegisterPC, pc);
    m.RegisterPC = pc;
    m.WaitLoop.InterruptReturned();
    m.InstructionCycles = I::Op.Cycles;
    m.ChangeMask = I::ChangeMask;
}

template <class I>
void SoftwareInterrupt(TMachine& m) {
    m.RegisterPC = uint16_t(m.RegisterPC + 1);
    m.StackRegisters();
    m.FlagI = true;
    m.SetIrqButtonHint();
    const uint16_t vector = m.ReadVector(kSwiVector);
    m.Transfers.Record(uint16_t(m.RegisterPC - 1), vector);
    m.CallStack.Push({uint16_t(m.RegisterPC - 1), vector, kSwiVector, m.RegisterSP});
    m.RegisterPC = vector;
    m.InstructionCycles = I::Op.Cycles;
    m.ChangeMask = I::ChangeMask;
}

// The registers are stacked now, so the interrupt that ends the wait is entered at once.
template <class I>
void WaitForInterrupt(TMachine& m) {
    m.RegisterPC = uint16_t(m.RegisterPC + 1);
    m.StackRegisters();
    m.InstructionCycles = I::Op.Cycles;
    m.RunState = RunWaiting;
    m.ChangeMask = I::ChangeMask;
    m.SetStatusLed(kAqua, " The CPU is Waiting for an Interrupt ");
    m.Warning("Entering WAI mode");
}

void StopInstruction(TMachine& m);

// Traps through $FFF8 with the illegal instruction itself (its prebyte, if any) stacked
// as the return address.
void IllegalOpcodeTrap(TMachine& m, const std::string& warning, int cycles);

template <class I>
void TestInstruction(TMachine& m) {
    if (m.OperatingMode == 3) {
        IllegalOpcodeTrap(m, "TEST (Illegal Instruction", IllegalOpcodeCycles(0));
        return;
    }
    Finish<I>(m);
}

}  // namespace hexmoor::execute
