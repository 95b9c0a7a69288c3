// The terminal control: drawing the screen model and coalescing repaints.
#include <gmock/gmock.h>

#include <QApplication>
#include <iconv.h>

#include "panel/widgets/Lumocrt.h"

namespace hexmoor {
namespace {

// The bytes 128-255 show as the Windows-1252 characters, with the C library's converter
// as the independent reference; the five codes the code page leaves undefined show as
// their own code points.
TEST(Lumocrt, HighBytesShowTheirWindows1252Characters) {
    iconv_t converter = iconv_open("UTF-32LE", "WINDOWS-1252");
    ASSERT_NE(converter, iconv_t(-1));
    for (int byte = 0x80; byte <= 0xFF; ++byte) {
        char in = char(byte);
        char32_t out = 0;
        char* inPointer = &in;
        char* outPointer = reinterpret_cast<char*>(&out);
        std::size_t inLeft = 1, outLeft = sizeof out;
        const bool defined = iconv(converter, &inPointer, &inLeft, &outPointer, &outLeft) != std::size_t(-1);
        EXPECT_EQ(FromWindows1252(uint8_t(byte)).unicode(), defined ? out : char32_t(byte))
            << "byte " << std::hex << byte;
    }
    iconv_close(converter);
}

TEST(Lumocrt, HundredLineFeedsForceWholeRepaintsEveryTwentieth) {
    TLumocrt terminal;
    terminal.GotoXY(1, 24);
    std::vector<int> forcedAt;
    for (int feed = 1; feed <= 100; ++feed) {  // no events handled meanwhile
        const int before = terminal.ForcedRepaints();
        terminal.WriteChar(10);
        if (terminal.ForcedRepaints() != before) forcedAt.push_back(feed);
    }
    EXPECT_THAT(forcedAt, ::testing::ElementsAre(20, 40, 60, 80, 100));
}

TEST(Lumocrt, SizeFollowsColumnsRowsAndFont) {
    TLumocrt terminal;
    EXPECT_EQ(terminal.width(), 80 * terminal.CellWidth());
    EXPECT_EQ(terminal.height(), 24 * terminal.CellHeight());
    terminal.SetColumns(40);
    terminal.SetRows(1);  // out of range: ignored
    EXPECT_EQ(terminal.width(), 40 * terminal.CellWidth());
    EXPECT_EQ(terminal.height(), 24 * terminal.CellHeight());
}

TEST(Lumocrt, TextAndColoursReachThePixels) {
    TLumocrt terminal;
    terminal.SetBackColor(kNavy);
    terminal.ClrScr();
    terminal.SetTextColor(kYellow);
    terminal.WriteText("#");
    const QImage image = terminal.grab().toImage();
    EXPECT_EQ(image.pixel(terminal.width() - 1, terminal.height() - 1), QColor(0, 0, 128).rgb());
    bool yellow = false;
    for (int y = 0; y < terminal.CellHeight(); ++y)
        for (int x = 0; x < terminal.CellWidth(); ++x)
            yellow = yellow || (qRed(image.pixel(x, y)) > 150 && qGreen(image.pixel(x, y)) > 150);
    EXPECT_TRUE(yellow) << "the first cell holds yellow text (antialiased on navy)";
}

// The pixels of one cell (1-based column and row).
QImage CellImage(TLumocrt& terminal, int column, int row) {
    return terminal.grab().toImage().copy((column - 1) * terminal.CellWidth(),
                                          (row - 1) * terminal.CellHeight(),
                                          terminal.CellWidth(), terminal.CellHeight());
}

// Each cell's background is its own, also where only the background colour changes along
// a row (the text colour staying the same).
TEST(Lumocrt, BackgroundsChangeAlongARow) {
    TLumocrt terminal;
    const TColour backs[] = {kWhite, kNavy, kNavy, kRed, kWhite};
    for (const TColour back : backs) {
        terminal.SetBackColor(back);
        terminal.WriteText(" ");
    }
    for (int column = 1; column <= 5; ++column) {
        const QImage cell = CellImage(terminal, column, 1);
        const TColour back = backs[column - 1];
        EXPECT_EQ(cell.pixel(cell.width() / 2, cell.height() / 2),
                  QColor(int(back & 0xFF), int(back >> 8 & 0xFF), int(back >> 16 & 0xFF)).rgb())
            << "column " << column;
    }
}

// Whatever precedes it on the row, a character is drawn in its own cell exactly as it is
// at the start of a row: neither zero-width glyphs (the soft hyphen, the C1 controls that
// Windows-1252 leaves undefined) nor fractional advances move it off the cell grid.
TEST(Lumocrt, EveryCharacterIsDrawnInItsOwnCell) {
    const struct Case {
        const char* name;
        std::string before;
    } cases[] = {
        {"soft hyphen", "AB\xAD"},
        {"undefined codes", "\x81\x8D\x8F\x90\x9D"},
        {"long row", std::string(70, 'M')},
    };
    TLumocrt terminal;
    terminal.WriteText("#");
    const QImage alone = CellImage(terminal, 1, 1);
    for (const Case& c : cases) {
        terminal.GotoXY(1, 2);
        terminal.ClrEol();
        terminal.WriteText(c.before + "#");
        EXPECT_EQ(CellImage(terminal, int(c.before.size()) + 1, 2), alone) << "after " << c.name;
    }
}

// The caret inverts its cell, so the character under it stays readable.
TEST(Lumocrt, CaretInvertsTheCharacterUnderIt) {
    TLumocrt terminal;
    terminal.SetBackColor(kNavy);
    terminal.SetTextColor(kYellow);
    terminal.ClrScr();
    terminal.WriteText("#");
    terminal.GotoXY(1, 1);
    const QImage plain = CellImage(terminal, 1, 1);
    terminal.show();
    terminal.activateWindow();
    terminal.setFocus();
    for (int i = 0; i < 100 && !terminal.hasFocus(); ++i) QApplication::processEvents();
    ASSERT_TRUE(terminal.hasFocus());
    const QImage caret = CellImage(terminal, 1, 1);
    int textPixels = 0;
    for (int y = 0; y < plain.height(); ++y) {
        for (int x = 0; x < plain.width(); ++x) {
            textPixels += plain.pixel(x, y) != plain.pixel(0, 0);
            ASSERT_EQ(caret.pixel(x, y), plain.pixel(x, y) ^ 0x00FFFFFFu) << "at " << x << ", " << y;
        }
    }
    EXPECT_GT(textPixels, 4) << "the cell holds a character";
}

TEST(Lumocrt, Windows1252Characters) {
    EXPECT_EQ(FromWindows1252(0xB0), QChar(0x00B0));
    EXPECT_EQ(FromWindows1252(0x80), QChar(0x20AC));
    EXPECT_EQ(FromWindows1252('A'), QChar('A'));
}

}  // namespace
}  // namespace hexmoor
