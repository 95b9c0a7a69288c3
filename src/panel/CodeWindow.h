// TCodeWindow: the code around PC, with breakpoints set and cleared by a click in the margin,
// a line chosen for Run to Cursor, and a field to go to an address or a name.
#pragma once

#include <optional>

#include "panel/DebugWindow.h"

class QLabel;
class QLineEdit;

namespace hexmoor {

class TCodeView;

class TCodeWindow : public TDebugWindow {
public:
    TCodeWindow(TDebugContext& context, QWidget* owner);

    // Follows PC after each stop: scrolls it into sight when it is out of it.
    void Refresh() override;
    // The line chosen by a click or the arrow keys: where Run to Cursor runs to.
    std::optional<uint16_t> SelectedAddress() const;
    // Shows the code from `address` on and selects it.
    void ShowAddress(uint16_t address);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void GoTo();

    TCodeView* view_;
    QLineEdit* goTo_;
    QLabel* status_;
    std::optional<uint64_t> shownStop_;  // the stop PC was last followed to
};

}  // namespace hexmoor
