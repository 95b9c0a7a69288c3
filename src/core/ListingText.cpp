#include "core/ListingText.h"

#include "core/Hex.h"

namespace hexmoor {

std::string ListingText(const TDecodedInstruction& d, const TAddressNames* names) {
    auto address = [names](uint16_t value, bool direct) {
        if (names)
            if (const std::string* name = names->NameAt(value)) return *name;
        return "$" + (direct ? Hex2(uint8_t(value)) : Hex4(value));
    };
    if (!d.Legal) return "FCB $" + Hex2(d.Bytes[0]);

    using enum TAddressing;
    std::string text = d.Opcode->Mnemonic;
    switch (d.Opcode->Mode) {
    case Inherent: return text;
    case Immediate8: return text + " #$" + Hex2(d.Operand);
    case Immediate16: return text + " #$" + Hex4(d.Word);
    // An extended operand on the direct page keeps its form only when forced with '>':
    // an assembler would otherwise pick the shorter direct opcode.
    case Extended: return text + (d.Word < 0x100 ? " >" : " ") + address(d.Word, false);
    case Relative: return text + " " + address(d.Target, false);
    case Direct: text += " " + address(d.Operand, true); break;
    case IndexedX: text += " $" + Hex2(d.Operand) + ",X"; break;
    case IndexedY: text += " $" + Hex2(d.Operand) + ",Y"; break;
    }
    if (IsBitInstruction(*d.Opcode)) text += " $" + Hex2(d.Mask);
    if (HasBranchTarget(d)) text += " " + address(d.Target, false);
    return text;
}

}  // namespace hexmoor
