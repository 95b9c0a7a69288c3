// The window's fonts and colours. Liberation Sans and Liberation Mono are the metric twins
// of the fonts the panel was drawn with; 11 pixels is their 8 points on a 96-dpi screen.
#pragma once

#include <QColor>
#include <QFont>
#include <QWidget>

namespace hexmoor {

inline QFont PixelFont(const char* family, int pixels) {
    QFont font(family);
    font.setPixelSize(pixels);
    return font;
}
inline QFont SansFont() { return PixelFont("Liberation Sans", 11); }
inline QFont MonoFont() { return PixelFont("Liberation Mono", 11); }
inline QFont TraceFont() { return PixelFont("Liberation Sans", 16); }
// The terminal's cells are 7 x 14 pixels, so its 80 x 24 fill the 560 x 336 the console
// panel holds; Liberation Mono measures so at 12 pixels (at 11, its rows are 12 high).
inline QFont TerminalFont() { return PixelFont("Liberation Mono", 12); }

inline QColor PanelGrey() { return QColor(192, 192, 192); }
inline QColor Teal() { return QColor(0, 128, 128); }

inline void SetBackground(QWidget* widget, QColor colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

// A port group: the LEDs on the group's colour, the caption in bold teal. The palette (not
// a style sheet) carries the colour, so the LEDs inside paint their corners in it too.
inline void SetPortGroupColour(QWidget* group, QColor background) {
    if (group->autoFillBackground() && group->palette().color(QPalette::Window) == background) return;
    SetBackground(group, background);
    QPalette palette = group->palette();
    palette.setColor(QPalette::WindowText, Teal());
    group->setPalette(palette);
}

}  // namespace hexmoor
