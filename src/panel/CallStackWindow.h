// TCallStackWindow: the calls and interrupts the program is inside, one row a frame, newest
// first; a double-click shows a frame's code in the Source window, or in the Code window when
// no source line has it. Ctrl+C copies the selected frames as the runner prints them.
#pragma once

#include "debug/StackFrames.h"
#include "panel/DebugWindow.h"

class QTreeWidget;
class QTreeWidgetItem;

namespace hexmoor {

class TCallStackWindow : public TDebugWindow {
public:
    TCallStackWindow(TDebugContext& context, QWidget* owner);

    void Refresh() override;
    // The selected rows as the runner prints frames, a line each: what Copy takes.
    QString SelectedText() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void ShowFrame(QTreeWidgetItem* item);

    QTreeWidget* list_;
    TStackFrames shown_;
};

}  // namespace hexmoor
