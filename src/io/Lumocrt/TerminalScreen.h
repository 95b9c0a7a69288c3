// The terminal's screen: a grid of character cells with colours, a cursor, the control
// characters a terminal obeys, scrolling, and a record of what changed for the view.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/PanelState.h"

namespace hexmoor {

enum class TLineBreak { CRLF, CR };

struct TScreenCell {
    uint8_t Char = ' ';
    TColour Back = kWhite;
    TColour Text = kBlack;
    bool operator==(const TScreenCell&) const = default;
};

// The cells changed since the view last took them: a rectangle of 1-based columns and
// rows, or the whole screen after a scroll or a clear.
struct TScreenDamage {
    bool Any = false;
    bool WholeScreen = false;
    int FirstColumn = 0, LastColumn = 0, FirstRow = 0, LastRow = 0;
};

class TTerminalScreen {
public:
    static constexpr int kMaxColumns = 132;
    static constexpr int kMaxRows = 25;

    TTerminalScreen() { ClrScr(); }

    // Interprets one byte; returns true for BEL, which the caller sounds.
    bool WriteChar(uint8_t byte);
    void WriteText(const std::string& bytes);

    void ClrScr();
    void ClrEol();
    void ClrEos();
    void GotoXY(int column, int row);

    // 2..132 columns and 2..25 rows; other values are ignored. The cursor stays inside.
    void SetColumns(int columns);
    void SetRows(int rows);
    int Columns() const { return columns_; }
    int Rows() const { return rows_; }
    int CursorX() const { return cursorX_; }
    int CursorY() const { return cursorY_; }

    const TScreenCell& Cell(int column, int row) const { return cells_[row - 1][column - 1]; }
    // Any cell of the 132 x 25, shown or not (a restored screen); the view repaints it when shown.
    void PutCell(int column, int row, const TScreenCell& cell) {
        cells_[row - 1][column - 1] = cell;
        if (column <= columns_ && row <= rows_) Damage(column, column, row, row);
    }
    // The visible characters of a row, trailing blanks included.
    std::string RowText(int row) const;

    // Colours given to cells written or blanked from now on.
    TColour BackColor = kWhite;
    TColour TextColor = kBlack;
    TLineBreak LineBreak = TLineBreak::CRLF;
    bool Cursor = true;  // whether the caret is shown

    // What changed since the last call, and the scrolls among it.
    TScreenDamage TakeDamage();
    int ScrollsSinceTaken() const { return scrolls_; }

private:
    void Blank(int column, int row);
    void CarriageReturn();
    void LineFeed();
    void Damage(int firstColumn, int lastColumn, int firstRow, int lastRow);
    void DamageAll();

    std::array<std::array<TScreenCell, kMaxColumns>, kMaxRows> cells_;
    int columns_ = 80, rows_ = 24;
    int cursorX_ = 1, cursorY_ = 1;
    TScreenDamage damage_;
    int scrolls_ = 0;
};

}  // namespace hexmoor
