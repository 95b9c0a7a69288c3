// The dot-matrix font of the digital read-outs: 69 characters of 5 x 7 dots, drawn into
// cells of 11 x 19 pixels (dots at odd positions, centred vertically in the 5 x 9 grid).
#pragma once

#include <QImage>
#include <QString>

namespace hexmoor {

inline constexpr int kGlyphWidth = 11;
inline constexpr int kGlyphHeight = 19;
inline constexpr int kGlyphCount = 69;

// The characters in the order of their cells: letters, digits, punctuation, then the
// degree and pound signs.
extern const QString kGlyphOrder;

// The cell index of a character (upper-cased), or that of the space when it has none.
int GlyphIndex(QChar character);

// The glyph strip "DIGITS": 759 x 19 pixels, black, lit dots in olive.
const QImage& GlyphStrip();

}  // namespace hexmoor
