// TDigitalDisplay: a dot-matrix text read-out, with colour codes inside its text.
#pragma once

#include <QImage>
#include <QWidget>

#include <vector>

#include "core/PanelState.h"

namespace hexmoor {

enum class TAlignment { taLeftJustify, taRightJustify, taCenter };

struct TGlyph {
    int Cell;  // index into the glyph strip
    TColour Colour;
    bool operator==(const TGlyph&) const = default;
};

// The glyphs of a text: "~L" and its siblings switch the colour of what follows, and
// "~[RRGGBB]" gives it as hexadecimal red, green and blue. A trailing "~" or an unclosed
// "~[" ends the text.
std::vector<TGlyph> ParseDigitalText(const QString& text, TColour colour);

// The left edge of glyph `index` (0-based) of `count` in a control `width` pixels wide.
int GlyphLeft(int index, int count, int width, TAlignment alignment, int margins, int spacing);

class TDigitalDisplay : public QWidget {
    Q_OBJECT
public:
    explicit TDigitalDisplay(QWidget* parent = nullptr);

    const QString& Text() const { return text_; }
    TColour Color() const { return color_; }
    int Margins() const { return margins_; }
    int Spacing() const { return spacing_; }
    TAlignment Alignment() const { return alignment_; }

    void SetText(const QString& text);
    void SetColor(TColour colour);
    void SetMargins(int margins);
    void SetSpacing(int spacing);
    void SetAlignment(TAlignment alignment);

    // What the control shows, as painted.
    QImage Render() const;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    template <class T>
    void Set(T& field, const T& value);

    QString text_;
    TColour color_ = kLime;
    int margins_ = 0;
    int spacing_ = 0;
    TAlignment alignment_ = TAlignment::taLeftJustify;
};

}  // namespace hexmoor
