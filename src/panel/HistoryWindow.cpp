#include "panel/HistoryWindow.h"

#include <QAbstractListModel>
#include <QAction>
#include <QListView>
#include <QMessageBox>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>

#include "core/Hex.h"
#include "debug/Debugger.h"
#include "debug/History.h"
#include "panel/CopyText.h"
#include "panel/FormStyle.h"

namespace hexmoor {

namespace {

constexpr std::size_t kLines = 1000;
constexpr int kListingColumn = 22;  // the registers' column starts after the longest listings

QString LineText(const THistoryLine& line) {
    const QString address = QString::fromStdString(Hex4(line.Address) + "  ");
    if (line.Interrupt) return address + "-- interrupt --";
    QString text = address + QString::fromStdString(line.Text).leftJustified(kListingColumn) + "  ";
    if (const std::optional<TRegisterValues>& r = line.Registers)
        text += QString::fromStdString("A=" + Hex2(r->A) + " B=" + Hex2(r->B) + " X=" + Hex4(r->X) +
                                       " Y=" + Hex4(r->Y) + " SP=" + Hex4(r->SP) + " CCR=" + Hex2(r->Ccr));
    return text.trimmed();
}

}  // namespace

class THistoryModel : public QAbstractListModel {
public:
    using QAbstractListModel::QAbstractListModel;

    // A view keeps its place while the lines change in place (a full history during a run);
    // it starts afresh when their number changes.
    void Show(std::vector<THistoryLine> lines) {
        if (lines.size() == lines_.size()) {
            lines_ = std::move(lines);
            if (!lines_.empty()) emit dataChanged(index(0), index(rowCount() - 1));
            return;
        }
        beginResetModel();
        lines_ = std::move(lines);
        endResetModel();
    }

    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : int(lines_.size()); }

    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid() || index.row() >= rowCount()) return {};
        const THistoryLine& line = lines_[std::size_t(index.row())];
        switch (role) {
        case Qt::DisplayRole: return LineText(line);
        case Qt::ForegroundRole: return line.Interrupt ? QVariant(QColor(170, 0, 0)) : QVariant();
        default: return {};
        }
    }

    // The instruction number just after the line in `row` executed, with the newest line
    // that of `newest`; an interrupt's entry is not one, so its line gives the one before.
    uint64_t CountAfter(int row, uint64_t newest) const {
        const auto after = lines_.begin() + row + 1;
        const auto instructionsAfter = std::count_if(after, lines_.end(), [](const THistoryLine& line) { return !line.Interrupt; });
        return newest - uint64_t(instructionsAfter);
    }

private:
    std::vector<THistoryLine> lines_;
};

THistoryWindow::THistoryWindow(TDebugContext& context, QWidget* owner)
    : TDebugWindow(context, "History", owner), model_(new THistoryModel(this)), view_(new QListView(this)) {
    view_->setObjectName("HistoryView");
    view_->setModel(model_);
    view_->setFont(MonoFont());
    view_->setUniformItemSizes(true);  // a thousand lines, laid out without measuring each
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    AddCopyAction(view_, [this] { return SelectedRowsText(*view_); });
    auto* goBack = new QAction("Go Back Here", view_);
    goBack->setObjectName("HistoryGoBackAction");
    connect(goBack, &QAction::triggered, this, [this] { GoBackToSelected(); });
    view_->addAction(goBack);
    view_->setContextMenuPolicy(Qt::ActionsContextMenu);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view_);
    resize(560, 400);
}

void THistoryWindow::Refresh() {
    if (!isVisible()) return;
    const QScrollBar* bar = view_->verticalScrollBar();
    const bool atNewest = bar->value() == bar->maximum();
    const TSymbolNames names(context_.Debugger.Symbols);
    model_->Show(ExecutionHistory(context_.Machine, &names, kLines, &context_.Debugger.TracedPasses()));
    const uint64_t stop = context_.StopCount();
    if (atNewest || shownStop_ != stop) view_->scrollToBottom();
    shownStop_ = stop;
}

void THistoryWindow::GoBackToSelected() {
    const QModelIndex selected = view_->currentIndex();
    if (!selected.isValid() || !context_.Stopped()) return;
    const uint64_t count = model_->CountAfter(selected.row(), context_.Machine.InstructionCount);
    if (const std::string refused = context_.GoBackTo(count); !refused.empty())
        QMessageBox::information(this, "History", QString::fromStdString(refused));
}

void THistoryWindow::showEvent(QShowEvent* event) {
    TDebugWindow::showEvent(event);
    Refresh();
}

}  // namespace hexmoor
