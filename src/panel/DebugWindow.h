// What the debugger's tool windows share: the machine and the debugger they show, and the
// main window's hands for what a click in them starts (a change the user makes, a run).
// Each window is a top-level window of its own, so its keys reach it, not the terminal.
#pragma once

#include <QWidget>

#include <cstdint>
#include <functional>

namespace hexmoor {

class TDebugger;
class TDebugSession;
class TMachine;
struct TDebugStop;

struct TDebugContext {
    TMachine& Machine;
    TDebugSession& Session;  // reads addresses, adds points by text, knows the program
    TDebugger& Debugger;     // the session's, for its lists and marks
    // Runs a change the user asked for (a breakpoint, a byte, a register) as the main window
    // runs a control's handler, then shows the machine again in the panel and every window.
    std::function<void(const std::function<void()>&)> Act;
    // Run to Cursor: runs until PC reaches the address (the Running LED lit, Run stops it).
    std::function<void(uint16_t)> RunTo;
    // True when no run or step is going on: bytes and registers may be edited.
    std::function<bool()> Stopped;
    // Counts the stops of runs and steps; a window that compares with the last stop (the
    // changed bytes) takes its snapshot when this moves.
    std::function<uint64_t()> StopCount;
    // Why the machine stands where it is, while it stays stopped where a breakpoint, a
    // watchpoint or a Step Over, Step Out or Run to stopped it; nullptr otherwise.
    std::function<const TDebugStop*()> CurrentStop;
    // Shows the code at an address: on its line in the Source window when a source line has
    // it, else in the Code window.
    std::function<void(uint16_t)> ShowCode;
    // Goes back to the moment instruction number N had just executed; returns why not,
    // empty when it went.
    std::function<std::string(uint64_t)> GoBackTo;
};

class TDebugWindow : public QWidget {
public:
    TDebugWindow(TDebugContext& context, const QString& title, QWidget* owner)
        : QWidget(owner, Qt::Window), context_(context) {
        setWindowTitle(title);
        setAttribute(Qt::WA_DeleteOnClose, false);
    }

    // Shows the machine and the debugger as they are now. Called at every stop, after every
    // change the user makes, at most once a frame in traced runs and a few times a second in
    // untraced ones; cheap when the window is hidden.
    virtual void Refresh() = 0;

protected:
    TDebugContext& context_;
};

}  // namespace hexmoor
