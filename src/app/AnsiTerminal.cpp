#include "app/AnsiTerminal.h"

#include "io/Lumocrt/Windows1252.h"

namespace hexmoor {

namespace {

constexpr const char* kClearScreen = "\x1b[H\x1b[2J";
// A line feed that keeps the column, as the screen's does, whatever the terminal's
// output settings make of "\n" (ESC D, index).
constexpr const char* kLineFeed = "\x1b" "D";
// Erases the character under the cursor without moving it (ECH).
constexpr const char* kEraseCharacter = "\x1b[X";

std::string Utf8(char32_t code) {
    std::string text;
    if (code < 0x80) {
        text += char(code);
    } else if (code < 0x800) {
        text += char(0xC0 | code >> 6);
        text += char(0x80 | (code & 0x3F));
    } else {
        text += char(0xE0 | code >> 12);
        text += char(0x80 | (code >> 6 & 0x3F));
        text += char(0x80 | (code & 0x3F));
    }
    return text;
}

std::string MoveTo(int column, int row) {
    return "\x1b[" + std::to_string(row) + ";" + std::to_string(column) + "H";
}

}  // namespace

std::string TAnsiTerminal::Shown(uint8_t byte, const TTerminalScreen& screen) {
    std::string text;
    if (byte >= 32) {
        // A character in the last column wraps the screen's cursor to the next row.
        text = Utf8(Windows1252CodePoint(byte));
        if (screen.CursorX() == 1) text += std::string("\r") + kLineFeed;
    } else if (byte == 13) {
        text = "\r";
        if (screen.LineBreak == TLineBreak::CRLF) text += kLineFeed;
    } else if (byte == 10) {
        text = kLineFeed;
    } else if (byte == 12) {
        text = kClearScreen;
    } else if (byte == 8) {
        // Back one cell and blank it; from column 1 to the end of the row above.
        if (column_ > 1)
            text = std::string("\b") + kEraseCharacter;
        else if (row_ > 1)
            text = "\x1b[A\x1b[" + std::to_string(screen.Columns()) + "G" + kEraseCharacter;
    }
    // Other control characters leave no trace on the screen, and none on the terminal.
    column_ = screen.CursorX();
    row_ = screen.CursorY();
    return text;
}

std::string TAnsiTerminal::Escaped(uint8_t command, const TTerminalScreen& screen) {
    std::string text;
    switch (command) {
    case 0: text = kClearScreen; break;
    case 1: text = "\x1b[K"; break;
    case 2: text = "\x1b[J"; break;
    case 4: text = MoveTo(screen.CursorX(), screen.CursorY()); break;  // clamped by the screen
    case 5: text = "\x1b[?25l"; caretHidden_ = true; break;
    case 6: text = "\x1b[?25h"; caretHidden_ = false; break;
    default: break;  // the hard copy goes to the printer; other commands do nothing
    }
    column_ = screen.CursorX();
    row_ = screen.CursorY();
    return text;
}

std::string TAnsiTerminal::Restore() const { return caretHidden_ ? "\x1b[?25h" : ""; }

}  // namespace hexmoor
