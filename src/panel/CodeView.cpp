#include "panel/CodeView.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QScrollBar>

#include <algorithm>

#include "core/Decoder.h"
#include "core/Hex.h"
#include "debug/DebugSession.h"
#include "panel/CopyText.h"
#include "panel/DebugWindow.h"
#include "panel/FormStyle.h"

namespace hexmoor {

namespace {

// "E00B  B6 10 04        LDAA PORTB": the bytes' column is as wide as the longest instruction.
constexpr int kBytesColumn = 3 * kMaxInstructionBytes - 1;
constexpr int kTextIndent = 6;  // pixels between the margin and the text

QString RowText(const TCodeLine& line) {
    if (!line.Label.empty()) return QString::fromStdString(line.Label + ":");
    return QString::fromStdString(Hex4(line.Address) + "  ") +
           QString::fromStdString(line.Bytes).leftJustified(kBytesColumn) + "  " + QString::fromStdString(line.Text);
}

// Several breakpoints may share an address: any enabled one makes it stop there.
TCodeView::TBreakMark BreakMarkAt(const std::vector<TBreakpoint>& breakpoints, uint16_t address) {
    TCodeView::TBreakMark mark = TCodeView::TBreakMark::None;
    for (const TBreakpoint& b : breakpoints)
        if (b.Address == address) {
            if (b.Enabled) return TCodeView::TBreakMark::Enabled;
            mark = TCodeView::TBreakMark::Disabled;
        }
    return mark;
}

// A breakpoint is a red dot, hollow when disabled; the Breakpoint menu's own address a blue
// square behind it; PC an arrow beside them.
void PaintMarks(QPainter& painter, const TCodeView::TRow& row, const QRect& rect) {
    const qreal size = rect.height() - 4;
    const QRectF place(3, rect.top() + 2, size, size);
    painter.setPen(Qt::NoPen);
    if (row.MenuBreakpoint) {
        painter.setBrush(QColor(40, 70, 200));
        painter.drawRect(place);
    }
    if (row.Breakpoint != TCodeView::TBreakMark::None) {
        painter.setPen(QPen(QColor(190, 0, 0), 1.5));
        painter.setBrush(row.Breakpoint == TCodeView::TBreakMark::Enabled ? QBrush(QColor(225, 20, 20))
                                                                          : QBrush(Qt::white));
        painter.drawEllipse(place.adjusted(1.5, 1.5, -1.5, -1.5));
    }
    if (row.Pc) {
        const qreal left = place.right() + 3, middle = place.center().y(), half = size / 2;
        QPainterPath arrow;
        arrow.moveTo(left, middle - half / 2);
        arrow.lineTo(left + half, middle - half / 2);
        arrow.lineTo(left + half, middle - half);
        arrow.lineTo(left + 2 * half, middle);
        arrow.lineTo(left + half, middle + half);
        arrow.lineTo(left + half, middle + half / 2);
        arrow.lineTo(left, middle + half / 2);
        arrow.closeSubpath();
        painter.fillPath(arrow, QColor(0, 120, 0));
    }
}

}  // namespace

TCodeView::TCodeView(TDebugContext& context, QWidget* parent)
    : QAbstractScrollArea(parent), context_(context), copy_(AddCopyAction(this, [this] { return SelectionText(); })) {
    setObjectName("CodeView");
    setFont(MonoFont());
    setFocusPolicy(Qt::StrongFocus);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QScrollBar* bar = verticalScrollBar();
    bar->setRange(0, 0xFFFF);
    // The bar's value is the top row's address. Its steps and pages go by instructions, so
    // the top row stays on an instruction start; a drag may land anywhere.
    connect(bar, &QAbstractSlider::actionTriggered, this, [this, bar](int action) {
        const int page = std::max(1, InstructionRows() - 1);
        const int lines = action == QAbstractSlider::SliderSingleStepAdd   ? 1
                          : action == QAbstractSlider::SliderSingleStepSub ? -1
                          : action == QAbstractSlider::SliderPageStepAdd   ? page
                          : action == QAbstractSlider::SliderPageStepSub   ? -page
                                                                           : 0;
        if (lines != 0) bar->setSliderPosition(Scrolled(lines));
    });
    connect(bar, &QAbstractSlider::valueChanged, this, [this](int value) {
        top_ = uint16_t(value);
        Rebuild();
    });
}

void TCodeView::Refresh(bool followPc) {
    Rebuild();
    const uint16_t pc = context_.Machine.RegisterPC;
    if (followPc && !InSight(pc)) Reveal(pc, FullRows() / 3);
}

void TCodeView::Rebuild() {
    const TMachine& m = context_.Machine;
    rows_.clear();
    for (TCodeLine& line : CodeLines(m, context_.Debugger.Symbols, top_, std::size_t(FullRows()) + 1)) {
        TRow& row = rows_.emplace_back(TRow{std::move(line)});
        if (!row.Line.Label.empty()) continue;
        row.Breakpoint = BreakMarkAt(context_.Debugger.Breakpoints(), row.Line.Address);
        row.MenuBreakpoint = m.BreakPointAddress == row.Line.Address;
        row.Pc = m.RegisterPC == row.Line.Address;
    }
    verticalScrollBar()->setPageStep(FullRows());
    viewport()->update();
}

int TCodeView::RowHeight() const { return fontMetrics().height() + 2; }
int TCodeView::FullRows() const { return std::max(1, viewport()->height() / RowHeight()); }

int TCodeView::InstructionRows() const {
    const auto shown = rows_.begin() + std::min<std::ptrdiff_t>(FullRows(), std::ssize(rows_));
    return int(std::count_if(rows_.begin(), shown, [](const TRow& row) { return row.Line.Label.empty(); }));
}

bool TCodeView::InSight(uint16_t address) const {
    for (int i = 0; i < FullRows() && i < int(rows_.size()); ++i)
        if (rows_[i].Line.Label.empty() && rows_[i].Line.Address == address) return true;
    return false;
}

QRect TCodeView::RowRect(int row) const { return {0, row * RowHeight(), viewport()->width(), RowHeight()}; }

std::optional<int> TCodeView::RowAt(QPoint point) const {
    if (point.y() < 0 || point.y() / RowHeight() >= int(rows_.size())) return std::nullopt;
    return point.y() / RowHeight();
}

void TCodeView::ScrollTo(uint16_t top) { verticalScrollBar()->setValue(top); }

void TCodeView::GoTo(uint16_t address) {
    Select(address, false);
    ScrollTo(address);
    Rebuild();
}

uint16_t TCodeView::Scrolled(int lines) const {
    const TMachine& m = context_.Machine;
    if (lines <= 0) return InstructionsFrom(m, top_, lines);
    uint16_t top = top_;
    for (; lines > 0; --lines) {
        const uint16_t next = InstructionsFrom(m, top, 1);
        if (next == top || CodeLines(m, context_.Debugger.Symbols, next, FullRows()).size() < std::size_t(FullRows()))
            break;
        top = next;
    }
    return top;
}

void TCodeView::Reveal(uint16_t address, int above) {
    ScrollTo(InstructionsFrom(context_.Machine, address, -above));
    // Label rows above it may still push it below the last row.
    for (int i = 0; i <= FullRows() && !InSight(address) && top_ != address; ++i)
        ScrollTo(InstructionsFrom(context_.Machine, top_, 1));
}

void TCodeView::MoveSelection(int lines, int scroll, bool extend) {
    const TMachine& m = context_.Machine;
    const bool inSight = selected_ && InSight(*selected_);
    if (scroll != 0) ScrollTo(Scrolled(scroll));
    if (inSight)
        Select(InstructionsFrom(m, *selected_, lines), extend);
    else  // the first key, or one after scrolling away, selects where the eye is: PC or the top
        Select(InSight(m.RegisterPC) ? m.RegisterPC : top_, extend);
    if (!InSight(*selected_)) Reveal(*selected_, lines < 0 ? 0 : InstructionRows() - 1);
}

void TCodeView::Select(uint16_t address, bool extend) {
    if (!extend || !selected_) anchor_ = address;
    selected_ = address;
    viewport()->update();
}

bool TCodeView::Selected(uint16_t address) const {
    return selected_ && address >= std::min(anchor_, *selected_) && address <= std::max(anchor_, *selected_);
}

QString TCodeView::SelectionText() const {
    if (!selected_) return {};
    const uint16_t first = std::min(anchor_, *selected_), last = std::max(anchor_, *selected_);
    const TSymbolTable& symbols = context_.Debugger.Symbols;
    // Rows enough for an instruction at every byte and each name's label line.
    std::size_t rows = last - first + 1u;
    for (uint32_t address = first; address <= last; ++address) rows += symbols.NamesAt(uint16_t(address)).size();
    QString text;
    for (const TCodeLine& line : CodeLines(context_.Machine, symbols, first, rows)) {
        if (line.Address > last) break;
        // The label lines among the selected rows, not those above the first.
        if (text.isEmpty() && !line.Label.empty()) continue;
        text += RowText(line) + '\n';
    }
    return text;
}

void TCodeView::ToggleBreakpoint(uint16_t address) {
    context_.Act([this, address] { context_.Session.ToggleBreakpointAt(address); });
}

void TCodeView::RunTo(uint16_t address) {
    if (context_.Stopped()) context_.RunTo(address);
}

void TCodeView::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), palette().base());
    painter.fillRect(QRect(0, 0, MarginWidth, viewport()->height()), QColor(232, 232, 232));
    painter.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < int(rows_.size()); ++i) {
        const TRow& row = rows_[i];
        const QRect rect = RowRect(i);
        const QRect textRect = rect.adjusted(MarginWidth, 0, 0, 0);
        const bool selected = row.Line.Label.empty() && Selected(row.Line.Address);
        if (selected) painter.fillRect(textRect, QColor(190, 214, 255));
        if (row.Pc) painter.fillRect(selected ? textRect.adjusted(0, 2, 0, -2) : textRect, QColor(255, 240, 150));
        PaintMarks(painter, row, rect);
        painter.setPen(row.Line.Label.empty() ? palette().text().color() : Teal());
        painter.drawText(textRect.adjusted(kTextIndent, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, RowText(row.Line));
    }
}

