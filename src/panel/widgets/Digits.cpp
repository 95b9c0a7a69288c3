#include "panel/widgets/Digits.h"

#include <QPainter>

#include <algorithm>
#include <cstdlib>
#include <stdexcept>

namespace hexmoor {

std::vector<int> DigitCells(int value, int digitCount, bool showLeadingZeros) {
    std::vector<int> cells(digitCount);
    long long rest = std::llabs(static_cast<long long>(value));
    for (int i = 1; i <= digitCount; ++i) {
        const bool leading = rest == 0 && i >= 2 && !showLeadingZeros;
        cells[digitCount - i] = leading ? kBlankDigit : int(rest % 10);
        rest /= 10;
    }
    return cells;
}

// Segments a to g as rectangles in a cell, lit or dim by the digit.
QImage SevenSegmentDigits(int digitWidth, int height, QColor lit, QColor unlit, QColor background) {
    static constexpr uint8_t kSegments[11] = {0x3F, 0x06, 0x5B, 0x4F, 0x66, 0x6D,
                                              0x7D, 0x07, 0x7F, 0x6F, 0x00};  // gfedcba
    QImage strip(digitWidth * 11, height, QImage::Format_RGB32);
    strip.fill(background);
    QPainter painter(&strip);
    const int t = std::max(2, digitWidth / 6);  // segment thickness
    const int left = 2, right = digitWidth - 2, top = 1, bottom = height - 2;
    const int middle = (top + bottom) / 2;
    for (int digit = 0; digit < 11; ++digit) {
        const int x = digit * digitWidth;
        const QRect segments[7] = {
            {x + left + t, top, right - left - 2 * t, t},              // a
            {x + right - t, top + t, t, middle - top - t},             // b
            {x + right - t, middle + 1, t, bottom - middle - t},       // c
            {x + left + t, bottom - t + 1, right - left - 2 * t, t},   // d
            {x + left, middle + 1, t, bottom - middle - t},            // e
            {x + left, top + t, t, middle - top - t},                  // f
            {x + left + t, middle - t / 2, right - left - 2 * t, t},   // g
        };
        for (int s = 0; s < 7; ++s)
            painter.fillRect(segments[s], (kSegments[digit] >> s & 1) ? lit : unlit);
    }
    return strip;
}

TDigits::TDigits(QWidget* parent) : QWidget(parent) {
    resize(84, 20);
}

void TDigits::SetValue(int value) {
    if (value < 0 && !allowNegative_) value = 0;
    if (value == value_) return;
    value_ = value;
    repaint();
}

void TDigits::SetDigitCount(int count) {
    count = std::clamp(count, 1, 10);
    if (count == digitCount_) return;
    digitCount_ = count;
    Resize();
}

void TDigits::SetShowLeadingZeros(bool show) {
    if (show == showLeadingZeros_) return;
    showLeadingZeros_ = show;
    repaint();
}

void TDigits::SetAllowNegative(bool allow) {
    allow = allow && !signs_.isNull();
    if (allow == allowNegative_) return;
    allowNegative_ = allow;
    if (!allow && value_ < 0) value_ = 0;
    Resize();
}

void TDigits::SetShowThousandsSeparator(bool show) {
    show = show && !separator_.isNull();
    if (show == showThousandsSeparator_) return;
    showThousandsSeparator_ = show;
    Resize();
}

void TDigits::SetAutoSize(bool autoSize) {
    autoSize_ = autoSize;
    Resize();
}

void TDigits::SetBmpDigits(const QImage& digits) {
    if (digits.isNull() || digits.width() % 11 != 0)
        throw std::invalid_argument(
            "BmpDigits requires a bitmap that contains the digits 0 through 9 and an empty "
            "space of equal width");
    digits_ = digits;
    Resize();
}

void TDigits::SetBmpPosNegSign(const QImage& signs) {
    if (signs.isNull()) {
        signs_ = QImage();
        SetAllowNegative(false);
        return;
    }
    if (signs.width() % 2 != 0)
        throw std::invalid_argument(
            "BmpPosNegSign requires a bitmap that contains a positive sign and a negative sign "
            "of equal width");
    signs_ = signs;
    Resize();
}

void TDigits::SetBmpThousandsSeparator(const QImage& separator) {
    separator_ = separator;
    if (separator.isNull()) showThousandsSeparator_ = false;
    Resize();
}

// Width from the images: the digits, the separators shown, and the sign's half.
void TDigits::Resize() {
    if (autoSize_ && !digits_.isNull()) {
        int width = DigitWidth() * digitCount_;
        if (showThousandsSeparator_) width += separator_.width() * ((digitCount_ - 1) / 3);
        if (allowNegative_) width += signs_.width() / 2;
        setFixedSize(width, digits_.height());
    }
    repaint();
}

// Drawn right to left from the units digit.
QImage TDigits::Render() const {
    QImage image(size(), QImage::Format_RGB32);
    image.fill(palette().window().color());
    if (digits_.isNull()) return image;
    QPainter painter(&image);
    const int w = DigitWidth(), h = digits_.height();
    const std::vector<int> cells = DigitCells(value_, digitCount_, showLeadingZeros_);
    int x = w * digitCount_ + (allowNegative_ ? signs_.width() / 2 : 0);
    if (showThousandsSeparator_) x += separator_.width() * ((digitCount_ - 1) / 3);
    for (int i = 1; i <= digitCount_; ++i) {
        x -= w;
        painter.drawImage(QPoint(x, 0), digits_, QRect(cells[digitCount_ - i] * w, 0, w, h));
        if (showThousandsSeparator_ && i % 3 == 0 && i < digitCount_) {
            x -= separator_.width();
            painter.drawImage(x, 0, separator_);
        }
    }
    if (allowNegative_) {
        const int half = signs_.width() / 2;
        painter.drawImage(QPoint(0, 0), signs_, QRect(value_ < 0 ? half : 0, 0, half, signs_.height()));
    }
    return image;
}

void TDigits::paintEvent(QPaintEvent*) { QPainter(this).drawImage(0, 0, Render()); }

}  // namespace hexmoor
