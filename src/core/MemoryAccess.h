// The memory primitives, inline because every instruction runs through them. An access
// inside the register window goes to the register handlers; all else is MemoryImage.
#pragma once

#include "core/Machine.h"

namespace hexmoor {

// A store notes what it changed: a program waiting for a key changes nothing for good.
// A word's second byte wraps at $FFFF to $0000 and is tested against the register window
// like any other byte (INIT can put the block at $0000).
// The register window's page and pages a debugger watches are the rare case: their
// accesses go out of line, so the common path inlines into every instruction.
[[gnu::always_inline]] inline uint8_t TMachine::ReadByteAt(int32_t address) {
    if (PageFlags[uint16_t(address) >> 8]) [[unlikely]]
        return ReadFlaggedPage(uint16_t(address), TReadKind::Plain);
    return MemoryImage[uint16_t(address)];
}

[[gnu::always_inline]] inline void TMachine::WriteByteAt(int32_t address, uint8_t byte) {
    if (PageFlags[uint16_t(address) >> 8]) [[unlikely]] {
        WriteFlaggedPage(uint16_t(address), byte);
    } else {
        WaitLoop.Stored(uint16_t(address), MemoryImage[uint16_t(address)], byte);
        MemoryImage[uint16_t(address)] = byte;
    }
}

inline void TMachine::LoadByte() { DataByte = ReadByteAt(EffectiveAddress); }

// Byte by byte through the window test, so LDD of a timer register reads the register.
[[gnu::always_inline]] inline void TMachine::LoadWord() {
    uint8_t high = ReadByteAt(EffectiveAddress);
    uint8_t low = ReadByteAt(uint16_t(EffectiveAddress + 1));
    OperandWord = uint16_t(high << 8 | low);
}

inline void TMachine::StoreByte() { WriteByteAt(EffectiveAddress, DataByte); }

// Two byte stores, high byte first; a word straddling a window edge is split.
[[gnu::always_inline]] inline void TMachine::StoreWord() {
    WriteByteAt(EffectiveAddress, uint8_t(OperandWord >> 8));
    WriteByteAt(uint16_t(EffectiveAddress + 1), uint8_t(OperandWord));
}

// The read half of a read-modify-write: a register gives its latch. It is a read on the
// bus like any other, so a debugger watching the byte hears of it before the write.
inline void TMachine::LoadByteforStore() {
    if (PageFlags[EffectiveAddress >> 8]) [[unlikely]]
        DataByte = ReadFlaggedPage(EffectiveAddress, TReadKind::ForStore);
    else
        DataByte = MemoryImage[EffectiveAddress];
}

// Pushes PC, IY, IX, A, B and the CCR, nine bytes down from SP, each through StoreByte.
inline void TMachine::StackRegisters() {
    const uint8_t bytes[] = {uint8_t(RegisterPC), uint8_t(RegisterPC >> 8),
                             uint8_t(RegisterY),  uint8_t(RegisterY >> 8),
                             uint8_t(RegisterX),  uint8_t(RegisterX >> 8),
                             RegisterA,           RegisterB,
                             PackedCcr()};
    for (uint8_t byte : bytes) {
        EffectiveAddress = RegisterSP--;
        DataByte = byte;
        StoreByte();
    }
}

}  // namespace hexmoor
