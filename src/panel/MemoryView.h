// TMemoryView: the 64 KiB as 4096 rows of 16 bytes, in hexadecimal and as text, painted
// from peeks. Keys and clicks move a cursor; two hexadecimal digits typed at it edit its
// byte. The view only says what was typed: the window decides and writes. Shift with a
// click or the arrow keys selects the bytes from where the cursor was; Copy takes their rows
// as text.
#pragma once

#include <QAbstractScrollArea>
#include <QColor>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace hexmoor {

class TMachine;
struct TChipMemorySpan;

// The text of a byte that changed since the stop before.
inline constexpr QRgb kChangedByteColour = qRgb(210, 0, 0);

class TMemoryView : public QAbstractScrollArea {
    Q_OBJECT
public:
    TMemoryView(const TMachine& machine, QWidget* parent);

    uint16_t Cursor() const { return cursor_; }
    // Puts the cursor on `address`; a row out of sight scrolls to the top.
    void SetCursor(uint16_t address);
    // The bytes to compare with: those that differ from them show in red. None: no red.
    void SetReference(const std::vector<uint8_t>* bytes);
    // Asked at each typed digit; false refuses the edit (EditRefused).
    std::function<bool()> MayEdit;
    // The text of a row as it is painted: "E000  8E 03 FF ...  ..text.."
    QString RowText(int row) const;
    // The rows of the selected bytes (the cursor's byte when no more are selected) as they
    // are painted, bytes outside the selection left blank, a line each.
    QString SelectionText() const;
    bool Selected(uint16_t address) const;
    // Whether the byte paints as changed.
    bool Changed(uint16_t address) const;
    QSize sizeHint() const override;

signals:
    void CursorMoved(uint16_t address);
    // Emitted with the cursor already on the next byte.
    void ByteTyped(uint16_t address, uint8_t value);
    void EditRefused();

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void PaintRow(QPainter& painter, int row, int y, const std::vector<TChipMemorySpan>& memories);
    int VisibleRows() const;  // whole rows
    void UpdateScrollRange();
    // Clamped to $0000-$FFFF; `extend` keeps the selection's other end where it was.
    void MoveCursor(int address, bool extend = false);
    void TypeDigit(int digit);
    QRect HexCell(int column, int y) const;
    QRect TextCell(int column, int y) const;
    std::optional<uint16_t> ByteAt(QPoint point) const;

    const TMachine& machine_;
    const std::vector<uint8_t>* reference_ = nullptr;
    uint16_t cursor_ = 0;
    uint16_t anchor_ = 0;  // the selection's other end: the bytes from it to the cursor
    std::optional<int> firstDigit_;  // of an edit under way, shown in the cursor's cell
    int charWidth_ = 0;
    int rowHeight_ = 0;
};

}  // namespace hexmoor
