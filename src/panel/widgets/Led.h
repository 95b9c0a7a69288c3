// TGloLed: a round LED, lit in Color or dark in BackColor, with a flat or sunken rim.
#pragma once

#include <QWidget>

#include "core/PanelState.h"

namespace hexmoor {

enum class TLedBorderStyle { bsFlat, bsCtl3D, bsStatusControl };

class TGloLed : public QWidget {
    Q_OBJECT
public:
    explicit TGloLed(QWidget* parent = nullptr);

    TColour BackColor() const { return backColor_; }
    TColour Color() const { return color_; }
    TLedBorderStyle BorderStyle() const { return borderStyle_; }
    int BorderWidth() const { return borderWidth_; }
    bool Ctl3D() const { return borderStyle_ == TLedBorderStyle::bsCtl3D; }
    bool LightOn() const { return lightOn_; }

    // Each setter does nothing when the value is unchanged; otherwise it repaints and
    // emits Changed.
    void SetBackColor(TColour colour);
    void SetColor(TColour colour);
    void SetBorderStyle(TLedBorderStyle style);
    void SetBorderWidth(int width);
    void SetCtl3D(bool ctl3D);
    void SetLightOn(bool on);

    QSize sizeHint() const override { return {15, 15}; }

signals:
    void Changed();
    void Clicked();

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent*) override;

private:
    template <class T>
    void Set(T& field, T value);

    TColour backColor_ = kWhite;
    TColour color_ = kRed;
    TLedBorderStyle borderStyle_ = TLedBorderStyle::bsCtl3D;
    int borderWidth_ = 0;
    bool lightOn_ = false;
};

}  // namespace hexmoor
