// TSourceWindow: the source of the program loaded now, when it was assembled from source or
// its ELF file tells where its lines went. The line PC is on is marked and followed at each
// stop; a click in the margin, or a double-click on a line, sets or clears a breakpoint on
// that line's code; its context menu also runs to a line.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "debug/DebugSession.h"
#include "panel/DebugWindow.h"
#include "panel/SourceView.h"

class QComboBox;
class QLabel;

namespace hexmoor {

class TSourceWindow : public TDebugWindow {
public:
    TSourceWindow(TDebugContext& context, QWidget* owner);

    void Refresh() override;

    // What the window shows: the file's index in the line table, the line marked for PC (from
    // 1; none when PC is on no line of this file) and the lines with a breakpoint.
    int ShownFile() const { return shownFile_; }
    std::optional<int> PcLine() const { return pcLine_; }
    const std::vector<TBreakpointLine>& BreakpointLines() const { return breakpointLines_; }
    // A click on a line (from 1): its code's breakpoint on or off.
    void ToggleBreakpointOnLine(int line);
    // The code of the line the cursor is on (or of the code after it): where Run to Cursor
    // runs to.
    std::optional<uint16_t> SelectedAddress() const;
    // Shows the file and line whose code holds `address`, the cursor on that line.
    void ShowAddress(uint16_t address);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Load(std::shared_ptr<const TLoadedProgram> program);
    void ShowFile(int file);
    void Mark();
    // The code of `line` (or the code after it) in the file shown; the status says when none.
    std::optional<uint16_t> CodeFrom(int line);

    std::shared_ptr<const TLoadedProgram> shown_;
    std::vector<QString> texts_;  // each file's text as read when its program loaded
    QComboBox* files_;
    TSourceView* text_;
    QLabel* status_;
    int shownFile_ = -1;
    std::optional<int> pcLine_;
    std::vector<TBreakpointLine> breakpointLines_;
    std::optional<uint64_t> followedStop_;
};

}  // namespace hexmoor
