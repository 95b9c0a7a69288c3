#include "panel/PointList.h"

#include <QHeaderView>
#include <QPainter>
#include <QSignalBlocker>
#include <QStyledItemDelegate>

#include <algorithm>

#include "panel/FormStyle.h"

namespace hexmoor {

namespace {

constexpr Qt::Alignment kNumberAlignment = Qt::AlignRight | Qt::AlignVCenter;

// Opens editors in the editable columns only: an item is editable in all its columns or none.
class TColumnEditing : public QStyledItemDelegate {
public:
    TColumnEditing(const std::vector<TPointColumn>& columns, QObject* parent)
        : QStyledItemDelegate(parent), columns_(columns) {}
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        if (!columns_.at(std::size_t(index.column())).Editable) return nullptr;
        return QStyledItemDelegate::createEditor(parent, option, index);
    }

private:
    const std::vector<TPointColumn>& columns_;
};

}  // namespace

TPointList::TPointList(const std::vector<TPointColumn>& columns, int hitsColumn, QWidget* parent)
    : QTreeWidget(parent), hitsColumn_(hitsColumn), columns_(columns) {
    setItemDelegate(new TColumnEditing(columns_, this));
    setFont(MonoFont());
    setColumnCount(int(columns_.size()));
    auto* titles = new QTreeWidgetItem;
    for (int column = 0; column < columnCount(); ++column) {
        titles->setText(column, columns_[std::size_t(column)].Title);
        if (columns_[std::size_t(column)].Number) titles->setTextAlignment(column, kNumberAlignment);
    }
    setHeaderItem(titles);
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(QHeaderView::ResizeToContents);
}

void TPointList::Show(const std::vector<TPointRow>& rows) {
    const QSignalBlocker quiet(this);  // itemChanged tells of the user's edits only
    if (!SameButHits(rows)) {
        Rebuild(rows);
    } else {
        for (int row = 0; row < int(rows.size()); ++row) {
            QTreeWidgetItem* item = topLevelItem(row);
            const QString& hits = rows[std::size_t(row)].Cells[hitsColumn_];
            if (item->text(hitsColumn_) != hits) item->setText(hitsColumn_, hits);
        }
    }
    shown_ = rows;
}

bool TPointList::SameButHits(const std::vector<TPointRow>& rows) const {
    return std::equal(rows.begin(), rows.end(), shown_.begin(), shown_.end(), [this](TPointRow a, TPointRow b) {
        a.Cells[hitsColumn_].clear();
        b.Cells[hitsColumn_].clear();
        return a == b;
    });
}

// The same row stays selected, so Remove can be clicked again and again.
void TPointList::Rebuild(const std::vector<TPointRow>& rows) {
    const int selected = currentItem() && currentItem()->isSelected() ? indexOfTopLevelItem(currentItem()) : -1;
    clear();
    for (const TPointRow& row : rows) {
        auto* item = new QTreeWidgetItem(this, row.Cells);
        item->setData(0, Qt::UserRole, qint64(row.Id));
        Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
        if (row.Enabled) {
            flags |= Qt::ItemIsUserCheckable;
            item->setCheckState(0, *row.Enabled ? Qt::Checked : Qt::Unchecked);
        }
        if (row.Id >= 0 && std::ranges::any_of(columns_, &TPointColumn::Editable)) flags |= Qt::ItemIsEditable;
        item->setFlags(flags);
        for (int column = 0; column < columnCount(); ++column)
            if (columns_[std::size_t(column)].Number) item->setTextAlignment(column, kNumberAlignment);
        if (row.Id < 0)
            for (int column = 0; column < columnCount(); ++column) item->setForeground(column, Qt::darkGray);
    }
    if (selected >= 0 && selected < topLevelItemCount()) setCurrentItem(topLevelItem(selected));
}

int64_t TPointList::IdOf(const QTreeWidgetItem* item) { return item->data(0, Qt::UserRole).toLongLong(); }

void TPointList::ShowRefused(QTreeWidgetItem* item, int column, const QString& reason) {
    const QSignalBlocker quiet(this);
    item->setData(column, Qt::ForegroundRole, reason.isEmpty() ? QVariant() : QVariant(QBrush(Qt::red)));
    item->setToolTip(column, reason);
}

void TPointList::MarkPoint(std::optional<int64_t> id) {
    std::optional<int> row;
    for (int i = 0; id && i < topLevelItemCount(); ++i)
        if (IdOf(topLevelItem(i)) == *id) row = i;
    if (row == marked_) return;
    marked_ = row;
    viewport()->update();
}

// Painted under the row rather than set as the items' colour: a change of an item's data
// would reset the text of a cell being edited.
void TPointList::drawRow(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    if (!index.parent().isValid() && index.row() == marked_) painter->fillRect(option.rect, MarkColour());
    QTreeWidget::drawRow(painter, option, index);
}

}  // namespace hexmoor
