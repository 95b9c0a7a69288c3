// TSourceView: a source file, read only, with a margin of line numbers, breakpoint dots
// (hollow when disabled) and PC's arrow; PC's line is tinted.
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
    // A click in the margin or a double-click on a line (from 1).
    std::function<void(int line)> LineClicked;

    int MarginWidth() const;
    void PaintMargin(QPaintEvent* event);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    int LineAt(QPoint viewportPoint) const;

    QWidget* margin_;
    std::optional<int> pcLine_;
    std::vector<TBreakpointLine> breakpointLines_;
};

}  // namespace hexmoor