void TCodeView::resizeEvent(QResizeEvent*) { Rebuild(); }

void TCodeView::mousePressEvent(QMouseEvent* event) {
    const std::optional<int> row = RowAt(event->position().toPoint());
    if (!row) return;
    const uint16_t address = rows_[*row].Line.Address;
    if (event->button() == Qt::LeftButton && event->position().x() < MarginWidth)
        ToggleBreakpoint(address);
    else if (event->button() == Qt::LeftButton || !Selected(address))
        Select(address, event->modifiers() & Qt::ShiftModifier);
}

// A second click in the margin toggles again; on the code, a double click runs to the line.
void TCodeView::mouseDoubleClickEvent(QMouseEvent* event) {
    const std::optional<int> row = RowAt(event->position().toPoint());
    if (!row || event->button() != Qt::LeftButton) return;
    if (event->position().x() < MarginWidth)
        ToggleBreakpoint(rows_[*row].Line.Address);
    else
        RunTo(rows_[*row].Line.Address);
}

void TCodeView::contextMenuEvent(QContextMenuEvent* event) {
    const std::optional<int> row = RowAt(event->pos());
    if (!row) return;
    const uint16_t address = rows_[*row].Line.Address;
    QMenu menu(this);
    QAction* runTo = menu.addAction("Run to here");
    runTo->setEnabled(context_.Stopped());
    QAction* toggle = menu.addAction("Toggle breakpoint");
    menu.addSeparator();
    menu.addAction(copy_);
    // Acted on once the menu has closed: a run does not start inside it.
    QAction* chosen = menu.exec(event->globalPos());
    if (chosen == runTo)
        RunTo(address);
    else if (chosen == toggle)
        ToggleBreakpoint(address);
}

void TCodeView::keyPressEvent(QKeyEvent* event) {
    const int page = std::max(1, InstructionRows() - 1);
    const bool extend = event->modifiers() & Qt::ShiftModifier;
    switch (event->key()) {
    case Qt::Key_Up: MoveSelection(-1, 0, extend); break;
    case Qt::Key_Down: MoveSelection(1, 0, extend); break;
    case Qt::Key_PageUp: MoveSelection(-page, -page, extend); break;
    case Qt::Key_PageDown: MoveSelection(page, page, extend); break;
    default: QAbstractScrollArea::keyPressEvent(event);
    }
}

void TCodeView::wheelEvent(QWheelEvent* event) {
    constexpr int kNotch = 120, kLinesANotch = 3;
    wheelDelta_ += event->angleDelta().y();
    const int notches = wheelDelta_ / kNotch;
    wheelDelta_ -= notches * kNotch;
    if (notches != 0) ScrollTo(Scrolled(-kLinesANotch * notches));
    event->accept();
}

}  // namespace hexmoor
