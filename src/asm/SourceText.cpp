#include "asm/SourceText.h"

#include "core/Hex.h"

namespace hexmoor {

namespace {

char Upper(char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; }
bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

}  // namespace

std::string UpperCase(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) c = Upper(c);
    return upper;
}

bool SameName(std::string_view a, std::string_view b) { return UpperCase(a) == UpperCase(b); }
bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsNameStart(char c) { return IsLetter(c) || c == '_' || c == '.'; }
bool IsNameChar(char c) { return IsNameStart(c) || (c >= '0' && c <= '9'); }

std::string Printable(std::string_view text) {
    constexpr std::size_t kLongest = 40;
    std::string shown;
    for (char c : text.substr(0, kLongest)) {
        if (c >= ' ' && c < 0x7F)
            shown += c;
        else
            shown += "\\x" + Hex2(uint8_t(c));
    }
    if (text.size() > kLongest) shown += "...";
    return shown;
}

void TCursor::SkipBlanks() {
    while (!AtEnd() && IsBlank(Peek())) ++Pos;
}

bool TCursor::Take(char c) {
    if (AtEnd() || Peek() != c) return false;
    ++Pos;
    return true;
}

bool TCursor::TakeComma() {
    if (!Take(',')) return false;
    SkipBlanks();
    return true;
}

char TCursor::TakeIndexRegister() {
    const char upper = Upper(Peek());
    if ((upper != 'X' && upper != 'Y') || IsNameChar(Peek(1))) return '\0';
    ++Pos;
    return upper;
}

std::string TCursor::Unexpected() const {
    if (AtOperandEnd()) return "expected an operand";
    return "unexpected '" + Printable(Text.substr(Pos, 1)) + "'";
}

bool SplitFields(std::string_view line, TSourceFields& fields, TFieldsError& error) {
    fields = {};
    if (line.empty() || line[0] == '*' || line[0] == ';') return true;
    TCursor cursor{line};
    if (!IsBlank(line[0])) {
        if (!IsNameStart(line[0])) {
            error = {1, "unexpected '" + Printable(line.substr(0, 1)) +
                            "' in column 1: a label starts with a letter, '_' or '.'"};
            return false;
        }
        while (!cursor.AtEnd() && IsNameChar(cursor.Peek())) ++cursor.Pos;
        fields.Label = line.substr(0, cursor.Pos);
        fields.LabelColumn = 1;
        cursor.Take(':');
        if (!cursor.AtEnd() && !IsBlank(cursor.Peek())) {
            error = {cursor.Column(), cursor.Unexpected() + " after the label"};
            return false;
        }
    }
    cursor.SkipBlanks();
    if (cursor.AtEnd() || cursor.Peek() == ';' || cursor.Peek() == '*') return true;
    const std::size_t start = cursor.Pos;
    while (!cursor.AtOperandEnd()) ++cursor.Pos;
    fields.Name = line.substr(start, cursor.Pos - start);
    fields.NameColumn = start + 1;
    cursor.SkipBlanks();
    fields.Operand = cursor;
    return true;
}

}  // namespace hexmoor
