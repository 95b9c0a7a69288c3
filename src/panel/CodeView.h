// TCodeView: the disassembly of memory, one instruction a row, with breakpoint marks in the
// margin and PC's row marked; it scrolls over all 64 KiB and keeps its rows on instruction
// starts. Shift with a click or the arrow keys selects several rows, which Copy takes as text.
#pragma once

#include <QAbstractScrollArea>

#include <optional>
#include <vector>

#include "debug/CodeListing.h"

namespace hexmoor {

struct TDebugContext;

class TCodeView : public QAbstractScrollArea {
public:
    TCodeView(TDebugContext& context, QWidget* parent);

    // Shows memory and the marks as they are now; `followPc` scrolls PC into sight (near the
    // top third) when it is not in sight already.
    void Refresh(bool followPc);
    std::optional<uint16_t> SelectedAddress() const { return selected_; }
    // The selected rows as the view shows them, a line each, with the label lines between
    // them; empty when nothing is selected.
    QString SelectionText() const;
    // Shows the code from `address` on, its first row at the top, and selects it.
    void GoTo(uint16_t address);

    enum class TBreakMark : uint8_t { None, Enabled, Disabled };
    // A row as the view paints it, top down.
    struct TRow {
        TCodeLine Line;
        TBreakMark Breakpoint = TBreakMark::None;
        bool MenuBreakpoint = false;  // the Breakpoint menu's own address
        bool Pc = false;
    };
    const std::vector<TRow>& Rows() const { return rows_; }
    // Where a row is in the viewport; its first MarginWidth pixels are the margin.
    QRect RowRect(int row) const;
    static constexpr int MarginWidth = 30;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void Rebuild();
    int RowHeight() const;
    int FullRows() const;         // the rows the viewport shows whole
    int InstructionRows() const;  // instructions among them: what a page moves
    bool InSight(uint16_t address) const;
    std::optional<int> RowAt(QPoint point) const;
    // Scrolls so that `address` is the instruction `above` instructions below the top row.
    void Reveal(uint16_t address, int above);
    void ScrollTo(uint16_t top);
    // The top row `lines` instructions on (negative: back), going down no farther than keeps
    // the view full to the end of memory.
    uint16_t Scrolled(int lines) const;
    // Moves the selection `lines` instructions after scrolling `scroll` of them; `extend`
    // keeps the other end where it was.
    void MoveSelection(int lines, int scroll, bool extend);
    void Select(uint16_t address, bool extend);
    bool Selected(uint16_t address) const;
    void ToggleBreakpoint(uint16_t address);
    void RunTo(uint16_t address);

    TDebugContext& context_;
    uint16_t top_ = 0;
    std::optional<uint16_t> selected_;
    uint16_t anchor_ = 0;  // the selection's other end: the rows from it to selected_
    QAction* copy_;
    std::vector<TRow> rows_;
    int wheelDelta_ = 0;  // eighths of a degree not yet scrolled
};

}  // namespace hexmoor
