// Copy as text for the debugger's views: the platform's Copy keys (Ctrl+C) while the view or
// a widget inside it has the focus, and a "Copy" entry for its context menu, both putting
// the text of the view's selection on the clipboard.
#pragma once

#include <QString>

#include <functional>

class QAbstractItemView;
class QAction;
class QWidget;

namespace hexmoor {

// Gives `view` a Copy action: its keys work only inside the view, so several windows (and a
// text field beside the view) each keep their own Ctrl+C. `selectionText` is asked at each
// copy; an empty text leaves the clipboard as it was. Returns the action, owned by the view:
// add it to a context menu the view builds, or set the view's context menu policy to
// Qt::ActionsContextMenu to show it alone. A view that has its own Ctrl+C (a text edit)
// keeps it; the action then serves its context menu.
QAction* AddCopyAction(QWidget* view, std::function<QString()> selectionText);

// The rows of an item view's selection (or its current row when nothing is selected), top
// down, a line each with the row's columns as shown, separated by tabs: the selection text
// of a list, tree or table view.
QString SelectedRowsText(const QAbstractItemView& view);

}  // namespace hexmoor
