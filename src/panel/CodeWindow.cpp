#include "panel/CodeWindow.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "debug/DebugSession.h"
#include "panel/CodeView.h"

namespace hexmoor {

TCodeWindow::TCodeWindow(TDebugContext& context, QWidget* owner)
    : TDebugWindow(context, "Code", owner),
      view_(new TCodeView(context, this)),
      goTo_(new QLineEdit(this)),
      status_(new QLabel(this)) {
    goTo_->setObjectName("CodeGoTo");
    goTo_->setPlaceholderText("Go to an address or a name");
    status_->setObjectName("CodeStatus");
    // The code starts at the window's top left; the field below it has the keyboard first.
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 4);
    layout->addWidget(view_);
    auto* bar = new QHBoxLayout;
    bar->setContentsMargins(4, 0, 4, 0);
    bar->addWidget(goTo_);
    bar->addWidget(status_, 1);
    layout->addLayout(bar);
    goTo_->setFocus();
    connect(goTo_, &QLineEdit::returnPressed, this, &TCodeWindow::GoTo);
    resize(440, 480);
}

void TCodeWindow::GoTo() {
    std::string error, note;
    const std::optional<uint16_t> address = context_.Session.ReadAddress(goTo_->text().toStdString(), error, &note);
    status_->setText(QString::fromStdString(address ? note : error));
    if (address) view_->GoTo(*address);
}

void TCodeWindow::Refresh() {
    if (!isVisible()) return;
    const uint64_t stop = context_.StopCount();
    view_->Refresh(shownStop_ != stop);
    shownStop_ = stop;
}

std::optional<uint16_t> TCodeWindow::SelectedAddress() const { return view_->SelectedAddress(); }

void TCodeWindow::ShowAddress(uint16_t address) { view_->GoTo(address); }

// Hidden, it let stops pass unshown.
void TCodeWindow::showEvent(QShowEvent* event) {
    TDebugWindow::showEvent(event);
    Refresh();
}

}  // namespace hexmoor
