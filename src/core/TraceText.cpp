// Trace text: mnemonic and operand field by addressing mode, in the published mnemonics.
#include "core/TraceText.h"

#include <cstdlib>

#include "core/Decoder.h"
#include "core/Hex.h"
#include "core/ListingText.h"
#include "core/Machine.h"

namespace hexmoor {

namespace {

// "*+$14" or "*-$0E": the distance from the instruction's own address to its destination.
std::string Distance(const TDecodedInstruction& d) {
    const int distance = int16_t(uint16_t(d.Target - d.Address));
    return std::string(" *") + (distance >= 0 ? "+" : "-") + "$" + Hex2(uint8_t(std::abs(distance)));
}

// " (print)" after a target a program has a name for.
std::string Named(const TMachine& m, uint16_t target) {
    const std::string* name = m.TraceNames ? m.TraceNames->NameAt(target) : nullptr;
    return name ? " (" + *name + ")" : "";
}

bool IsJump(const TDecodedInstruction& d) {
    return d.Opcode->Operation == TOperation::Jsr || d.Opcode->Operation == TOperation::Jmp;
}

}  // namespace

std::string BuildTraceText(const TMachine& m) {
    const TDecodedInstruction d = DecodeAt(m.RegisterPC, InstructionBytesAt(m.MemoryImage, m.RegisterPC));
    if (!d.Legal)
        return d.Opcode->Operation == TOperation::Test ? "Illegal (TEST)" : "Illegal Page " + std::to_string(d.Page + 1);

    using enum TAddressing;
    std::string text = d.Opcode->Mnemonic;
    switch (d.Opcode->Mode) {
    case Inherent: return text;
    case Immediate8: return text + " #$" + Hex2(d.Operand);
    case Immediate16: return text + " #$" + Hex4(d.Word);
    case Extended: return text + " $" + Hex4(d.Word) + (IsJump(d) ? Named(m, d.Word) : "");
    case Relative: return text + Distance(d) + Named(m, d.Target);
    default: break;
    }

    // Direct and indexed forms, with the bit instructions' mask and branch distance.
    text += " $" + Hex2(d.Operand);
    if (d.Opcode->Mode == IndexedX) text += ",X";
    if (d.Opcode->Mode == IndexedY) text += ",Y";
    if (IsBitInstruction(*d.Opcode)) text += " $" + Hex2(d.Mask);
    if (HasBranchTarget(d)) text += Distance(d) + Named(m, d.Target);
    if (d.Opcode->Mode == Direct && IsJump(d)) text += Named(m, d.Operand);
    if (d.Opcode->Mode != Direct) {
        const uint16_t index = d.Opcode->Mode == IndexedX ? m.RegisterX : m.RegisterY;
        const std::string address = Hex4(uint16_t(index + d.Operand));
        // Only the base page's indexed-X forms show the address without "$".
        const bool dollar = d.Page != 0 || d.Opcode->Mode == IndexedY;
        text += std::string(" (") + (dollar ? "$" : "") + address + ")";
    }
    return text;
}

std::string CcrLetters(uint8_t ccr) {
    static constexpr char kLetters[] = "SXHINZVC";
    std::string letters(8, ' ');
    for (int bit = 0; bit < 8; ++bit)
        if (ccr & (0x80 >> bit)) letters[bit] = kLetters[bit];
    return letters;
}

}  // namespace hexmoor
