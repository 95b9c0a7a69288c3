#include "panel/BreakpointsWindow.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QShortcut>
#include <QTimer>
#include <QVBoxLayout>

#include "debug/DebugSession.h"
#include "panel/BreakpointRows.h"
#include "panel/FormStyle.h"
#include "panel/PointList.h"

namespace hexmoor {

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

// "Stop at hit": a count from 1.
std::optional<uint64_t> ReadCount(const QString& text) {
    bool ok = false;
    const qulonglong count = text.trimmed().toULongLong(&ok);
    if (!ok || count == 0) return std::nullopt;
    return count;
}

// A watchpoint's value, $hex or decimal; empty stands for any byte. False when it is no byte.
bool ReadByte(const QString& text, std::optional<uint8_t>& value) {
    const QString digits = text.trimmed();
    value.reset();
    if (digits.isEmpty()) return true;
    bool ok = false;
    const uint number = digits.startsWith('$') ? digits.mid(1).toUInt(&ok, 16) : digits.toUInt(&ok, 10);
    if (!ok || number > 0xFF) return false;
    value = uint8_t(number);
    return true;
}

QLineEdit* Field(QWidget* parent, const char* name, const QString& hint, int characters) {
    auto* field = new QLineEdit(parent);
    field->setObjectName(name);
    field->setFont(MonoFont());
    field->setPlaceholderText(hint);
    field->setMinimumWidth(field->fontMetrics().horizontalAdvance('0') * characters + 12);
    return field;
}

QPushButton* Button(QWidget* parent, const char* name, const QString& text) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

struct TLabelled {
    const char* Label;
    QWidget* Field;
    int Stretch = 0;
};

// A row of labelled fields and a button.
QHBoxLayout* FieldRow(QWidget* parent, std::initializer_list<TLabelled> fields, QPushButton* button) {
    auto* row = new QHBoxLayout;
    for (const TLabelled& field : fields) {
        row->addWidget(new QLabel(field.Label, parent));
        row->addWidget(field.Field, field.Stretch);
    }
    row->addWidget(button);
    return row;
}

QLabel* Caption(QWidget* parent, const QString& text) {
    auto* caption = new QLabel(text, parent);
    QFont font = caption->font();
    font.setBold(true);
    caption->setFont(font);
    return caption;
}

}  // namespace

TBreakpointsWindow::TBreakpointsWindow(TDebugContext& context, QWidget* owner)
    : TDebugWindow(context, "Breakpoints", owner) {
    CreateWidgets();
    ConnectWidgets();
    resize(660, 480);
}

void TBreakpointsWindow::CreateWidgets() {
    setFont(SansFont());
    auto* layout = new QVBoxLayout(this);

    stopLine_ = new QLabel(this);
    stopLine_->setObjectName("StopLine");
    QFont bold = MonoFont();
    bold.setBold(true);
    stopLine_->setFont(bold);
    stopLine_->setMinimumHeight(stopLine_->fontMetrics().height() + 6);
    stopLine_->setMargin(2);
    QPalette marked = stopLine_->palette();
    marked.setColor(QPalette::Window, TPointList::MarkColour());
    stopLine_->setPalette(marked);
    layout->addWidget(stopLine_);

    breakpoints_ = new TPointList(
        {{"Address"}, {"Where"}, {"Condition", false, true}, {"Hits", true}, {"Stop at hit", true, true}}, kBpHits,
        this);
    breakpoints_->setObjectName("BreakpointList");
    breakpoints_->header()->setSectionResizeMode(kBpCondition, QHeaderView::Stretch);
    breakpoints_->setToolTip("Double-click a condition or a stop-at count to change it");
    breakpointWhere_ = Field(this, "BreakpointWhere", "loop, $E00B, table+4", 14);
    condition_ = Field(this, "BreakpointCondition", "A == 4 && [count] > 2", 20);
    stopAtHit_ = Field(this, "BreakpointStopAtHit", "", 5);
    stopAtHit_->setText("1");
    stopAtHit_->setMaximumWidth(stopAtHit_->minimumWidth());
    layout->addWidget(Caption(this, "Breakpoints"));
    layout->addWidget(breakpoints_, 3);
    layout->addLayout(
        FieldRow(this, {{"Where", breakpointWhere_, 1}, {"Condition", condition_, 2}, {"Stop at hit", stopAtHit_}},
                 Button(this, "AddBreakpoint", "Add")));

    watchpoints_ = new TPointList({{"Range"}, {"Access"}, {"Value"}, {"Hits", true}}, kWpHits, this);
    watchpoints_->setObjectName("WatchpointList");
    watchpoints_->header()->setSectionResizeMode(kWpRange, QHeaderView::Stretch);
    watchWhere_ = Field(this, "WatchWhere", "count, $1000-$103F, SP < $0100", 18);
    access_ = new QComboBox(this);
    access_->setObjectName("WatchAccess");
    access_->setToolTip("Changes: stop after an instruction that changed the value of Where, an expression\n"
                        "such as X, [[ptr]] or SP < $0100 (true to false counts too)");
    for (const TAccessName& name : kAccessNames) access_->addItem(name.Choice, int(name.Access));
    value_ = Field(this, "WatchValue", "any", 5);
    value_->setToolTip("Stop only at writes of this byte ($hex or decimal); empty: any access");
    layout->addWidget(Caption(this, "Watchpoints"));
    layout->addWidget(watchpoints_, 2);
    layout->addLayout(FieldRow(this, {{"Where", watchWhere_, 1}, {"Access", access_}, {"Value", value_}},
                               Button(this, "AddWatchpoint", "Add")));

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(Button(this, "RemoveSelected", "Remove"));
    message_ = new QLabel(this);
    message_->setObjectName("DebugMessage");
    message_->setFont(MonoFont());
    message_->setWordWrap(true);
    message_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    bottom->addWidget(message_, 1);
    layout->addLayout(bottom);
}

