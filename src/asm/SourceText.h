// Reading the fields of one source line in the classic Motorola layout.
//
// The rules this assembler keeps:
// - A line whose first character is `*` or `;` is a comment, and so is an empty line.
// - Whatever starts in column 1 is a label (a colon may follow it). A mnemonic typed in
//   column 1 is therefore a label too, as the classic assemblers read it; a label with a
//   mnemonic's or directive's name and nothing after it draws a warning.
// - After blanks comes the mnemonic or directive, then after blanks the operand. The
//   operand ends at the first blank outside quotes (a blank right after a comma does not
//   end it: `FCB 1, 2`), and whatever follows is a comment, `*` or `;` or neither. The bit
//   instructions' operand is two or three fields separated by blanks or commas.
// - Mnemonics, directives and the index registers X and Y may be written in any case.
//   Symbols are case-sensitive, as the debugger and the GNU tools treat them: `Loop` and
//   `loop` are two names.
// - In an operand, `*` at the start of a term is the location counter and `%` opens a
//   binary number; after a term they are multiply and remainder. So `*+2`, `%1010`, `2*3`
//   and `*%4` (the location counter modulo 4) all read as they look.
// - Columns in messages count bytes from 1; a tab is one column.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace hexmoor {

std::string UpperCase(std::string_view text);
bool SameName(std::string_view a, std::string_view b);  // ignoring case
bool IsBlank(char c);
bool IsNameStart(char c);
bool IsNameChar(char c);
// Text for a message: bytes that are not printable ASCII as \xNN, and cut short when long.
std::string Printable(std::string_view text);

// A position in a line's text that the operand readers move along.
struct TCursor {
    std::string_view Text;
    std::size_t Pos = 0;

    bool AtEnd() const { return Pos >= Text.size(); }
    char Peek(std::size_t ahead = 0) const { return Pos + ahead < Text.size() ? Text[Pos + ahead] : '\0'; }
    // The operand ends here: the line ends, a blank starts the comment, or a `;` does.
    bool AtOperandEnd() const { return AtEnd() || IsBlank(Peek()) || Peek() == ';'; }
    std::size_t Column() const { return Pos + 1; }
    void SkipBlanks();
    bool Take(char c);
    // A comma, with the blanks classic sources put after it.
    bool TakeComma();
    // The index register after a comma, X or Y in any case, when one stands there alone.
    char TakeIndexRegister();
    // "unexpected 'c'" for the character at the cursor.
    std::string Unexpected() const;
};

struct TSourceFields {
    std::string_view Label;
    std::size_t LabelColumn = 0;
    std::string_view Name;  // the mnemonic or directive; empty for a label alone
    std::size_t NameColumn = 0;
    TCursor Operand;  // at the first character after the name and its blanks
};

struct TFieldsError {
    std::size_t Column = 0;
    std::string Message;
};

// The line's fields; false with `error` for a line whose label is malformed. A comment line
// gives no label and no name.
bool SplitFields(std::string_view line, TSourceFields& fields, TFieldsError& error);

}  // namespace hexmoor
