// One machine instruction from its mnemonic and operand: the addressing mode the operand's
// form asks for, the opcode the table gives for it, and the bytes.
#pragma once

#include <string_view>

#include "asm/AsmContext.h"
#include "asm/Mnemonics.h"

namespace hexmoor {

void AssembleInstruction(TAsmContext& context, std::string_view name, const TMnemonic& mnemonic, TCursor& operand);

// A value's range check, with the error that names what did not fit.
bool CheckRange(TAsmContext& context, std::size_t column, TValue value, int32_t low, int32_t high,
                std::string_view what);

}  // namespace hexmoor
