#include "panel/WatchWindow.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QSignalBlocker>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "debug/DebugSession.h"
#include "panel/CopyText.h"
#include "panel/FormStyle.h"
#include "panel/MemoryView.h"

namespace hexmoor {

namespace {

enum TWatchColumn { kExpression, kValue, kDecimal, kColumns };

// Sets what differs only: a cell being edited keeps what the user typed.
void SetCell(QTreeWidgetItem* item, int column, const QString& text, const QColor& colour, bool bold, bool italic) {
    if (item->text(column) != text) item->setText(column, text);
    if (item->foreground(column).color() != colour) item->setForeground(column, colour);
    QFont font = item->font(column);
    if (font.bold() != bold || font.italic() != italic) {
        font.setBold(bold);
        font.setItalic(italic);
        item->setFont(column, font);
    }
}

}  // namespace

TWatchWindow::TWatchWindow(TDebugContext& context, QWidget* owner) : TDebugWindow(context, "Watch", owner) {
    CreateWidgets();
    ConnectWidgets();
    resize(420, 300);
}

void TWatchWindow::CreateWidgets() {
    setFont(SansFont());
    list_ = new QTreeWidget(this);
    list_->setObjectName("WatchList");
    list_->setFont(MonoFont());
    list_->setColumnCount(kColumns);
    list_->setHeaderLabels({"Expression", "Value", "Decimal"});
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);  // a double-click edits the expression
    list_->header()->setSectionResizeMode(QHeaderView::Interactive);
    list_->setColumnWidth(kExpression, 180);
    list_->setColumnWidth(kValue, 110);
    list_->setToolTip("Double-click a row to change its expression; Delete removes the selected rows");

    typed_ = new QLineEdit(this);
    typed_->setObjectName("WatchExpression");
    typed_->setFont(MonoFont());
    typed_->setPlaceholderText("A, [count], [[ptr]], X+3, SP < $0100");
    auto* add = new QPushButton("Add", this);
    add->setObjectName("AddWatch");
    add->setAutoDefault(false);
    auto* remove = new QPushButton("Remove", this);
    remove->setObjectName("RemoveWatch");
    remove->setAutoDefault(false);

    auto* row = new QHBoxLayout;
    row->addWidget(typed_, 1);
    row->addWidget(add);
    row->addWidget(remove);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_, 1);
    layout->addLayout(row);
}

void TWatchWindow::ConnectWidgets() {
    connect(typed_, &QLineEdit::returnPressed, this, &TWatchWindow::AddTyped);
    connect(findChild<QPushButton*>("AddWatch"), &QPushButton::clicked, this, &TWatchWindow::AddTyped);
    connect(findChild<QPushButton*>("RemoveWatch"), &QPushButton::clicked, this, &TWatchWindow::RemoveSelected);
    auto* remove = new QShortcut(QKeySequence::Delete, list_, nullptr, nullptr, Qt::WidgetShortcut);
    connect(remove, &QShortcut::activated, this, &TWatchWindow::RemoveSelected);
    connect(list_, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item) { list_->editItem(item, kExpression); });
    connect(list_, &QTreeWidget::itemChanged, this, &TWatchWindow::Edited);
    AddCopyAction(list_, [this] { return SelectedRowsText(*list_); });
    list_->setContextMenuPolicy(Qt::ActionsContextMenu);
}

void TWatchWindow::showEvent(QShowEvent* event) {
    TDebugWindow::showEvent(event);
    Refresh();
}

void TWatchWindow::AddTyped() {
    const QString text = typed_->text().trimmed();
    if (text.isEmpty()) return;
    context_.Session.AddWatch(text.toStdString());
    typed_->clear();
    Refresh();
    list_->scrollToItem(list_->topLevelItem(list_->topLevelItemCount() - 1));
}

// The rows go from the bottom up, so each index still names its row.
void TWatchWindow::RemoveSelected() {
    for (int row = list_->topLevelItemCount() - 1; row >= 0; --row)
        if (list_->topLevelItem(row)->isSelected()) context_.Session.Watches().Remove(std::size_t(row));
    Refresh();
}

void TWatchWindow::Edited(QTreeWidgetItem* item, int column) {
    if (column != kExpression) return;
    context_.Session.ReplaceWatch(std::size_t(list_->indexOfTopLevelItem(item)), item->text(kExpression).toStdString());
    Refresh();
}

void TWatchWindow::Refresh() {
    if (!isVisible()) return;
    context_.Session.UpdateWatches();
    const std::vector<TWatch>& watches = context_.Session.Watches().Watches();
    const QSignalBlocker quiet(list_);  // itemChanged tells of the user's edits only
    while (list_->topLevelItemCount() > int(watches.size())) delete list_->topLevelItem(list_->topLevelItemCount() - 1);
    while (list_->topLevelItemCount() < int(watches.size())) {
        auto* item = new QTreeWidgetItem(list_);
        item->setFlags(item->flags() | Qt::ItemIsEditable);
    }
    const QColor text = palette().color(QPalette::Text), changed(kChangedByteColour), unread(150, 80, 0);
    for (std::size_t row = 0; row < watches.size(); ++row) {
        const TWatch& watch = watches[row];
        QTreeWidgetItem* item = list_->topLevelItem(int(row));
        const bool read = watch.Now.Value.has_value();
        const QColor colour = !read ? unread : watch.Changed ? changed : text;
        SetCell(item, kExpression, QString::fromStdString(watch.Text), text, false, false);
        SetCell(item, kValue, QString::fromStdString(HexText(watch.Now)), colour, watch.Changed, !read);
        SetCell(item, kDecimal, QString::fromStdString(DecimalText(watch.Now)), colour, watch.Changed, false);
        item->setToolTip(kValue, read ? "" : QString::fromStdString(watch.Now.Error));
    }
}


}  // namespace hexmoor
