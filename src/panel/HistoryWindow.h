// THistoryWindow: the last instructions executed, newest last, with the registers after
// each one that ran traced or stepped, and where interrupts were entered. Selected lines
// copy as text; "Go Back Here" takes the machine back to just after the selected line.
#pragma once

#include <optional>

#include "panel/DebugWindow.h"

class QListView;

namespace hexmoor {

class THistoryModel;

class THistoryWindow : public TDebugWindow {
public:
    THistoryWindow(TDebugContext& context, QWidget* owner);

    // Shows the newest line after each stop; between stops it stays where the user scrolled.
    void Refresh() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void GoBackToSelected();

    THistoryModel* model_;
    QListView* view_;
    std::optional<uint64_t> shownStop_;  // the stop the view last went to the newest line at
};

}  // namespace hexmoor
