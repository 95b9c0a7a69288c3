// TCodeWindow: the code around PC, with breakpoints set and cleared by a click in the margin
// and a line chosen for Run to Cursor.
#pragma once

#include <optional>

#include "panel/DebugWindow.h"

namespace hexmoor {

class TCodeView;

class TCodeWindow : public TDebugWindow {
public:
    TCodeWindow(TDebugContext& context, QWidget* owner);

    // Follows PC after each stop: scrolls it into sight when it is out of it.
    void Refresh() override;
    // The line chosen by a click or the arrow keys: where Run to Cursor runs to.
    std::optional<uint16_t> SelectedAddress() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    TCodeView* view_;
    std::optional<uint64_t> shownStop_;  // the stop PC was last followed to
};

}  // namespace hexmoor