void TBreakpointsWindow::ConnectWidgets() {
    auto button = [this](const char* name) { return findChild<QPushButton*>(name); };
    connect(button("AddBreakpoint"), &QPushButton::clicked, this, &TBreakpointsWindow::AddBreakpoint);
    for (QLineEdit* field : {breakpointWhere_, condition_, stopAtHit_})
        connect(field, &QLineEdit::returnPressed, this, &TBreakpointsWindow::AddBreakpoint);
    connect(button("AddWatchpoint"), &QPushButton::clicked, this, &TBreakpointsWindow::AddWatchpoint);
    for (QLineEdit* field : {watchWhere_, value_})
        connect(field, &QLineEdit::returnPressed, this, &TBreakpointsWindow::AddWatchpoint);
    connect(button("RemoveSelected"), &QPushButton::clicked, this, &TBreakpointsWindow::RemoveSelected);

    for (TPointList* list : {breakpoints_, watchpoints_}) {
        TPointList* other = list == breakpoints_ ? watchpoints_ : breakpoints_;
        // One row is selected in both lists together: the one Remove removes.
        connect(list, &QTreeWidget::itemSelectionChanged, this, [list, other] {
            if (!list->selectedItems().isEmpty()) other->clearSelection();
        });
        connect(list, &QTreeWidget::itemChanged, this,
                [this, list](QTreeWidgetItem* item, int column) { Edited(list == watchpoints_, item, column); });
        auto* remove = new QShortcut(QKeySequence::Delete, list, nullptr, nullptr, Qt::WidgetShortcut);
        connect(remove, &QShortcut::activated, this, &TBreakpointsWindow::RemoveSelected);
    }
}

void TBreakpointsWindow::showEvent(QShowEvent* event) {
    TDebugWindow::showEvent(event);
    Refresh();
}

// --- Changes -----------------------------------------------------------------------------

void TBreakpointsWindow::Say(const QString& message, bool error) {
    QPalette palette = message_->palette();
    palette.setColor(QPalette::WindowText, error ? Qt::red : palette.color(QPalette::Text));
    message_->setPalette(palette);
    message_->setText(message);
}

// The typed text stays in the fields when it is refused, to be put right.
void TBreakpointsWindow::AddBreakpoint() {
    TDebugSession& session = context_.Session;
    const std::string where = breakpointWhere_->text().toStdString();
    std::string error, note;
    const std::optional<uint16_t> address = session.ReadAddress(where, error, &note);
    if (!address) return Say("Where: " + Q(error), true);
    const std::optional<uint64_t> stopAtHit = ReadCount(stopAtHit_->text());
    if (!stopAtHit) return Say("Stop at hit: '" + stopAtHit_->text() + "' is no count of 1 or more", true);
    context_.Act([&] { error = session.AddBreakpoint(where, condition_->text().toStdString(), *stopAtHit); });
    if (!error.empty()) return Say("Condition: " + Q(error), true);
    Say("Breakpoint at " + Q(session.Debugger().Describe(*address)) + (note.empty() ? "" : " (" + Q(note) + ")"), false);
    breakpointWhere_->clear();
    condition_->clear();
    stopAtHit_->setText("1");
}

