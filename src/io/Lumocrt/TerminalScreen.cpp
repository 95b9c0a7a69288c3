#include "io/Lumocrt/TerminalScreen.h"

#include <algorithm>

namespace hexmoor {

void TTerminalScreen::Blank(int column, int row) {
    cells_[row - 1][column - 1] = {' ', BackColor, TextColor};
}

void TTerminalScreen::Damage(int firstColumn, int lastColumn, int firstRow, int lastRow) {
    if (!damage_.Any) {
        damage_ = {true, false, firstColumn, lastColumn, firstRow, lastRow};
        return;
    }
    damage_.FirstColumn = std::min(damage_.FirstColumn, firstColumn);
    damage_.LastColumn = std::max(damage_.LastColumn, lastColumn);
    damage_.FirstRow = std::min(damage_.FirstRow, firstRow);
    damage_.LastRow = std::max(damage_.LastRow, lastRow);
}

void TTerminalScreen::DamageAll() {
    Damage(1, columns_, 1, rows_);
    damage_.WholeScreen = true;
}

TScreenDamage TTerminalScreen::TakeDamage() {
    TScreenDamage taken = damage_;
    damage_ = {};
    scrolls_ = 0;
    return taken;
}

void TTerminalScreen::CarriageReturn() { cursorX_ = 1; }

// Down a row; below the last row the screen scrolls up and the new last row is blank.
void TTerminalScreen::LineFeed() {
    if (++cursorY_ <= rows_) return;
    cursorY_ = rows_;
    std::move(cells_.begin() + 1, cells_.begin() + rows_, cells_.begin());
    for (int column = 1; column <= kMaxColumns; ++column) Blank(column, rows_);
    ++scrolls_;
    DamageAll();
}

bool TTerminalScreen::WriteChar(uint8_t byte) {
    switch (byte) {
    case 7:
        return true;
    case 8:
        if (cursorX_ > 1) {
            --cursorX_;
        } else if (cursorY_ > 1) {
            cursorX_ = columns_;
            --cursorY_;
        } else {
            return false;
        }
        Blank(cursorX_, cursorY_);
        Damage(cursorX_, cursorX_, cursorY_, cursorY_);
        return false;
    case 10:
        LineFeed();
        return false;
    case 12:
        ClrScr();
        return false;
    case 13:
        CarriageReturn();
        if (LineBreak == TLineBreak::CRLF) LineFeed();
        return false;
    default:
        if (byte < 32) return false;
        cells_[cursorY_ - 1][cursorX_ - 1] = {byte, BackColor, TextColor};
        Damage(cursorX_, cursorX_, cursorY_, cursorY_);
        if (++cursorX_ > columns_) {  // automatic wrap
            CarriageReturn();
            LineFeed();
        }
        return false;
    }
}

void TTerminalScreen::WriteText(const std::string& bytes) {
    for (char byte : bytes) WriteChar(uint8_t(byte));
}

void TTerminalScreen::ClrScr() {
    for (int row = 1; row <= kMaxRows; ++row)
        for (int column = 1; column <= kMaxColumns; ++column) Blank(column, row);
    cursorX_ = cursorY_ = 1;
    DamageAll();
}

void TTerminalScreen::ClrEol() {
    for (int column = cursorX_; column <= columns_; ++column) Blank(column, cursorY_);
    Damage(cursorX_, columns_, cursorY_, cursorY_);
}

void TTerminalScreen::ClrEos() {
    ClrEol();
    for (int row = cursorY_ + 1; row <= rows_; ++row)
        for (int column = 1; column <= columns_; ++column) Blank(column, row);
    if (cursorY_ < rows_) Damage(1, columns_, cursorY_ + 1, rows_);
}

void TTerminalScreen::GotoXY(int column, int row) {
    cursorX_ = std::clamp(column, 1, columns_);
    cursorY_ = std::clamp(row, 1, rows_);
}

void TTerminalScreen::SetColumns(int columns) {
    if (columns < 2 || columns > kMaxColumns) return;
    columns_ = columns;
    cursorX_ = std::min(cursorX_, columns_);
    DamageAll();
}

void TTerminalScreen::SetRows(int rows) {
    if (rows < 2 || rows > kMaxRows) return;
    rows_ = rows;
    cursorY_ = std::min(cursorY_, rows_);
    DamageAll();
}

std::string TTerminalScreen::RowText(int row) const {
    std::string text;
    for (int column = 1; column <= columns_; ++column) text += char(Cell(column, row).Char);
    return text;
}

}  // namespace hexmoor
