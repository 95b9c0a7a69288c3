#include "panel/SourceView.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QTextBlock>

#include <algorithm>
#include <memory>

#include "panel/FormStyle.h"

namespace hexmoor {

namespace {

// The margin beside the text: its paint and clicks go to the text's own handlers.
class TSourceMargin : public QWidget {
public:
    explicit TSourceMargin(TSourceView* text) : QWidget(text), text_(text) {}
    QSize sizeHint() const override { return {text_->MarginWidth(), 0}; }

protected:
    void paintEvent(QPaintEvent* event) override { text_->PaintMargin(event); }
    void mousePressEvent(QMouseEvent* event) override {
        const QTextBlock block = text_->cursorForPosition(QPoint(0, event->position().toPoint().y())).block();
        if (block.isValid() && text_->LineClicked) text_->LineClicked(block.blockNumber() + 1);
    }

private:
    TSourceView* text_;
};

constexpr int kDotSpace = 16;  // the breakpoint dot and PC's arrow, left of the numbers

}  // namespace

TSourceView::TSourceView(QWidget* parent) : QPlainTextEdit(parent), margin_(new TSourceMargin(this)) {
    setReadOnly(true);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setFont(MonoFont());
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    connect(this, &QPlainTextEdit::blockCountChanged, this, [this] { setViewportMargins(MarginWidth(), 0, 0, 0); });
    connect(this, &QPlainTextEdit::updateRequest, this, [this](const QRect& rect, int dy) {
        if (dy) margin_->scroll(0, dy);
        else margin_->update(0, rect.y(), margin_->width(), rect.height());
    });
    setViewportMargins(MarginWidth(), 0, 0, 0);
}

int TSourceView::MarginWidth() const {
    const int digits = int(QString::number(std::max(1, blockCount())).size());
    return kDotSpace + fontMetrics().horizontalAdvance('9') * std::max(digits, 3) + 6;
}

void TSourceView::resizeEvent(QResizeEvent* event) {
    QPlainTextEdit::resizeEvent(event);
    const QRect inside = contentsRect();
    margin_->setGeometry(inside.left(), inside.top(), MarginWidth(), inside.height());
}

void TSourceView::SetMarks(std::optional<int> pcLine, std::vector<TBreakpointLine> breakpointLines) {
    QList<QTextEdit::ExtraSelection> tints;
    if (pcLine) {
        QTextEdit::ExtraSelection tint;
        tint.format.setBackground(QColor(255, 240, 150));
        tint.format.setProperty(QTextFormat::FullWidthSelection, true);
        tint.cursor = QTextCursor(document()->findBlockByNumber(*pcLine - 1));
        tints << tint;
    }
    setExtraSelections(tints);
    pcLine_ = pcLine;
    breakpointLines_ = std::move(breakpointLines);
    margin_->update();
}

void TSourceView::Reveal(int line) {
    const QTextBlock block = document()->findBlockByNumber(line - 1);
    if (!block.isValid()) return;
    const QRectF where = blockBoundingGeometry(block).translated(contentOffset());
    if (where.top() >= 0 && where.bottom() <= viewport()->height()) return;
    QTextCursor cursor(block);
    setTextCursor(cursor);
    centerCursor();
}

int TSourceView::LineAt(QPoint viewportPoint) const { return cursorForPosition(viewportPoint).blockNumber() + 1; }

void TSourceView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (LineClicked) LineClicked(LineAt(event->position().toPoint()));
}

void TSourceView::contextMenuEvent(QContextMenuEvent* event) {
    const int line = LineAt(event->pos());
    const std::unique_ptr<QMenu> menu(createStandardContextMenu(event->pos()));
    QAction* first = menu->actions().value(0);
    QAction* runTo = new QAction("Run to here", menu.get());
    runTo->setEnabled(RunToLine && (!MayRun || MayRun()));
    QAction* toggle = new QAction("Toggle breakpoint", menu.get());
    menu->insertActions(first, {runTo, toggle});
    menu->insertSeparator(first);
    // Acted on once the menu has closed: a run does not start inside it.
    QAction* chosen = menu->exec(event->globalPos());
    if (chosen == runTo)
        RunToLine(line);
    else if (chosen == toggle && LineClicked)
        LineClicked(line);
}

void TSourceView::PaintMargin(QPaintEvent* event) {
    QPainter painter(margin_);
    painter.fillRect(event->rect(), QColor(232, 232, 232));
    painter.setRenderHint(QPainter::Antialiasing);
    const int numberRight = MarginWidth() - 4;
    for (QTextBlock block = firstVisibleBlock(); block.isValid(); block = block.next()) {
        const QRectF rect = blockBoundingGeometry(block).translated(contentOffset());
        if (rect.top() > event->rect().bottom()) break;
        const int line = block.blockNumber() + 1;
        const int top = int(rect.top()), height = int(rect.height());
        painter.setPen(Qt::darkGray);
        painter.drawText(QRect(kDotSpace, top, numberRight - kDotSpace, height), Qt::AlignRight | Qt::AlignVCenter,
                         QString::number(line));
        const int middle = top + height / 2;
        // Several breakpoints may share a line: any enabled one makes it stop there.
        bool marked = false, enabled = false;
        for (const TBreakpointLine& breakpoint : breakpointLines_)
            if (breakpoint.Line == line) {
                marked = true;
                enabled = enabled || breakpoint.Enabled;
            }
        if (marked) {
            painter.setPen(QPen(QColor(190, 0, 0), 1.5));
            painter.setBrush(enabled ? QBrush(QColor(225, 20, 20)) : QBrush(Qt::white));
            painter.drawEllipse(QPointF(7, middle), 5, 5);
        }
        if (pcLine_ == line) {
            QPainterPath arrow;
            arrow.moveTo(3, middle - 5);
            arrow.lineTo(13, middle);
            arrow.lineTo(3, middle + 5);
            arrow.closeSubpath();
            painter.fillPath(arrow, QColor(0, 120, 0));
        }
    }
}

}  // namespace hexmoor
