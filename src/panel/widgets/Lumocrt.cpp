#include "panel/widgets/Lumocrt.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPainter>
#include <QPaintEvent>

#include "io/Lumocrt/Windows1252.h"
#include "panel/widgets/QtColour.h"

namespace hexmoor {

namespace {

// Posted after a scroll; several scrolls share one.
const QEvent::Type kRepaintEvent = QEvent::Type(QEvent::User + 100);

}  // namespace

QChar FromWindows1252(uint8_t byte) { return QChar(char16_t(Windows1252CodePoint(byte))); }

TLumocrt::TLumocrt(QWidget* parent, TTerminalScreen* screen)
    : QWidget(parent), ownScreen_(screen ? nullptr : std::make_unique<TTerminalScreen>()),
      screen_(screen ? screen : ownScreen_.get()) {
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    QFont font("Courier New");
    font.setPointSize(8);
    PrinterFont = Font80 = Font132 = font;
    SetScreenFont(font);
}

TLumocrt::~TLumocrt() = default;

// Cells are the font's average character width by its height and leading.
void TLumocrt::Measure() {
    const QFontMetrics metrics(font());
    cellWidth_ = std::max(1, metrics.averageCharWidth());
    cellHeight_ = std::max(1, metrics.height() + metrics.leading());
    setFixedSize(screen_->Columns() * cellWidth_, screen_->Rows() * cellHeight_);
    update();
}

void TLumocrt::SetScreenFont(const QFont& font) {
    setFont(font);
    Measure();
}

void TLumocrt::SetColumns(int columns) {
    screen_->SetColumns(columns);
    Measure();
}

void TLumocrt::SetRows(int rows) {
    screen_->SetRows(rows);
    Measure();
}

void TLumocrt::SetCursor(bool visible) {
    screen_->Cursor = visible;
    PlaceCaret();
}

QRect TLumocrt::CellRect(int firstColumn, int lastColumn, int firstRow, int lastRow) const {
    return QRect((firstColumn - 1) * cellWidth_, (firstRow - 1) * cellHeight_,
                 (lastColumn - firstColumn + 1) * cellWidth_, (lastRow - firstRow + 1) * cellHeight_);
}

void TLumocrt::WriteChar(uint8_t byte) {
    if (screen_->WriteChar(byte)) QApplication::beep();
    Refresh();
}

void TLumocrt::WriteText(const std::string& bytes) {
    for (char byte : bytes) WriteChar(uint8_t(byte));
}

void TLumocrt::ClrScr() { screen_->ClrScr(); Refresh(); }
void TLumocrt::ClrEol() { screen_->ClrEol(); Refresh(); }
void TLumocrt::ClrEos() { screen_->ClrEos(); Refresh(); }
void TLumocrt::GotoXY(int column, int row) { screen_->GotoXY(column, row); Refresh(); }

void TLumocrt::Refresh() {
    const int scrolls = screen_->ScrollsSinceTaken();
    const TScreenDamage damage = screen_->TakeDamage();
    for (int i = 0; i < scrolls; ++i) Scrolled();
    if (damage.Any && !repaintPending_ && !ownerDraw_) {
        if (damage.WholeScreen) update();
        else update(CellRect(damage.FirstColumn, damage.LastColumn, damage.FirstRow, damage.LastRow));
    }
    PlaceCaret();
}

// One queued repaint serves a burst of scrolls, but after 3 x (Rows div 4) of them the
// screen is repainted at once, so a long burst still shows.
void TLumocrt::Scrolled() {
    if (ownerDraw_) return;
    if (repaintPending_) ++scrollCount_;
    if (scrollCount_ > 3 * (screen_->Rows() / 4)) {
        ++forcedRepaints_;
        RepaintWholeScreen();
        return;
    }
    if (!repaintPending_) {
        repaintPending_ = true;
        QApplication::postEvent(this, new QEvent(kRepaintEvent));
    }
}

void TLumocrt::RepaintWholeScreen() {
    repaint();
    repaintPending_ = false;
    scrollCount_ = 0;
}

void TLumocrt::customEvent(QEvent* event) {
    if (event->type() == kRepaintEvent && repaintPending_) RepaintWholeScreen();
}

void TLumocrt::PlaceCaret() {
    const QRect caret = hasFocus() && screen_->Cursor
                            ? CellRect(screen_->CursorX(), screen_->CursorX(), screen_->CursorY(),
                                       screen_->CursorY())
                            : QRect();
    if (caret == caret_) return;
    update(caret_);
    caret_ = caret;
    update(caret_);
}

void TLumocrt::focusInEvent(QFocusEvent*) { PlaceCaret(); }
void TLumocrt::focusOutEvent(QFocusEvent*) { PlaceCaret(); }

// Only the cells in the clip area: the background of each run of equal colours with one
// fill, then each character in its own cell. Drawing a run as one string would place the
// characters by the font's advances, which are fractional, zero for a soft hyphen or wider
// for a fallback glyph, and the row would drift off the grid that the caret and the partial
// repaints use.
void TLumocrt::paintEvent(QPaintEvent* event) {
    if (ownerDraw_) return;
    QPainter painter(this);
    painter.setFont(font());
    const QRect clip = event->rect();
    const QFontMetrics metrics(font());  // the leading is split above and below the text
    const int baseline = (cellHeight_ - metrics.height()) / 2 + metrics.ascent();
    const int firstColumn = std::max(0, clip.left() / cellWidth_);
    const int columnLimit = std::min(screen_->Columns(), (clip.right() + cellWidth_) / cellWidth_);
    const int firstRow = std::max(0, clip.top() / cellHeight_);
    const int rowLimit = std::min(screen_->Rows(), (clip.bottom() + cellHeight_) / cellHeight_);
    for (int row = firstRow; row < rowLimit; ++row) {
        int column = firstColumn;
        while (column < columnLimit) {
            const TScreenCell& first = screen_->Cell(column + 1, row + 1);
            int end = column + 1;
            while (end < columnLimit) {
                const TScreenCell& cell = screen_->Cell(end + 1, row + 1);
                if (cell.Back != first.Back || cell.Text != first.Text) break;
                ++end;
            }
            painter.fillRect(CellRect(column + 1, end, row + 1, row + 1), ToQColor(first.Back));
            painter.setPen(ToQColor(first.Text));
            for (; column < end; ++column)
                painter.drawText(QPoint(column * cellWidth_, row * cellHeight_ + baseline),
                                 QString(FromWindows1252(screen_->Cell(column + 1, row + 1).Char)));
        }
    }
    // A solid caret inverts its cell, so the character under it stays readable.
    if (!caret_.isNull() && clip.intersects(caret_)) {
        painter.setCompositionMode(QPainter::RasterOp_NotDestination);
        painter.fillRect(caret_, Qt::black);
    }
}

}  // namespace hexmoor
