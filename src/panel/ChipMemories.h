// Where the chip's own memories sit in the address space now: the register block and the
// internal RAM move with a program's INIT write, the EEPROM with CONFIG at reset.
#pragma once

#include <QColor>

#include <cstdint>
#include <optional>
#include <vector>

#include "core/Machine.h"

namespace hexmoor {

struct TChipMemory {
    const char* Name;
    QRgb Tint;  // the background of its bytes in a memory view
};

inline constexpr TChipMemory kRegisterBlock{"register block", qRgb(255, 236, 179)};
inline constexpr TChipMemory kInternalRam{"internal RAM", qRgb(207, 238, 207)};
inline constexpr TChipMemory kEeprom{"EEPROM", qRgb(208, 222, 250)};

struct TChipMemorySpan {
    const TChipMemory* Memory;
    uint16_t Begin, End;
};

// In the order a CPU access finds them where they overlap: the register block hides the
// RAM, and both hide the EEPROM. The EEPROM counts only while CONFIG enables it.
inline std::vector<TChipMemorySpan> ChipMemories(const TMachine& m) {
    std::vector<TChipMemorySpan> spans{{&kRegisterBlock, uint16_t(m.IRegBeg), uint16_t(m.IRegEnd)},
                                       {&kInternalRam, uint16_t(m.IRamBeg), uint16_t(m.IRamEnd)}};
    if (m.IEEPromEnabled) spans.push_back({&kEeprom, uint16_t(m.IEEPromBeg), uint16_t(m.IEEPromEnd)});
    return spans;
}

inline std::optional<TChipMemorySpan> ChipMemoryAt(const std::vector<TChipMemorySpan>& spans, uint16_t address) {
    for (const TChipMemorySpan& span : spans)
        if (address >= span.Begin && address <= span.End) return span;
    return std::nullopt;
}

}  // namespace hexmoor
