// TDigits: a number shown with seven-segment digit images, with leading zeros or blanks,
// an optional sign and thousands separators.
#pragma once

#include <QImage>
#include <QWidget>

#include <vector>

namespace hexmoor {

inline constexpr int kBlankDigit = 10;  // the eleventh image of a digit strip

// The digit images of a number, leftmost first: 0-9, or kBlankDigit for a leading blank.
std::vector<int> DigitCells(int value, int digitCount, bool showLeadingZeros);

// Our seven-segment digit strip: 0 to 9 and a blank, `digitWidth` x `height` each.
QImage SevenSegmentDigits(int digitWidth, int height, QColor lit, QColor unlit, QColor background);

class TDigits : public QWidget {
    Q_OBJECT
public:
    explicit TDigits(QWidget* parent = nullptr);

    int Value() const { return value_; }
    int DigitCount() const { return digitCount_; }
    bool ShowLeadingZeros() const { return showLeadingZeros_; }
    bool AllowNegative() const { return allowNegative_; }
    bool ShowThousandsSeparator() const { return showThousandsSeparator_; }
    bool AutoSize() const { return autoSize_; }

    void SetValue(int value);          // negative becomes 0 unless AllowNegative
    void SetDigitCount(int count);     // clamped to 1..10
    void SetShowLeadingZeros(bool show);
    void SetAllowNegative(bool allow);  // only while a sign image is set
    void SetShowThousandsSeparator(bool show);  // only while a separator image is set
    void SetAutoSize(bool autoSize);
    // These throw std::invalid_argument for an image they cannot use.
    void SetBmpDigits(const QImage& digits);
    void SetBmpPosNegSign(const QImage& signs);
    void SetBmpThousandsSeparator(const QImage& separator);

    QImage Render() const;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    void Resize();
    int DigitWidth() const { return digits_.width() / 11; }

    int value_ = 0;
    int digitCount_ = 6;
    bool showLeadingZeros_ = false;
    bool allowNegative_ = false;
    bool showThousandsSeparator_ = false;
    bool autoSize_ = true;
    QImage digits_, signs_, separator_;
};

}  // namespace hexmoor
