#include "panel/CallStackWindow.h"

#include <QHeaderView>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "debug/DebugSession.h"
#include "panel/CopyText.h"
#include "panel/FormStyle.h"

namespace hexmoor {

namespace {

enum TColumn { kNumber, kAddress, kLine, kEntered, kColumns };

QString Q(const std::string& text) { return QString::fromStdString(text); }

QStringList Cells(std::size_t number, const TStackFrame& frame) {
    QStringList cells(kColumns);
    cells[kNumber] = QString::number(number);
    cells[kAddress] = Q(frame.Where);
    cells[kLine] = Q(FrameLineText(frame));
    cells[kEntered] = Q(FrameEnteredText(frame));
    return cells;
}

}  // namespace

TCallStackWindow::TCallStackWindow(TDebugContext& context, QWidget* owner)
    : TDebugWindow(context, "Call Stack", owner), list_(new QTreeWidget(this)) {
    list_->setObjectName("CallStackList");
    list_->setFont(MonoFont());
    list_->setHeaderLabels({"#", "Address", "Line", "Entered"});
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    list_->setToolTip("Double-click a frame to show its code");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(list_);
    connect(list_, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) { ShowFrame(item); });
    AddCopyAction(list_, [this] { return SelectedText(); });
    list_->setContextMenuPolicy(Qt::ActionsContextMenu);
    resize(620, 260);
}

// Rebuilt only when a frame changed, so that the selection stays while nothing moves.
void TCallStackWindow::Refresh() {
    if (!isVisible()) return;
    TStackFrames frames = context_.Session.CallStack();
    const std::vector<std::string> lines = StackLines(frames);
    if (lines == StackLines(shown_) && list_->topLevelItemCount() == int(lines.size())) return;
    shown_ = std::move(frames);
    list_->clear();
    for (std::size_t number = 0; number < shown_.Frames.size(); ++number)
        list_->addTopLevelItem(new QTreeWidgetItem(Cells(number, shown_.Frames[number])));
    if (shown_.Lost != 0) {
        auto* lost = new QTreeWidgetItem(QStringList{Q(lines.back())});
        lost->setFirstColumnSpanned(true);
        list_->addTopLevelItem(lost);
    }
}

QString TCallStackWindow::SelectedText() const {
    const std::vector<std::string> lines = StackLines(shown_);
    QString text;
    for (int row = 0; row < list_->topLevelItemCount(); ++row)
        if (list_->topLevelItem(row)->isSelected()) text += Q(lines[std::size_t(row)]) + "\n";
    return text;
}

void TCallStackWindow::ShowFrame(QTreeWidgetItem* item) {
    const std::size_t row = std::size_t(list_->indexOfTopLevelItem(item));
    if (row < shown_.Frames.size()) context_.ShowCode(shown_.Frames[row].Address);
}

// Hidden, it let stops pass unshown.
void TCallStackWindow::showEvent(QShowEvent* event) {
    TDebugWindow::showEvent(event);
    Refresh();
}

}  // namespace hexmoor
