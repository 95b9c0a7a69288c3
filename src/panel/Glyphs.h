// The pictures of the window: the speed buttons' glyphs and the about box's picture, all
// drawn here rather than loaded from files.
#pragma once

#include <QPixmap>

namespace hexmoor {

QPixmap IrqGlyph();     // a falling edge: the IRQ line pulled low
QPixmap XIrqGlyph();    // the same edge, crossed: the non-maskable XIRQ line
QPixmap ResetGlyph();   // a circular arrow
QPixmap OkGlyph();      // a tick
QPixmap CancelGlyph();  // a cross
QPixmap AboutPicture(); // the chip on its board, with the moor behind

}  // namespace hexmoor
