#include "state/TerminalParts.h"

namespace hexmoor {

void CapturePart(const TTerminalScreen& screen, TScreenContents& contents) {
    for (int row = 1; row <= TTerminalScreen::kMaxRows; ++row)
        for (int column = 1; column <= TTerminalScreen::kMaxColumns; ++column)
            contents.Cells[row - 1][column - 1] = screen.Cell(column, row);
    contents.Columns = screen.Columns();
    contents.Rows = screen.Rows();
    contents.CursorX = screen.CursorX();
    contents.CursorY = screen.CursorY();
    contents.BackColor = screen.BackColor;
    contents.TextColor = screen.TextColor;
    contents.LineBreak = screen.LineBreak;
    contents.Cursor = screen.Cursor;
}

void RestorePart(const TScreenContents& contents, TTerminalScreen& screen) {
    for (int row = 1; row <= TTerminalScreen::kMaxRows; ++row)
        for (int column = 1; column <= TTerminalScreen::kMaxColumns; ++column)
            screen.PutCell(column, row, contents.Cells[row - 1][column - 1]);
    // Setting the size repaints the whole screen, and keeps the cursor inside it.
    screen.SetColumns(contents.Columns);
    screen.SetRows(contents.Rows);
    screen.GotoXY(contents.CursorX, contents.CursorY);
    screen.BackColor = contents.BackColor;
    screen.TextColor = contents.TextColor;
    screen.LineBreak = contents.LineBreak;
    screen.Cursor = contents.Cursor;
}

void CapturePart(const TTerminalState& link, TTerminalLinkState& state) {
    state.InputBuffer.assign(link.InputBuffer.Text());
    state.ConsoleEscape = link.ConsoleEscape;
    state.ConsoleEscapeState = link.ConsoleEscapeState;
    state.ConsoleGotoColumn = link.ConsoleGotoColumn;
}

void RestorePart(const TTerminalLinkState& state, TTerminalState& link) {
    link.InputBuffer.Assign(state.InputBuffer);
    link.ConsoleEscape = state.ConsoleEscape;
    link.ConsoleEscapeState = state.ConsoleEscapeState;
    link.ConsoleGotoColumn = state.ConsoleGotoColumn;
}

}  // namespace hexmoor
