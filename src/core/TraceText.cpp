// Trace text: mnemonic and operand field by addressing mode, in the published mnemonics.
#include "core/TraceText.h"

#include <cstdlib>

#include "core/Hex.h"
#include "core/Machine.h"
#include "core/OpcodeTable.h"

namespace hexmoor {

namespace {

// "*+$14" or "*-$0E": the distance from the instruction's own address to its destination.
std::string Distance(int distance) {
    return std::string(" *") + (distance >= 0 ? "+" : "-") + "$" + Hex2(uint8_t(std::abs(distance)));
}

}  // namespace

std::string BuildTraceText(const TMachine& m) {
    auto fetch = [&m](int offset) { return m.MemoryImage[uint16_t(m.RegisterPC + offset)]; };
    const int page = PageAfter(fetch(0));
    const uint8_t code = fetch(page == 0 ? 0 : 1);
    const TOpcode& op = kOpcodeTable[page][code];
    if (op.Operation == TOperation::Illegal) return "Illegal Page " + std::to_string(page + 1);
    if (op.Operation == TOperation::Test) return "Illegal (TEST)";

    using enum TAddressing;
    const int n = OperandOffset(page);
    const uint8_t byte = fetch(n);
    const std::string word = Hex4(uint16_t(byte << 8 | fetch(n + 1)));
    std::string text = op.Mnemonic;
    switch (op.Mode) {
    case Inherent: return text;
    case Immediate8: return text + " #$" + Hex2(byte);
    case Immediate16: return text + " #$" + word;
    case Extended: return text + " $" + word;
    case Relative: return text + Distance(int8_t(byte) + 2);
    default: break;
    }

    // Direct and indexed forms, with the bit instructions' mask and branch distance.
    text += " $" + Hex2(byte);
    if (op.Mode == IndexedX) text += ",X";
    if (op.Mode == IndexedY) text += ",Y";
    const bool bitInstruction = OperandBytes(op) > 1;
    if (bitInstruction) text += " $" + Hex2(fetch(n + 1));
    if (op.Operation == TOperation::Brset || op.Operation == TOperation::Brclr)
        text += Distance(int8_t(fetch(n + 2)) + InstructionLengthOf(page, op));
    if (op.Mode != Direct) {
        const uint16_t index = op.Mode == IndexedX ? m.RegisterX : m.RegisterY;
        const std::string address = Hex4(uint16_t(index + byte));
        // Only the base page's indexed-X forms show the address without "$".
        const bool dollar = page != 0 || op.Mode == IndexedY;
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
