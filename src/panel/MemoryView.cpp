#include "panel/MemoryView.h"

#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

#include "core/Hex.h"
#include "debug/Peek.h"
#include "panel/ChipMemories.h"
#include "panel/CopyText.h"
#include "panel/FormStyle.h"

namespace hexmoor {

namespace {

constexpr int kRowBytes = 16;
constexpr int kRows = 0x10000 / kRowBytes;
constexpr int kMargin = 4;  // pixels left of the address column
// Character columns of a row: the address, the bytes in two groups of eight, the text.
constexpr int HexColumn(int byte) { return 6 + 3 * byte + (byte >= 8 ? 1 : 0); }
constexpr int TextColumn(int byte) { return HexColumn(kRowBytes - 1) + 4 + byte; }
constexpr int kColumns = TextColumn(kRowBytes);
constexpr int kShownRows = 24;  // what the view asks room for
constexpr QRgb kSelectedTint = qRgb(190, 214, 255);  // as the Code window's selected rows

QChar Printable(uint8_t byte) { return byte >= 0x20 && byte < 0x7F ? QChar(char16_t(byte)) : QLatin1Char('.'); }

}  // namespace

TMemoryView::TMemoryView(const TMachine& machine, QWidget* parent) : QAbstractScrollArea(parent), machine_(machine) {
    setFont(MonoFont());
    charWidth_ = fontMetrics().horizontalAdvance('0');
    rowHeight_ = fontMetrics().height() + 2;
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setMinimumWidth(sizeHint().width());
    UpdateScrollRange();
    AddCopyAction(this, [this] { return SelectionText(); });
    setContextMenuPolicy(Qt::ActionsContextMenu);
}

QSize TMemoryView::sizeHint() const {
    const int frame = 2 * frameWidth();
    return {2 * kMargin + kColumns * charWidth_ + verticalScrollBar()->sizeHint().width() + frame,
            kShownRows * rowHeight_ + frame};
}

void TMemoryView::SetCursor(uint16_t address) {
    const int row = address / kRowBytes;
    const int top = verticalScrollBar()->value();
    if (row < top || row >= top + VisibleRows()) verticalScrollBar()->setValue(row);
    MoveCursor(address);
}

void TMemoryView::SetReference(const std::vector<uint8_t>* bytes) {
    reference_ = bytes;
    viewport()->update();
}

QString TMemoryView::RowText(int row) const {
    QString text(kColumns, ' ');
    const auto put = [&text](int column, const std::string& digits) {
        for (char digit : digits) text[column++] = QLatin1Char(digit);
    };
    const uint16_t base = uint16_t(row * kRowBytes);
    put(0, Hex4(base));
    for (int byte = 0; byte < kRowBytes; ++byte) {
        const uint8_t value = PeekByte(machine_, uint16_t(base + byte));
        put(HexColumn(byte), Hex2(value));
        text[TextColumn(byte)] = Printable(value);
    }
    return text;
}

bool TMemoryView::Selected(uint16_t address) const {
    return address >= std::min(anchor_, cursor_) && address <= std::max(anchor_, cursor_);
}

QString TMemoryView::SelectionText() const {
    QString text;
    for (int row = std::min(anchor_, cursor_) / kRowBytes; row <= std::max(anchor_, cursor_) / kRowBytes; ++row) {
        QString line = RowText(row);
        for (int byte = 0; byte < kRowBytes; ++byte) {
            if (Selected(uint16_t(row * kRowBytes + byte))) continue;
            line.replace(HexColumn(byte), 2, "  ");
            line[TextColumn(byte)] = ' ';
        }
        while (line.endsWith(' ')) line.chop(1);
        text += line + '\n';
    }
    return text;
}

bool TMemoryView::Changed(uint16_t address) const {
    return reference_ && (*reference_)[address] != PeekByte(machine_, address);
}

void TMemoryView::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    painter.setFont(font());
    const std::vector<TChipMemorySpan> memories = ChipMemories(machine_);
    const int top = verticalScrollBar()->value();
    for (int row = top, y = 0; row < kRows && y < viewport()->height(); ++row, y += rowHeight_)
        PaintRow(painter, row, y, memories);
}

// The chip's memories tinted, changed bytes red; the cursor's byte highlighted (outlined
// while the view has no focus) with its character outlined.
void TMemoryView::PaintRow(QPainter& painter, int row, int y, const std::vector<TChipMemorySpan>& memories) {
    const QString text = RowText(row);
    const QColor highlight = palette().color(QPalette::Highlight);
    painter.setPen(palette().color(QPalette::PlaceholderText));
    painter.drawText(QRect(kMargin, y, 4 * charWidth_, rowHeight_), Qt::AlignLeft | Qt::AlignVCenter, text.left(4));
    for (int byte = 0; byte < kRowBytes; ++byte) {
        const uint16_t address = uint16_t(row * kRowBytes + byte);
        const QRect hex = HexCell(HexColumn(byte), y);
        const QRect character = TextCell(TextColumn(byte), y);
        if (const auto memory = ChipMemoryAt(memories, address)) {
            painter.fillRect(hex, QColor(memory->Memory->Tint));
            painter.fillRect(character, QColor(memory->Memory->Tint));
        }
        if (anchor_ != cursor_ && Selected(address)) {
            painter.fillRect(hex, QColor(kSelectedTint));
            painter.fillRect(character, QColor(kSelectedTint));
        }
        const QColor colour = Changed(address) ? QColor(kChangedByteColour) : palette().color(QPalette::Text);
        QColor hexColour = colour;
        QString digits = text.mid(HexColumn(byte), 2);
        if (address == cursor_) {
            if (firstDigit_) digits = QString::number(*firstDigit_, 16).toUpper() + '_';
            const QRect box = hex.adjusted(charWidth_ / 2 - 1, 0, -(charWidth_ / 2), -1);
            painter.setPen(highlight);
            if (hasFocus()) {
                painter.fillRect(box, highlight);
                hexColour = palette().color(QPalette::HighlightedText);
            } else {
                painter.drawRect(box);
            }
            painter.drawRect(character.adjusted(0, 0, -1, -1));
        }
        painter.setPen(hexColour);
        painter.drawText(hex, Qt::AlignCenter, digits);
        painter.setPen(colour);
        painter.drawText(character, Qt::AlignCenter, text.mid(TextColumn(byte), 1));
    }
}

