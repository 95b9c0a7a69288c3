// TSourceView: a source file, read only, with a margin of line numbers, breakpoint dots
// (hollow when disabled) and PC's arrow; PC's line is tinted. Its context menu runs to the
// line or toggles its breakpoint, besides a text view's Copy and Select All.
#pragma once

#include <QPlainTextEdit>

#include <functional>
#include <optional>
#include <vector>

namespace hexmoor {

// A line (from 1) with a breakpoint on its code; a disabled one is drawn hollow.
struct TBreakpointLine {
    int Line = 0;
    bool Enabled = true;
    bool operator==(const TBreakpointLine&) const = default;
};

class TSourceView : public QPlainTextEdit {
public:
    explicit TSourceView(QWidget* parent);

    void SetMarks(std::optional<int> pcLine, std::vector<TBreakpointLine> breakpointLines);
    // Scrolls `line` (from 1) into sight, to the middle when it is out of it.
    void Reveal(int line);
    // A click in the margin, a double-click on a line (from 1), or Toggle breakpoint.
    std::function<void(int line)> LineClicked;
    // Run to here on a line (from 1), offered while MayRun says a run may start.
    std::function<void(int line)> RunToLine;
    std::function<bool()> MayRun;

    int MarginWidth() const;
    void PaintMargin(QPaintEvent* event);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    int LineAt(QPoint viewportPoint) const;

    QWidget* margin_;
    std::optional<int> pcLine_;
    std::vector<TBreakpointLine> breakpointLines_;
};

}  // namespace hexmoor
