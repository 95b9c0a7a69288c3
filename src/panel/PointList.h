// TPointList: a list of breakpoints or watchpoints, one row each, rebuilt only when a row
// changes in more than its hit count, so a cell the user is editing survives a run's
// refreshes. The row of the one that stopped the run is marked.
#pragma once

#include <QTreeWidget>

#include <optional>
#include <vector>

namespace hexmoor {

struct TPointRow {
    QStringList Cells;
    std::optional<bool> Enabled;  // the first column's check box; none: not switched here
    int64_t Id = -1;              // the debugger's number of the point; -1: not the debugger's
    bool operator==(const TPointRow&) const = default;
};

struct TPointColumn {
    QString Title;
    bool Number = false;    // right-aligned
    bool Editable = false;  // in place, in the debugger's rows
};

class TPointList : public QTreeWidget {
public:
    // The hits column changes in place, without a rebuild.
    TPointList(const std::vector<TPointColumn>& columns, int hitsColumn, QWidget* parent);

    void Show(const std::vector<TPointRow>& rows);
    // Marks the row of the point with that number (none: no row).
    void MarkPoint(std::optional<int64_t> id);
    // The marked row's colour, which the stop line shares.
    static QColor MarkColour() { return QColor(255, 236, 140); }
    // The debugger's number of an item's point (-1 for a row not the debugger's).
    static int64_t IdOf(const QTreeWidgetItem* item);
    // A cell's text the debugger refused stays as typed, in red, with the reason as its hint,
    // until the list is rebuilt. An empty reason shows it accepted.
    void ShowRefused(QTreeWidgetItem* item, int column, const QString& reason);

protected:
    void drawRow(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    void Rebuild(const std::vector<TPointRow>& rows);
    bool SameButHits(const std::vector<TPointRow>& rows) const;

    const int hitsColumn_;
    const std::vector<TPointColumn> columns_;
    std::vector<TPointRow> shown_;
    std::optional<int> marked_;
};

}  // namespace hexmoor
