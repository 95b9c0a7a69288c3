// TBreakpointsWindow: the debugger's breakpoints and watchpoints with their hit counts, the
// Breakpoint menu's own address among them, fields to add more, and why the last run stopped.
#pragma once

#include <optional>
#include <string>

#include "panel/DebugWindow.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QTreeWidgetItem;

namespace hexmoor {

class TPointList;

class TBreakpointsWindow : public TDebugWindow {
public:
    explicit TBreakpointsWindow(TDebugContext& context, QWidget* owner = nullptr);

    void Refresh() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void CreateWidgets();
    void ConnectWidgets();

    void AddBreakpoint();
    void AddWatchpoint();
    void RemoveSelected();
    // A check box switched or a cell edited in place.
    void Edited(bool watchpoints, QTreeWidgetItem* item, int column);
    void Say(const QString& message, bool error);

    // The stop line and the marked row; the debugger's breakpoints start at that row.
    void ShowStop();

    QLabel* stopLine_ = nullptr;
    TPointList* breakpoints_ = nullptr;
    QLineEdit* breakpointWhere_ = nullptr;
    QLineEdit* condition_ = nullptr;
    QLineEdit* stopAtHit_ = nullptr;
    TPointList* watchpoints_ = nullptr;
    QLineEdit* watchWhere_ = nullptr;
    QComboBox* access_ = nullptr;
    QLineEdit* value_ = nullptr;
    QLabel* message_ = nullptr;

    // A refresh asked for from inside a list's signal waits: rebuilding the list would delete
    // the item the signal is about.
    bool inListSignal_ = false;
};

}  // namespace hexmoor
