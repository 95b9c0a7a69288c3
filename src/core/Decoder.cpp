#include "core/Decoder.h"

#include "core/OpcodeTable.h"

namespace hexmoor {

TDecodedInstruction DecodeAt(uint16_t address, const TInstructionBytes& bytes) {
    TDecodedInstruction d;
    d.Address = address;
    d.Bytes = bytes;
    d.Page = PageAfter(bytes[0]);
    const int n = OperandOffset(d.Page);
    d.Opcode = &kOpcodeTable[d.Page][bytes[d.Page == 0 ? 0 : 1]];
    const TOperation operation = d.Opcode->Operation;
    d.Legal = operation != TOperation::Illegal && operation != TOperation::Test;
    if (!d.Legal) return d;
    d.Length = InstructionLengthOf(d.Page, *d.Opcode);
    d.Operand = bytes[n];
    d.Word = uint16_t(bytes[n] << 8 | bytes[n + 1]);
    if (IsBitInstruction(*d.Opcode)) d.Mask = bytes[n + 1];
    if (d.Opcode->Mode == TAddressing::Relative)
        d.Target = uint16_t(address + d.Length + int8_t(bytes[n]));
    if (operation == TOperation::Brset || operation == TOperation::Brclr)
        d.Target = uint16_t(address + d.Length + int8_t(bytes[n + 2]));
    return d;
}

bool IsBitInstruction(const TOpcode& opcode) {
    using enum TOperation;
    return opcode.Operation == Bset || opcode.Operation == Bclr || opcode.Operation == Brset ||
           opcode.Operation == Brclr;
}

bool HasBranchTarget(const TDecodedInstruction& d) {
    return d.Legal && (d.Opcode->Mode == TAddressing::Relative || d.Opcode->Operation == TOperation::Brset ||
                       d.Opcode->Operation == TOperation::Brclr);
}

}  // namespace hexmoor
