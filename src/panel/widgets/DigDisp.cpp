#include "panel/widgets/DigDisp.h"

#include <QPainter>

#include "panel/widgets/DotMatrixFont.h"
#include "panel/widgets/QtColour.h"

namespace hexmoor {

namespace {

TColour NamedColour(QChar code, TColour current) {
    switch (code.toUpper().unicode()) {
    case 'A': return 0xFFFF00;  // aqua
    case 'B': return 0xFF0000;  // blue
    case 'F': return 0xFF00FF;  // fuchsia
    case 'G': return 0x008000;  // green
    case 'L': return 0x00FF00;  // lime
    case 'M': return 0x000080;  // maroon
    case 'N': return 0x800000;  // navy
    case 'O': return 0x008080;  // olive
    case 'P': return 0x800080;  // purple
    case 'R': return 0x0000FF;  // red
    case 'S': return 0xC0C0C0;  // silver
    case 'T': return 0x808000;  // teal
    case 'W': return 0xFFFFFF;  // white
    case 'Y': return 0x00FFFF;  // yellow
    default: return current;
    }
}

}  // namespace

std::vector<TGlyph> ParseDigitalText(const QString& text, TColour colour) {
    std::vector<TGlyph> glyphs;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != QChar('~')) {
            glyphs.push_back({GlyphIndex(text[i]), colour});
            continue;
        }
        if (++i >= text.size()) break;
        if (text[i] != QChar('[')) {
            colour = NamedColour(text[i], colour);
            continue;
        }
        const qsizetype close = text.indexOf(QChar(']'), i + 1);
        if (close < 0) break;
        bool ok = false;
        const uint rgb = text.mid(i + 1, close - i - 1).toUInt(&ok, 16);
        if (ok) colour = (rgb >> 16 & 0xFF) | (rgb & 0xFF00) | (rgb & 0xFF) << 16;
        i = close;
    }
    return glyphs;
}

int GlyphLeft(int index, int count, int width, TAlignment alignment, int margins, int spacing) {
    const int pitch = spacing + kGlyphWidth;
    switch (alignment) {
    case TAlignment::taLeftJustify: return margins + index * pitch;
    case TAlignment::taRightJustify: return width - margins - (count - 1 - index) * pitch - kGlyphWidth;
    default: return (width - (count * kGlyphWidth + (count - 1) * spacing)) / 2 + index * pitch;
    }
}

TDigitalDisplay::TDigitalDisplay(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

template <class T>
void TDigitalDisplay::Set(T& field, const T& value) {
    if (field == value) return;
    field = value;
    repaint();
}

void TDigitalDisplay::SetText(const QString& text) { Set(text_, text); }
void TDigitalDisplay::SetColor(TColour colour) { Set(color_, colour); }
void TDigitalDisplay::SetMargins(int margins) { Set(margins_, margins); }
void TDigitalDisplay::SetSpacing(int spacing) { Set(spacing_, spacing); }
void TDigitalDisplay::SetAlignment(TAlignment alignment) { Set(alignment_, alignment); }

// Each glyph cell is copied with its olive dots in the glyph's colour.
QImage TDigitalDisplay::Render() const {
    QImage image(size(), QImage::Format_RGB32);
    image.fill(Qt::black);
    const QImage& strip = GlyphStrip();
    const QRgb olive = ToQColor(kOlive).rgb();
    const std::vector<TGlyph> glyphs = ParseDigitalText(text_, color_);
    const int count = int(glyphs.size());
    const int top = (height() - kGlyphHeight) / 2;
    for (int j = 0; j < count; ++j) {
        const int left = GlyphLeft(j, count, width(), alignment_, margins_, spacing_);
        const QRgb lit = ToQColor(glyphs[j].Colour).rgb();
        for (int y = 0; y < kGlyphHeight; ++y) {
            for (int x = 0; x < kGlyphWidth; ++x) {
                const QPoint at(left + x, top + y);
                if (!image.rect().contains(at)) continue;
                const QRgb dot = strip.pixel(glyphs[j].Cell * kGlyphWidth + x, y);
                image.setPixel(at, dot == olive ? lit : dot);
            }
        }
    }
    return image;
}

void TDigitalDisplay::paintEvent(QPaintEvent*) {
    QPainter(this).drawImage(0, 0, Render());
}

}  // namespace hexmoor
