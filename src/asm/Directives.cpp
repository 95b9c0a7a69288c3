#include "asm/Directives.h"

#include "asm/Instructions.h"

namespace hexmoor {

namespace {

// A value that moves the location counter must be known when the first pass reaches it,
// or the two passes would place the lines after it differently.
std::optional<int32_t> FirstPassValue(TAsmContext& context, TCursor& c, std::string_view directive) {
    const std::size_t column = c.Column();
    const std::optional<TValue> value = context.Expression(c);
    if (!value) return std::nullopt;
    TFirstPassNote& note = context.Note();
    if (context.FirstPass()) note = {value->Known, value->Value};
    if (!note.Known) {
        context.Error(column,
                      std::string(directive) + " needs a value known where it stands, without forward references");
        return std::nullopt;
    }
    return note.Value;
}

std::optional<int32_t> Count(TAsmContext& context, TCursor& c, std::string_view directive) {
    const std::size_t column = c.Column();
    const std::optional<int32_t> count = FirstPassValue(context, c, directive);
    if (!count || !CheckRange(context, column, {*count, true}, 0, 0x10000, "count")) return std::nullopt;
    return count;
}

void WarnHash(TAsmContext& context, TCursor& c, std::string_view directive) {
    if (c.Take('#')) context.Warn(c.Column() - 1, "'#' ignored: " + std::string(directive) + " takes a value");
}

void Origin(TAsmContext& context, const TSourceFields& fields, TCursor& c, TLineAction&) {
    const std::size_t column = c.Column();
    const std::optional<int32_t> address = FirstPassValue(context, c, "ORG");
    if (address && CheckRange(context, column, {*address, true}, 0, 0xFFFF, "address")) context.SetOrigin(*address);
    if (!fields.Label.empty()) context.Define(fields.Label, 1, {context.Location(), true}, TSymbolKind::Label);
}

void DefineValue(TAsmContext& context, const TSourceFields& fields, TCursor& c, TSymbolKind kind) {
    const std::string_view directive = kind == TSymbolKind::Set ? "SET" : "EQU";
    WarnHash(context, c, directive);
    const std::optional<TValue> value = context.Expression(c);
    if (fields.Label.empty()) {
        context.Error(fields.NameColumn, std::string(directive) + " needs a label to name its value");
        return;
    }
    if (!value) return;
    context.Define(fields.Label, 1, *value, kind);
    if (value->Known) context.ShowValue(value->Value);
}

void Equate(TAsmContext& context, const TSourceFields& fields, TCursor& c, TLineAction&) {
    DefineValue(context, fields, c, TSymbolKind::Equate);
}

void Set(TAsmContext& context, const TSourceFields& fields, TCursor& c, TLineAction&) {
    DefineValue(context, fields, c, TSymbolKind::Set);
}

// Text in quotes, where a value belongs: FCB "AB" or FCB 'AB' ('A alone is a value).
bool AtText(const TCursor& c) { return c.Peek() == '"' || (c.Peek() == '\'' && IsNameChar(c.Peek(2))); }

// FCB and FDB: values separated by commas.
void Values(TAsmContext& context, TCursor& c, bool words) {
    std::vector<uint8_t> bytes;
    do {
        if (words) WarnHash(context, c, "FDB");
        if (AtText(c)) {
            context.Error(c.Column(), std::string(words ? "FDB" : "FCB") +
                                          " takes values, not text: write text with FCC, as in FCC \"ABC\"");
            return;
        }
        const std::size_t column = c.Column();
        const std::optional<TValue> value = context.Expression(c);
        if (!value) return;
        if (words) {
            CheckRange(context, column, *value, -0x8000, 0xFFFF, "word");
            bytes.push_back(uint8_t(value->Value >> 8));
        } else {
            CheckRange(context, column, *value, -0x80, 0xFF, "byte");
        }
        bytes.push_back(uint8_t(value->Value));
    } while (c.TakeComma());
    context.Emit(bytes);
}

void Bytes(TAsmContext& context, const TSourceFields&, TCursor& c, TLineAction&) { Values(context, c, false); }
void Words(TAsmContext& context, const TSourceFields&, TCursor& c, TLineAction&) { Values(context, c, true); }

// FCC's text runs between two of the same delimiter, blanks and all: FCC /a b/, FCC "a b".
void Characters(TAsmContext& context, const TSourceFields&, TCursor& c, TLineAction&) {
    if (c.AtOperandEnd()) {
        context.Error(c.Column(), "expected text between delimiters, as in FCC /text/");
        return;
    }
    const char delimiter = c.Peek();
    const std::size_t close = c.Text.find(delimiter, c.Pos + 1);
    if (close == std::string_view::npos) {
        context.Error(c.Column(), "no closing " + Printable(std::string_view(&delimiter, 1)) + " after the FCC text");
        return;
    }
    const std::string_view text = c.Text.substr(c.Pos + 1, close - c.Pos - 1);
    c.Pos = close + 1;
    context.Emit(std::vector<uint8_t>(text.begin(), text.end()));
}

void Reserve(TAsmContext& context, const TSourceFields&, TCursor& c, TLineAction&) {
    if (const std::optional<int32_t> count = Count(context, c, "RMB")) context.Reserve(*count);
}

void Zeros(TAsmContext& context, const TSourceFields& fields, TCursor& c, TLineAction&) {
    if (const std::optional<int32_t> count = Count(context, c, UpperCase(fields.Name)))
        context.Emit(std::vector<uint8_t>(std::size_t(*count), 0));
}

void Fill(TAsmContext& context, const TSourceFields&, TCursor& c, TLineAction&) {
    const std::size_t column = c.Column();
    const std::optional<TValue> value = context.Expression(c);
    if (!value) return;
    CheckRange(context, column, *value, -0x80, 0xFF, "byte");
    if (!c.TakeComma()) {
        context.Error(c.Column(), c.Unexpected() + ": FILL takes a value and a count, as in FILL $FF,16");
        return;
    }
    if (const std::optional<int32_t> count = Count(context, c, "FILL"))
        context.Emit(std::vector<uint8_t>(std::size_t(*count), uint8_t(value->Value)));
}

void Include(TAsmContext& context, const TSourceFields&, TCursor& c, TLineAction& action) {
    const std::size_t start = c.Pos;
    if (c.Peek() == '"' || c.Peek() == '\'') {
        const std::size_t close = c.Text.find(c.Peek(), start + 1);
        if (close == std::string_view::npos) {
            context.Error(c.Column(), "no closing quote after the file name");
            return;
        }
        action.Path = c.Text.substr(start + 1, close - start - 1);
        c.Pos = close + 1;
    } else {
        while (!c.AtOperandEnd()) ++c.Pos;
        action.Path = c.Text.substr(start, c.Pos - start);
    }
    if (action.Path.empty()) {
        context.Error(start + 1, "INCLUDE needs a file name");
        return;
    }
    action.Kind = TLineAction::TKind::Include;
    action.Column = start + 1;
}

// END's operand, when it is a value, is the entry. Whatever follows it, and whatever follows
// an END without a value, is a comment, as the old assemblers read it (END of program).
void End(TAsmContext& context, const TSourceFields&, TCursor& c, TLineAction& action) {
    action.Kind = TLineAction::TKind::End;
    const std::size_t column = c.Column();
    TCursor entry = c;
    c.Pos = c.Text.size();
    const std::optional<int32_t> value = context.TryExpression(entry);
    if (!value || !(entry.AtEnd() || IsBlank(entry.Peek()) || entry.Peek() == ';' || entry.Peek() == '*')) return;
    if (CheckRange(context, column, {*value, true}, 0, 0xFFFF, "entry address")) context.SetEntry(uint16_t(*value));
}

void Ignored(TAsmContext&, const TSourceFields&, TCursor&, TLineAction&) {}

void Macro(TAsmContext& context, const TSourceFields& fields, TCursor&, TLineAction&) {
    context.Error(fields.NameColumn, "macros are not supported");
    context.SkippingMacro = true;
}

void EndMacro(TAsmContext& context, const TSourceFields& fields, TCursor&, TLineAction&) {
    context.Error(fields.NameColumn, "ENDM without MACRO (macros are not supported)");
}

constexpr TDirective kDirectives[] = {
    {"ORG", Origin, true},   {"EQU", Equate, true},      {"SET", Set, true},          {"FCB", Bytes, false},
    {"FDB", Words, false},   {"FCC", Characters, false}, {"RMB", Reserve, false},     {"BSZ", Zeros, false},
    {"ZMB", Zeros, false},   {"FILL", Fill, false},      {"INCLUDE", Include, false}, {"END", End, false},
    {"OPT", Ignored, false}, {"PAGE", Ignored, false},   {"NAM", Ignored, false},     {"TTL", Ignored, false},
    {"MACRO", Macro, false}, {"ENDM", EndMacro, false},
};

}  // namespace

const TDirective* FindDirective(std::string_view name) {
    const std::string upper = UpperCase(name);
    for (const TDirective& directive : kDirectives)
        if (upper == directive.Name) return &directive;
    return nullptr;
}

}  // namespace hexmoor
