// The terminal as a snapshot holds it: the screen's cells (all 132 x 25: fewer columns or
// rows hide cells without clearing them), its size, cursor and colours; and the link's
// typed-ahead input and a half-received escape sequence. The input file and the printer
// are devices outside the machine, as the log is: a restore leaves them as they are.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "io/Lumocrt/TerminalScreen.h"
#include "io/TerminalState.h"
#include "state/FieldLists.h"

namespace hexmoor {

struct TScreenContents {
    bool operator==(const TScreenContents&) const = default;
    using TRow = std::array<TScreenCell, TTerminalScreen::kMaxColumns>;
    std::array<TRow, TTerminalScreen::kMaxRows> Cells{};  // Cells[row - 1][column - 1]
    int32_t Columns = 80, Rows = 24;
    int32_t CursorX = 1, CursorY = 1;
    TColour BackColor = kWhite, TextColor = kBlack;
    TLineBreak LineBreak = TLineBreak::CRLF;
    bool Cursor = true;
};

struct TTerminalLinkState {
    bool operator==(const TTerminalLinkState&) const = default;
    std::string InputBuffer;
    bool ConsoleEscape = false;
    uint8_t ConsoleEscapeState = 0;
    uint8_t ConsoleGotoColumn = 0;
};

constexpr TLineBreak LastValue(TLineBreak) { return TLineBreak::CR; }

template <class V, PartOf<TScreenCell>... T>
void Fields(V& v, T&... t) {
    v.Field("Char", t.Char...);
    v.Field("Back", t.Back...);
    v.Field("Text", t.Text...);
}

template <class V, PartOf<TScreenContents>... T>
void Fields(V& v, T&... t) {
    v.Field("Cells", t.Cells...);
    v.Field("Columns", t.Columns...);
    v.Field("Rows", t.Rows...);
    v.Field("CursorX", t.CursorX...);
    v.Field("CursorY", t.CursorY...);
    v.Field("BackColor", t.BackColor...);
    v.Field("TextColor", t.TextColor...);
    v.Field("LineBreak", t.LineBreak...);
    v.Field("Cursor", t.Cursor...);
}

template <class V, PartOf<TTerminalLinkState>... T>
void Fields(V& v, T&... t) {
    v.Field("InputBuffer", t.InputBuffer...);
    v.Field("ConsoleEscape", t.ConsoleEscape...);
    v.Field("ConsoleEscapeState", t.ConsoleEscapeState...);
    v.Field("ConsoleGotoColumn", t.ConsoleGotoColumn...);
}

void CapturePart(const TTerminalScreen& screen, TScreenContents& contents);
// The whole screen is repainted.
void RestorePart(const TScreenContents& contents, TTerminalScreen& screen);
void CapturePart(const TTerminalState& link, TTerminalLinkState& state);
void RestorePart(const TTerminalLinkState& state, TTerminalState& link);

}  // namespace hexmoor
