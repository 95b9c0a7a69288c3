#include "panel/widgets/Led.h"

#include <QPainter>

#include "panel/widgets/QtColour.h"

namespace hexmoor {

TGloLed::TGloLed(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);  // it paints its whole rectangle
    resize(15, 15);
}

template <class T>
void TGloLed::Set(T& field, T value) {
    if (field == value) return;
    field = value;
    update();
    emit Changed();
}

void TGloLed::SetBackColor(TColour colour) { Set(backColor_, colour); }
void TGloLed::SetColor(TColour colour) { Set(color_, colour); }
void TGloLed::SetLightOn(bool on) { Set(lightOn_, on); }
void TGloLed::SetBorderWidth(int width) { Set(borderWidth_, std::max(0, width)); }
void TGloLed::SetCtl3D(bool ctl3D) {
    SetBorderStyle(ctl3D ? TLedBorderStyle::bsCtl3D : TLedBorderStyle::bsFlat);
}

// The status-control rim wants a width of 2; leaving it goes back to none.
void TGloLed::SetBorderStyle(TLedBorderStyle style) {
    if (style == borderStyle_) return;
    if (style == TLedBorderStyle::bsStatusControl && borderWidth_ == 0) borderWidth_ = 2;
    else if (style != TLedBorderStyle::bsStatusControl && borderWidth_ == 2) borderWidth_ = 0;
    Set(borderStyle_, style);
}

void TGloLed::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    painter.setRenderHint(QPainter::Antialiasing);
    // A pen straddles its path: inset the path by half the pen's width so that the whole
    // rim lies inside the widget.
    const qreal half = borderWidth_ / 2.0;
    const QRectF circle = QRectF(rect()).adjusted(half, half, -half, -half);
    if (borderWidth_ > 0) {  // a pen of width 0 would still draw a one-pixel line
        if (borderStyle_ == TLedBorderStyle::bsCtl3D) {
            // A sunken bezel: shadow on the upper left, highlight on the lower right. Flat
            // caps, so that the two halves meet at their ends instead of overlapping.
            painter.setPen(QPen(palette().dark(), borderWidth_, Qt::SolidLine, Qt::FlatCap));
            painter.drawArc(circle, 45 * 16, 180 * 16);
            painter.setPen(QPen(palette().light(), borderWidth_, Qt::SolidLine, Qt::FlatCap));
            painter.drawArc(circle, 225 * 16, 180 * 16);
        } else {
            painter.setPen(QPen(Qt::black, borderWidth_));
            painter.drawEllipse(circle);
        }
    }
    const int inset = borderWidth_ == 0 ? 2 : borderWidth_ + 1;
    painter.setPen(Qt::NoPen);
    painter.setBrush(ToQColor(lightOn_ ? color_ : backColor_));
    painter.drawEllipse(QRectF(rect()).adjusted(inset, inset, -inset, -inset));
}

void TGloLed::mousePressEvent(QMouseEvent*) { emit Clicked(); }

}  // namespace hexmoor
