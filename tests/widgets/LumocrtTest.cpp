// The terminal control: drawing the screen model and coalescing repaints.
#include <gmock/gmock.h>

#include <QFile>

#include "io/Lumocrt/Lumocrt.h"

namespace hexmoor {
namespace {

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

TEST(Lumocrt, Windows1252Characters) {
    EXPECT_EQ(FromWindows1252(0xB0), QChar(0x00B0));
    EXPECT_EQ(FromWindows1252(0x80), QChar(0x20AC));
    EXPECT_EQ(FromWindows1252('A'), QChar('A'));
}

TEST(Lumocrt, HardCopyWithoutAPrinterWritesAPdf) {
    TLumocrt terminal;
    terminal.WriteText("printed");
    const QString path = terminal.HardCopy();
    ASSERT_FALSE(path.isEmpty());
    EXPECT_TRUE(path.contains("68HC11F1 Virtual Machine - Print Screen"));
    EXPECT_TRUE(QFile::exists(path));
    QFile::remove(path);
}

}  // namespace
}  // namespace hexmoor