void TBreakpointsWindow::AddWatchpoint() {
    std::optional<uint8_t> value;
    if (!ReadByte(value_->text(), value))
        return Say("Value: '" + value_->text() + "' is no byte ($00 to $FF, or 0 to 255)", true);
    TDebugSession& session = context_.Session;
    const auto access = TWatchAccess(access_->currentData().toInt());
    std::string error, note;
    context_.Act([&] { error = session.AddWatchpoint(watchWhere_->text().toStdString(), access, value, &note); });
    if (!error.empty()) return Say((value && access == TWatchAccess::Change ? "Value: " : "Where: ") + Q(error), true);
    Say("Watching " + RangeText(session.Debugger(), session.Debugger().Watchpoints().back()) +
            (access == TWatchAccess::Change ? " for a change" : "") + (note.empty() ? "" : " (" + Q(note) + ")"),
        false);
    watchWhere_->clear();
    value_->clear();
}

void TBreakpointsWindow::RemoveSelected() {
    for (TPointList* list : {breakpoints_, watchpoints_}) {
        const QList<QTreeWidgetItem*> selected = list->selectedItems();
        if (selected.isEmpty()) continue;
        const bool watchpoint = list == watchpoints_;
        const int64_t id = TPointList::IdOf(selected.front());
        if (id < 0) return Say("The Breakpoint menu's breakpoint is set and cleared from the Breakpoint menu", true);
        const QString removed = selected.front()->text(0);
        context_.Act([&] {
            if (watchpoint) context_.Debugger.RemoveWatchpoint(TPointId(id));
            else context_.Debugger.RemoveBreakpoint(TPointId(id));
        });
        return Say("Removed " + removed, false);
    }
    Say("Select a breakpoint or a watchpoint to remove", true);
}

void TBreakpointsWindow::Edited(bool watchpoints, QTreeWidgetItem* item, int column) {
    TDebugger& debugger = context_.Debugger;
    const int64_t id = TPointList::IdOf(item);
    if (id < 0) return;
    const QScopedValueRollback inSignal(inListSignal_, true);
    if (column == 0) {
        const bool enabled = item->checkState(0) == Qt::Checked;
        context_.Act([&] {
            if (watchpoints) debugger.EnableWatchpoint(TPointId(id), enabled);
            else debugger.EnableBreakpoint(TPointId(id), enabled);
        });
        return;
    }
    if (watchpoints) return;  // only a breakpoint's condition and count are edited in place
    const TBreakpoint* found = debugger.FindBreakpoint(TPointId(id));
    if (!found) return;
    const TBreakpoint& breakpoint = *found;
    std::string condition = breakpoint.ConditionText;
    uint64_t stopAtHit = breakpoint.StopAtHit;
    QString error;
    if (column == kBpCondition) {
        condition = item->text(column).toStdString();
    } else if (std::optional<uint64_t> count = ReadCount(item->text(column))) {
        stopAtHit = *count;
    } else {
        error = "Stop at hit: '" + item->text(column) + "' is no count of 1 or more";
    }
    if (error.isEmpty()) {
        std::string refused;
        context_.Act([&] { refused = debugger.SetCondition(TPointId(id), condition, stopAtHit); });
        if (!refused.empty()) error = "Condition: " + Q(refused);
    }
    breakpoints_->ShowRefused(item, column, error);
    Say(error.isEmpty() ? "Breakpoint at " + item->text(kBpAddress) + " changed" : error, !error.isEmpty());
}

// --- Showing -----------------------------------------------------------------------------

void TBreakpointsWindow::Refresh() {
    if (!isVisible()) return;
    if (inListSignal_) {
        QTimer::singleShot(0, this, &TBreakpointsWindow::Refresh);
        return;
    }
    const int32_t menuAddress = context_.Machine.BreakPointAddress;
    breakpoints_->Show(BreakpointRows(context_.Debugger, menuAddress));
    watchpoints_->Show(WatchpointRows(context_.Debugger));
    ShowStop();
}

// The stop line, and the mark on the row of the breakpoint or watchpoint that made the stop.
void TBreakpointsWindow::ShowStop() {
    const TDebugStop* stop = context_.CurrentStop();
    const bool shown = stop != nullptr;
    stopLine_->setText(shown ? Q("Stopped: " + stop->Text) : "");
    stopLine_->setAutoFillBackground(shown);
    std::optional<int64_t> breakpoint, watchpoint;
    if (shown && stop->Kind == TDebugStop::Breakpoint) breakpoint = stop->Id;
    if (shown && (stop->Kind == TDebugStop::Watchpoint || stop->Kind == TDebugStop::Change)) watchpoint = stop->Id;
    breakpoints_->MarkPoint(breakpoint);
    watchpoints_->MarkPoint(watchpoint);
}

}  // namespace hexmoor
