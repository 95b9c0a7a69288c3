#include "asm/Instructions.h"

#include "core/Hex.h"

namespace hexmoor {

namespace {

std::string ValueText(int32_t value) {
    return value < 0 ? std::to_string(value)
                     : "$" + HexDigits(unsigned(value), value > 0xFFFF ? 8 : 2 + 2 * (value > 0xFF));
}

// The prebyte, the opcode and the operand's byte or bytes, as the mode sizes them.
std::vector<uint8_t> Encode(const TInstructionForm& form, int32_t operand) {
    std::vector<uint8_t> bytes;
    if (form.Page != 0) bytes.push_back(kPrebytes[form.Page]);
    bytes.push_back(form.Code);
    switch (form.Opcode->Mode) {
        case TAddressing::Inherent: break;
        case TAddressing::Immediate16:
        case TAddressing::Extended: bytes.push_back(uint8_t(operand >> 8)); [[fallthrough]];
        default: bytes.push_back(uint8_t(operand));
    }
    return bytes;
}

void Emit(TAsmContext& context, const TInstructionForm& form, std::vector<uint8_t> bytes) {
    context.Emit(bytes, form.Opcode->Cycles);
}

// The offset from the instruction's end to the target; a branch on the 64 KiB circle may
// wrap past $FFFF as the CPU's does.
uint8_t BranchOffset(TAsmContext& context, std::size_t column, TValue target, const TInstructionForm& form) {
    if (!target.Known || !CheckRange(context, column, target, 0, 0xFFFF, "branch target")) return 0;
    const int32_t end = context.Location() + InstructionLengthOf(form.Page, *form.Opcode);
    const int16_t offset = int16_t(uint16_t(target.Value - end));
    if (offset < -128 || offset > 127)
        context.Error(column, "branch out of range: $" + Hex4(uint16_t(target.Value)) + " is " +
                                  std::to_string(offset) + " bytes away, a branch reaches -128 to +127");
    return uint8_t(offset);
}

// A blank or a comma between the bit instructions' fields.
bool TakeFieldSeparator(TAsmContext& context, TCursor& cursor, std::string_view field) {
    if (cursor.TakeComma()) return true;
    if (IsBlank(cursor.Peek())) {
        cursor.SkipBlanks();
        return true;
    }
    context.Error(cursor.Column(),
                  cursor.Unexpected() + ": expected the " + std::string(field) + " after a blank or a comma");
    return false;
}

// BSET, BCLR, BRSET and BRCLR: an address on the direct page or an offset from X or Y, a
// mask, and for the branches a target.
void AssembleBitInstruction(TAsmContext& context, std::string_view name, const TMnemonic& mnemonic, TCursor& c) {
    const std::size_t column = c.Column();
    if (c.Peek() == '>') {
        context.Error(column, std::string(name) + " has no extended mode");
        return;
    }
    c.Take('<');
    std::optional<TValue> address = c.Peek() == ',' ? TValue{0, true} : context.Expression(c);
    if (!address) return;
    TAddressing mode = TAddressing::Direct;
    if (const std::size_t comma = c.Pos; c.TakeComma()) {
        const char index = c.TakeIndexRegister();
        if (index) mode = index == 'X' ? TAddressing::IndexedX : TAddressing::IndexedY;
        c.Pos = index ? c.Pos : comma;
    }
    if (!TakeFieldSeparator(context, c, "mask")) return;
    c.Take('#');
    const std::size_t maskColumn = c.Column();
    const std::optional<TValue> mask = context.Expression(c, kImmediateSyntax);
    if (!mask) return;
    CheckRange(context, maskColumn, *mask, -128, 0xFF, "mask");
    const TInstructionForm& form = mnemonic.Form(mode);
    if (mode == TAddressing::Direct && address->Known && (address->Value < 0 || address->Value > 0xFF))
        context.Error(column, std::string(name) + " reaches $00-$FF directly, not " + ValueText(address->Value) +
                                  "; load X with a base and give an offset, as in " + std::string(name) + " $04,X");
    else if (mode != TAddressing::Direct)
        CheckRange(context, column, *address, 0, 0xFF, "index offset");
    std::vector<uint8_t> bytes = Encode(form, address->Value);
    bytes.push_back(uint8_t(mask->Value));
    if (mnemonic.Operation() == TOperation::Brset || mnemonic.Operation() == TOperation::Brclr) {
        if (!TakeFieldSeparator(context, c, "branch target")) return;
        const std::size_t targetColumn = c.Column();
        const std::optional<TValue> target = context.Expression(c);
        if (!target) return;
        bytes.push_back(BranchOffset(context, targetColumn, *target, form));
    }
    Emit(context, form, std::move(bytes));
}

// Direct when the first pass knew the address to be on the direct page, else extended:
// the second pass keeps that choice, so every line keeps its size.
TAddressing AddressMode(TAsmContext& context, const TMnemonic& mnemonic, TValue address, char force) {
    if (force == '<') return TAddressing::Direct;
    if (force == '>' || !mnemonic.Has(TAddressing::Direct)) return TAddressing::Extended;
    TFirstPassNote& note = context.Note();
    if (context.FirstPass()) note = {address.Known, address.Value};
    return note.Known && note.Value >= 0 && note.Value <= 0xFF ? TAddressing::Direct : TAddressing::Extended;
}

const char* ModeName(TAddressing mode) {
    switch (mode) {
        case TAddressing::Direct: return "direct";
        case TAddressing::Extended: return "extended";
        case TAddressing::IndexedX: return "indexed X";
        case TAddressing::IndexedY: return "indexed Y";
        default: return "immediate";
    }
}

void AssembleMemoryOperand(TAsmContext& context, std::string_view name, const TMnemonic& mnemonic, TCursor& c) {
    const std::size_t column = c.Column();
    if (c.Take('#')) {
        const bool wide = mnemonic.Has(TAddressing::Immediate16);
        if (wide || mnemonic.Has(TAddressing::Immediate8)) {
            const std::optional<TValue> value = context.Expression(c, kImmediateSyntax);
            if (!value) return;
            if (wide)
                CheckRange(context, column + 1, *value, -0x8000, 0xFFFF, "16-bit immediate");
            else
                CheckRange(context, column + 1, *value, -0x80, 0xFF, "8-bit immediate");
            const TInstructionForm& form = mnemonic.Form(wide ? TAddressing::Immediate16 : TAddressing::Immediate8);
            Emit(context, form, Encode(form, value->Value));
            return;
        }
        if (mnemonic.Operation() != TOperation::Jmp && mnemonic.Operation() != TOperation::Jsr) {
            context.Error(column, std::string(name) + " has no immediate mode");
            return;
        }
        context.Warn(column, "'#' ignored: " + std::string(name) + " takes an address");
    }
    const char force = c.Take('<') ? '<' : c.Take('>') ? '>' : '\0';
    const std::optional<TValue> value = c.Peek() == ',' ? TValue{0, true} : context.Expression(c);
    if (!value) return;
    TAddressing mode;
    if (const std::size_t comma = c.Pos; c.TakeComma()) {
        const char index = c.TakeIndexRegister();
        if (!index) {
            context.Error(c.Column(), c.Unexpected() + ": expected X or Y after the comma");
            return;
        }
        if (force) {
            context.Error(comma + 1, std::string("'") + force + "' does not apply to an indexed operand");
            return;
        }
        mode = index == 'X' ? TAddressing::IndexedX : TAddressing::IndexedY;
    } else {
        mode = AddressMode(context, mnemonic, *value, force);
    }
    if (!mnemonic.Has(mode)) {
        context.Error(column, std::string(name) + " has no " + ModeName(mode) + " mode");
        return;
    }
    switch (mode) {
        case TAddressing::Extended: CheckRange(context, column, *value, 0, 0xFFFF, "address"); break;
        case TAddressing::Direct: CheckRange(context, column, *value, 0, 0xFF, "direct-page address"); break;
        default: CheckRange(context, column, *value, 0, 0xFF, "index offset");
    }
    Emit(context, mnemonic.Form(mode), Encode(mnemonic.Form(mode), value->Value));
}

}  // namespace

bool CheckRange(TAsmContext& context, std::size_t column, TValue value, int32_t low, int32_t high,
                std::string_view what) {
    if (!value.Known || (value.Value >= low && value.Value <= high)) return true;
    context.Error(column, std::string(what) + " " + ValueText(value.Value) + " out of range (" + ValueText(low) +
                              " to " + ValueText(high) + ")");
    return false;
}

void AssembleInstruction(TAsmContext& context, std::string_view name, const TMnemonic& mnemonic, TCursor& operand) {
    switch (mnemonic.Operation()) {
        case TOperation::Bset:
        case TOperation::Bclr:
        case TOperation::Brset:
        case TOperation::Brclr: AssembleBitInstruction(context, name, mnemonic, operand); return;
        default: break;
    }
    if (mnemonic.Has(TAddressing::Inherent)) {
        Emit(context, mnemonic.Form(TAddressing::Inherent), Encode(mnemonic.Form(TAddressing::Inherent), 0));
    } else if (mnemonic.Has(TAddressing::Relative)) {
        const std::size_t column = operand.Column();
        const std::optional<TValue> target = context.Expression(operand);
        if (!target) return;
        const TInstructionForm& form = mnemonic.Form(TAddressing::Relative);
        Emit(context, form, Encode(form, BranchOffset(context, column, *target, form)));
    } else {
        AssembleMemoryOperand(context, name, mnemonic, operand);
    }
}

}  // namespace hexmoor
