#include "panel/CodeWindow.h"

#include <QVBoxLayout>

#include "panel/CodeView.h"

namespace hexmoor {

TCodeWindow::TCodeWindow(TDebugContext& context, QWidget* owner)
    : TDebugWindow(context, "Code", owner), view_(new TCodeView(context, this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view_);
    resize(440, 480);
}

void TCodeWindow::Refresh() {
    if (!isVisible()) return;
    const uint64_t stop = context_.StopCount();
    view_->Refresh(shownStop_ != stop);
    shownStop_ = stop;
}

std::optional<uint16_t> TCodeWindow::SelectedAddress() const { return view_->SelectedAddress(); }

// Hidden, it let stops pass unshown.
void TCodeWindow::showEvent(QShowEvent* event) {
    TDebugWindow::showEvent(event);
    Refresh();
}

}  // namespace hexmoor