// A cell takes half a character's room on each side, so tints of neighbours join.
QRect TMemoryView::HexCell(int column, int y) const {
    return {kMargin + column * charWidth_ - charWidth_ / 2, y, 3 * charWidth_, rowHeight_};
}

QRect TMemoryView::TextCell(int column, int y) const {
    return {kMargin + column * charWidth_, y, charWidth_, rowHeight_};
}

std::optional<uint16_t> TMemoryView::ByteAt(QPoint point) const {
    const int row = verticalScrollBar()->value() + point.y() / rowHeight_;
    if (point.y() < 0 || row >= kRows) return std::nullopt;
    for (int byte = 0; byte < kRowBytes; ++byte) {
        const auto within = [&point](QRect cell) { return point.x() >= cell.left() && point.x() <= cell.right(); };
        if (within(HexCell(HexColumn(byte), 0)) || within(TextCell(TextColumn(byte), 0)))
            return uint16_t(row * kRowBytes + byte);
    }
    return std::nullopt;
}

void TMemoryView::keyPressEvent(QKeyEvent* event) {
    const int page = kRowBytes * std::max(1, VisibleRows());
    const bool control = event->modifiers() & Qt::ControlModifier;
    const bool extend = event->modifiers() & Qt::ShiftModifier;
    switch (event->key()) {
    case Qt::Key_Left: MoveCursor(cursor_ - 1, extend); return;
    case Qt::Key_Right: MoveCursor(cursor_ + 1, extend); return;
    case Qt::Key_Up: MoveCursor(cursor_ - kRowBytes, extend); return;
    case Qt::Key_Down: MoveCursor(cursor_ + kRowBytes, extend); return;
    case Qt::Key_PageUp: MoveCursor(cursor_ - page, extend); return;
    case Qt::Key_PageDown: MoveCursor(cursor_ + page, extend); return;
    case Qt::Key_Home: MoveCursor(control ? 0 : cursor_ & ~(kRowBytes - 1), extend); return;
    case Qt::Key_End: MoveCursor(control ? 0xFFFF : cursor_ | (kRowBytes - 1), extend); return;
    case Qt::Key_Escape:
        if (!firstDigit_) break;
        firstDigit_.reset();
        viewport()->update();
        return;
    default: break;
    }
    bool digit = false;
    const int value = event->text().size() == 1 ? event->text().toInt(&digit, 16) : 0;
    if (digit && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
        TypeDigit(value);
        return;
    }
    event->ignore();
}

void TMemoryView::TypeDigit(int digit) {
    if (MayEdit && !MayEdit()) {
        firstDigit_.reset();
        viewport()->update();
        emit EditRefused();
        return;
    }
    if (!firstDigit_) {
        firstDigit_ = digit;
        viewport()->update();
        return;
    }
    const uint16_t address = cursor_;
    const auto value = uint8_t(*firstDigit_ << 4 | digit);
    MoveCursor(cursor_ + 1);
    emit ByteTyped(address, value);
}

void TMemoryView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    if (const auto address = ByteAt(event->position().toPoint()))
        MoveCursor(*address, event->modifiers() & Qt::ShiftModifier);
}

void TMemoryView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollRange();
}

void TMemoryView::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

void TMemoryView::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

int TMemoryView::VisibleRows() const { return std::max(1, viewport()->height() / rowHeight_); }

void TMemoryView::UpdateScrollRange() {
    verticalScrollBar()->setRange(0, kRows - VisibleRows());
    verticalScrollBar()->setPageStep(VisibleRows());
}

// Scrolls as little as keeps the cursor's row in sight; a pending digit is dropped.
void TMemoryView::MoveCursor(int address, bool extend) {
    cursor_ = uint16_t(std::clamp(address, 0, 0xFFFF));
    if (!extend) anchor_ = cursor_;
    firstDigit_.reset();
    const int row = cursor_ / kRowBytes;
    const int top = verticalScrollBar()->value();
    if (row < top)
        verticalScrollBar()->setValue(row);
    else if (row >= top + VisibleRows())
        verticalScrollBar()->setValue(row - VisibleRows() + 1);
    viewport()->update();
    emit CursorMoved(cursor_);
}

}  // namespace hexmoor
