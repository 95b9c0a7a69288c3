// The LED, the dot-matrix read-out and the seven-segment read-out.
#include <gmock/gmock.h>

#include <cstdlib>
#include <stdexcept>

#include "panel/widgets/DigDisp.h"
#include "panel/widgets/Digits.h"
#include "panel/widgets/DotMatrixFont.h"
#include "panel/widgets/Led.h"
#include "panel/widgets/QtColour.h"

namespace hexmoor {
namespace {

using ::testing::ElementsAre;

// Equal but for the little of a neighbouring colour that antialiasing blends in.
bool Near(QRgb pixel, const QColor& colour) {
    const int tolerance = 24;
    return std::abs(qRed(pixel) - colour.red()) <= tolerance &&
           std::abs(qGreen(pixel) - colour.green()) <= tolerance &&
           std::abs(qBlue(pixel) - colour.blue()) <= tolerance;
}

QRgb Centre(QWidget& widget) {
    const QImage image = widget.grab().toImage();
    return image.pixel(image.width() / 2, image.height() / 2);
}

TEST(GloLed, ShowsColorWhenLitAndBackColorWhenDark) {
    TGloLed led;
    led.resize(11, 11);
    led.SetColor(kLime);
    led.SetBackColor(kMaroon);
    EXPECT_EQ(Centre(led), ToQColor(kMaroon).rgb());
    led.SetLightOn(true);
    EXPECT_EQ(Centre(led), ToQColor(kLime).rgb());
}

TEST(GloLed, UnchangedValuesChangeNothing) {
    TGloLed led;
    int changes = 0;
    QObject::connect(&led, &TGloLed::Changed, [&] { ++changes; });
    led.SetLightOn(false);
    led.SetColor(led.Color());
    EXPECT_EQ(changes, 0);
    led.SetLightOn(true);
    led.SetBackColor(kBlack);
    EXPECT_EQ(changes, 2);
}

TEST(GloLed, StatusRimWantsAWidthOfTwo) {
    TGloLed led;
    led.SetBorderStyle(TLedBorderStyle::bsStatusControl);
    EXPECT_EQ(led.BorderWidth(), 2);
    led.SetCtl3D(true);
    EXPECT_EQ(led.BorderWidth(), 0);
    EXPECT_TRUE(led.Ctl3D());
    led.SetCtl3D(false);
    EXPECT_EQ(led.BorderStyle(), TLedBorderStyle::bsFlat);
}

// Walks in from the middle of each edge: the first BorderWidth pixels are the rim (the
// bezel's shadow at the top and left, its highlight at the bottom and right), the next one is
// the background between rim and light. A width of 0 shows no rim at all.
TEST(GloLed, RimLiesWhollyInsideTheWidget) {
    const QColor background(0, 128, 128), shadow(128, 0, 0), highlight(255, 255, 0);
    const int size = 30;
    struct Edge {
        const char* name;
        QPoint start, inward;
        bool shadowed;  // on the upper-left half of the bezel
    } edges[] = {
        {"top", {size / 2, 0}, {0, 1}, true},
        {"left", {0, size / 2}, {1, 0}, true},
        {"bottom", {size / 2, size - 1}, {0, -1}, false},
        {"right", {size - 1, size / 2}, {-1, 0}, false},
    };
    const std::pair<const char*, TLedBorderStyle> styles[] = {
        {"flat", TLedBorderStyle::bsFlat},
        {"3D", TLedBorderStyle::bsCtl3D},
        {"status", TLedBorderStyle::bsStatusControl},
    };
    for (auto [styleName, style] : styles) {
        for (int width : {0, 1, 2, 4}) {
            TGloLed led;
            QPalette palette = led.palette();
            palette.setColor(QPalette::Window, background);
            palette.setColor(QPalette::Dark, shadow);
            palette.setColor(QPalette::Light, highlight);
            led.setPalette(palette);
            led.resize(size, size);
            led.SetBorderStyle(style);
            led.SetBorderWidth(width);
            const QImage image = led.grab().toImage();
            for (const Edge& edge : edges) {
                const QColor rim = style != TLedBorderStyle::bsCtl3D ? QColor(Qt::black)
                                   : edge.shadowed                   ? shadow
                                                                     : highlight;
                for (int depth = 0; depth <= width; ++depth) {
                    SCOPED_TRACE(testing::Message() << styleName << " rim, width " << width
                                                    << ", " << edge.name << " edge, depth " << depth);
                    const QRgb pixel = image.pixel(edge.start + depth * edge.inward);
                    EXPECT_TRUE(Near(pixel, depth < width ? rim : background))
                        << QColor(pixel).name().toStdString();
                }
            }
        }
    }
}

TEST(DigitalDisplay, GlyphPositionsForEachAlignment) {
    EXPECT_EQ(GlyphLeft(0, 2, 24, TAlignment::taCenter, 5, 0), 1);
    EXPECT_EQ(GlyphLeft(1, 2, 24, TAlignment::taCenter, 5, 0), 12);
    EXPECT_EQ(GlyphLeft(1, 3, 100, TAlignment::taLeftJustify, 4, 2), 4 + 13);
    EXPECT_EQ(GlyphLeft(2, 3, 100, TAlignment::taRightJustify, 4, 2), 100 - 4 - 11);
    EXPECT_EQ(GlyphLeft(0, 3, 100, TAlignment::taRightJustify, 4, 2), 100 - 4 - 2 * 13 - 11);
}

TEST(DigitalDisplay, ColourCodesAndCharacters) {
    const TColour red = kRed;
    struct Case {
        const char* text;
        std::vector<TGlyph> glyphs;
    } cases[] = {
        {"~[FF0000]AB", {{GlyphIndex('A'), red}, {GlyphIndex('B'), red}}},
        {"a~rb~Lc", {{0, kLime}, {1, red}, {2, kLime}}},
        {"~Xz", {{25, kLime}}},  // an unknown colour letter is swallowed
        {"A~", {{0, kLime}}},
        {"A~[FF00", {{0, kLime}}},
    };
    for (const Case& c : cases) EXPECT_EQ(ParseDigitalText(c.text, kLime), c.glyphs) << c.text;
    EXPECT_EQ(GlyphIndex(QChar(0xE9)), GlyphIndex(' ')) << "an accented letter shows blank";
    EXPECT_EQ(GlyphIndex(QChar(0xB0)), 67);
    EXPECT_EQ(kGlyphOrder.size(), kGlyphCount);
}

TEST(DigitalDisplay, DotsTakeTheGlyphColour) {
    TDigitalDisplay display;
    display.resize(11, 19);
    display.SetText("~RI");  // I: the middle dot of the top row is lit
    const QImage image = display.Render();
    EXPECT_EQ(image.pixel(5, 3), ToQColor(kRed).rgb());
    EXPECT_EQ(image.pixel(1, 3), QColor(Qt::black).rgb());
    EXPECT_EQ(image.pixel(4, 3), QColor(Qt::black).rgb()) << "between dots";
}

TEST(Digits, DigitsShown) {
    EXPECT_THAT(DigitCells(5, 3, false), ElementsAre(kBlankDigit, kBlankDigit, 5));
    EXPECT_THAT(DigitCells(5, 3, true), ElementsAre(0, 0, 5));
    EXPECT_THAT(DigitCells(1234, 3, false), ElementsAre(2, 3, 4));
    EXPECT_THAT(DigitCells(0, 3, false), ElementsAre(kBlankDigit, kBlankDigit, 0));
}

TEST(Digits, ValueCountAndImages) {
    TDigits digits;
    digits.SetValue(-7);
    EXPECT_EQ(digits.Value(), 0) << "negative without a sign";
    digits.SetDigitCount(0);
    EXPECT_EQ(digits.DigitCount(), 1);
    digits.SetDigitCount(12);
    EXPECT_EQ(digits.DigitCount(), 10);
    digits.SetAllowNegative(true);
    EXPECT_FALSE(digits.AllowNegative()) << "no sign image";

    try {
        digits.SetBmpDigits(QImage(100, 20, QImage::Format_RGB32));
        ADD_FAILURE() << "a strip of 100 pixels is no 11 digits";
    } catch (const std::invalid_argument& error) {
        EXPECT_STREQ(error.what(),
                     "BmpDigits requires a bitmap that contains the digits 0 through 9 and an "
                     "empty space of equal width");
    }
    try {
        digits.SetBmpPosNegSign(QImage(7, 20, QImage::Format_RGB32));
        ADD_FAILURE() << "an odd sign strip";
    } catch (const std::invalid_argument& error) {
        EXPECT_STREQ(error.what(),
                     "BmpPosNegSign requires a bitmap that contains a positive sign and a "
                     "negative sign of equal width");
    }

    digits.SetBmpDigits(SevenSegmentDigits(14, 20, Qt::red, Qt::darkRed, Qt::black));
    digits.SetDigitCount(3);
    EXPECT_EQ(digits.size(), QSize(42, 20)) << "sized from the images";
}

}  // namespace
}  // namespace hexmoor
