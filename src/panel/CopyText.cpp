#include "panel/CopyText.h"

#include <QAbstractItemView>
#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QItemSelectionModel>

#include <map>
#include <vector>

namespace hexmoor {

QAction* AddCopyAction(QWidget* view, std::function<QString()> selectionText) {
    auto* copy = new QAction("Copy", view);
    copy->setObjectName("CopyAction");
    copy->setShortcut(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    QObject::connect(copy, &QAction::triggered, view, [selectionText = std::move(selectionText)] {
        if (const QString text = selectionText(); !text.isEmpty()) QGuiApplication::clipboard()->setText(text);
    });
    view->addAction(copy);
    return copy;
}

QString SelectedRowsText(const QAbstractItemView& view) {
    const QAbstractItemModel* model = view.model();
    if (!model) return {};
    QModelIndexList cells = view.selectionModel() ? view.selectionModel()->selectedIndexes() : QModelIndexList{};
    if (cells.isEmpty() && view.currentIndex().isValid()) cells << view.currentIndex();
    // A row's cells in column order; the rows in the order shown (a tree's children after
    // their parent), whatever order they were selected in.
    std::map<std::vector<int>, std::map<int, QString>> rows;
    for (const QModelIndex& cell : cells) {
        std::vector<int> place;
        for (QModelIndex at = cell; at.isValid(); at = at.parent()) place.insert(place.begin(), at.row());
        rows[place][cell.column()] = cell.data(Qt::DisplayRole).toString();
    }
    QStringList lines;
    for (const auto& [row, columns] : rows) {
        QStringList texts;
        for (const auto& [column, text] : columns) texts << text;
        lines << texts.join('\t');
    }
    return lines.isEmpty() ? QString() : lines.join('\n') + '\n';
}

}  // namespace hexmoor
