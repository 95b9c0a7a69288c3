// TWatchWindow: the watch list, an expression a row (`A`, `[count]`, `[[ptr]]`, `X+3`) with
// its value in hexadecimal and decimal, shown at each stop and a few times a second while
// running; a value that changed since the last stop is bold and red, one that cannot be
// read says why. Expressions are added in the field below, removed with Delete or the
// button, and edited by a double-click.
#pragma once

#include <QString>

#include "panel/DebugWindow.h"

class QLineEdit;
class QTreeWidget;
class QTreeWidgetItem;

namespace hexmoor {

class TWatchWindow : public TDebugWindow {
public:
    TWatchWindow(TDebugContext& context, QWidget* owner);

    void Refresh() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void CreateWidgets();
    void ConnectWidgets();
    void AddTyped();
    void RemoveSelected();
    void Edited(QTreeWidgetItem* item, int column);

    QTreeWidget* list_ = nullptr;
    QLineEdit* typed_ = nullptr;
};

}  // namespace hexmoor
