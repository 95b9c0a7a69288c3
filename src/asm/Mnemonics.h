// The assembler's mnemonics, gathered from the opcode table the CPU executes, with the
// alternate names Motorola's assemblers accepted (LSL for ASL, BHS for BCC, LDA for LDAA).
#pragma once

#include <array>
#include <string_view>

#include "core/Opcode.h"

namespace hexmoor {

// One opcode of a mnemonic: the page its prebyte selects and its code there.
struct TInstructionForm {
    int Page = 0;
    uint8_t Code = 0;
    const TOpcode* Opcode = nullptr;  // null where the mnemonic lacks the mode
};

struct TMnemonic {
    std::array<TInstructionForm, 8> Forms{};  // by TAddressing

    const TInstructionForm& Form(TAddressing mode) const { return Forms[int(mode)]; }
    bool Has(TAddressing mode) const { return Form(mode).Opcode != nullptr; }
    TOperation Operation() const;
};

// The mnemonic of that name in any case; null for none.
const TMnemonic* FindMnemonic(std::string_view name);

}  // namespace hexmoor
