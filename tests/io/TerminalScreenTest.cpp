// The terminal screen model: writing, control characters, wrap, scroll, clearing.
#include <gmock/gmock.h>

#include "io/Lumocrt/TerminalScreen.h"

namespace hexmoor {
namespace {

struct TPosition {
    int x, y;
    bool operator==(const TPosition&) const = default;
};

TPosition CursorOf(const TTerminalScreen& s) { return {s.CursorX(), s.CursorY()}; }

TEST(TerminalScreen, ControlCharacters) {
    struct Case {
        const char* name;
        TLineBreak lineBreak;
        std::string text;
        TPosition cursor;
        std::string row1, row2;  // the first characters of rows 1 and 2
    } cases[] = {
        {"CR returns to column 1", TLineBreak::CR, "AB\rC", {2, 1}, "CB ", "   "},
        {"LF keeps the column", TLineBreak::CR, "AB\nC", {4, 2}, "AB ", "  C"},
        {"CR starts a line with CRLF", TLineBreak::CRLF, "AB\rC", {2, 2}, "AB ", "C  "},
        {"BS blanks the cell before", TLineBreak::CR, "ABC\b\b", {2, 1}, "A  ", "   "},
        {"TAB and other controls leave no trace", TLineBreak::CR, "A\t\x01\x1B\x0B" "B", {3, 1}, "AB ", "   "},
        {"FF clears", TLineBreak::CR, "AB\nC\x0C" "D", {2, 1}, "D  ", "   "},
        {"bytes above 127 are characters", TLineBreak::CR, "\xB0", {2, 1}, "\xB0  ", "   "},
    };
    for (const Case& c : cases) {
        TTerminalScreen screen;
        screen.LineBreak = c.lineBreak;
        screen.WriteText(c.text);
        EXPECT_EQ(CursorOf(screen), c.cursor) << c.name;
        EXPECT_EQ(screen.RowText(1).substr(0, 3), c.row1) << c.name;
        EXPECT_EQ(screen.RowText(2).substr(0, 3), c.row2) << c.name;
    }
}

TEST(TerminalScreen, WrapsAfterTheLastColumn) {
    TTerminalScreen screen;
    screen.WriteText(std::string(80, 'x'));
    EXPECT_EQ(CursorOf(screen), (TPosition{1, 2}));
    EXPECT_EQ(screen.RowText(1), std::string(80, 'x'));
}

TEST(TerminalScreen, BackspaceAcrossRows) {
    TTerminalScreen screen;
    screen.GotoXY(80, 4);
    screen.WriteChar('z');  // wraps to (1, 5)
    ASSERT_EQ(CursorOf(screen), (TPosition{1, 5}));
    screen.WriteChar(8);
    EXPECT_EQ(CursorOf(screen), (TPosition{80, 4}));
    EXPECT_EQ(screen.Cell(80, 4).Char, ' ');
    screen.GotoXY(1, 1);
    screen.WriteChar(8);
    EXPECT_EQ(CursorOf(screen), (TPosition{1, 1}));
}

TEST(TerminalScreen, LineFeedOnTheLastRowScrolls) {
    TTerminalScreen screen;
    screen.LineBreak = TLineBreak::CRLF;
    for (int row = 1; row <= 24; ++row) {
        screen.GotoXY(1, row);
        screen.WriteChar(uint8_t('A' + row - 1));
    }
    screen.TakeDamage();
    screen.BackColor = 0x123456;
    screen.WriteChar(10);
    EXPECT_EQ(screen.Cell(1, 1).Char, 'B') << "the former row 2";
    EXPECT_EQ(screen.Cell(1, 23).Char, 'X');
    EXPECT_EQ(screen.Cell(1, 24).Char, ' ');
    EXPECT_EQ(screen.Cell(50, 24).Back, 0x123456u) << "blanked in the current colours";
    EXPECT_EQ(screen.ScrollsSinceTaken(), 1);
    EXPECT_TRUE(screen.TakeDamage().WholeScreen);
}

TEST(TerminalScreen, GotoClampsAndSizesHaveRanges) {
    TTerminalScreen screen;
    screen.GotoXY(0, 99);
    EXPECT_EQ(CursorOf(screen), (TPosition{1, 24}));
    screen.GotoXY(200, 0);
    EXPECT_EQ(CursorOf(screen), (TPosition{80, 1}));
    screen.SetColumns(133);
    screen.SetRows(1);
    EXPECT_EQ(screen.Columns(), 80);
    EXPECT_EQ(screen.Rows(), 24);
    screen.SetColumns(40);
    EXPECT_EQ(CursorOf(screen), (TPosition{40, 1})) << "pulled back inside";
}

TEST(TerminalScreen, ClearingKeepsTheCurrentColours) {
    TTerminalScreen screen;
    screen.WriteText("Hello, world");
    screen.GotoXY(6, 1);
    screen.TextColor = kRed;
    screen.ClrEol();
    EXPECT_EQ(screen.RowText(1).substr(0, 7), "Hello  ");
    EXPECT_EQ(screen.Cell(7, 1).Text, kRed);
    EXPECT_EQ(screen.Cell(1, 1).Text, kBlack) << "earlier text keeps its colour";
    screen.GotoXY(3, 1);
    screen.WriteText("\n\nrow 3");
    screen.GotoXY(1, 2);
    screen.ClrEos();
    EXPECT_EQ(screen.RowText(1).substr(0, 2), "He");
    EXPECT_EQ(screen.RowText(3).substr(0, 7), "       ");
}

// Clearing reaches every cell of the largest screen, its last row and column included.
TEST(TerminalScreen, ClearingTheLargestScreenBlanksEveryCell) {
    TTerminalScreen screen;
    screen.SetColumns(TTerminalScreen::kMaxColumns);
    screen.SetRows(TTerminalScreen::kMaxRows);
    screen.LineBreak = TLineBreak::CR;
    for (int i = 0; i < screen.Columns() * screen.Rows() - 1; ++i) screen.WriteChar('x');
    screen.BackColor = kNavy;
    screen.ClrScr();
    for (int row = 1; row <= screen.Rows(); ++row) {
        EXPECT_EQ(screen.RowText(row), std::string(TTerminalScreen::kMaxColumns, ' ')) << row;
        EXPECT_EQ(screen.Cell(screen.Columns(), row).Back, kNavy) << row;
    }
}

TEST(TerminalScreen, DamageCoversWhatChanged) {
    TTerminalScreen screen;
    screen.TakeDamage();
    screen.GotoXY(10, 3);
    screen.WriteText("abc");
    const TScreenDamage damage = screen.TakeDamage();
    EXPECT_TRUE(damage.Any);
    EXPECT_FALSE(damage.WholeScreen);
    EXPECT_EQ(damage.FirstColumn, 10);
    EXPECT_EQ(damage.LastColumn, 12);
    EXPECT_EQ(damage.FirstRow, 3);
    EXPECT_EQ(damage.LastRow, 3);
    EXPECT_FALSE(screen.TakeDamage().Any);
}

TEST(TerminalScreen, BellIsReportedNotStored) {
    TTerminalScreen screen;
    EXPECT_TRUE(screen.WriteChar(7));
    EXPECT_EQ(CursorOf(screen), (TPosition{1, 1}));
}

}  // namespace
}  // namespace hexmoor
