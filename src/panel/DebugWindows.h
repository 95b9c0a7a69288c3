// TDebugWindows: the debug session beside the main window. It owns the session and the tool
// windows of the Debug menu, starts the session's runs through the main window's handlers
// and refreshes the windows at stops and, while running, a few times a second.
#pragma once

#include <QElapsedTimer>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "debug/DebugSession.h"
#include "panel/DebugWindow.h"

namespace hexmoor {

class TCodeWindow;
class TSourceWindow;

enum class TDebugView : uint8_t { Memory, Code, Breakpoints, History, Source, Watch };
constexpr std::size_t kDebugViews = 6;

class TDebugWindows {
public:
    using TAct = std::function<void(const std::function<void()>&)>;
    // `act` runs a handler as the main window runs a control's; `owner` owns the windows.
    TDebugWindows(TMachine& machine, QWidget* owner, TAct act);
    ~TDebugWindows();

    TDebugSession& Session() { return session_; }
    TDebugger& Debugger() { return session_.Debugger(); }
    // Opens the view's window, or raises it when open.
    TDebugWindow& Show(TDebugView view);
    // The view's window if it was ever opened.
    TDebugWindow* Window(TDebugView view) const { return windows_[std::size_t(view)]; }

    // Debug menu: each is a run (or a step), started only while the machine is stopped.
    bool CanRun() const;
    void StepOver();
    // Returns why it did not run, empty when it did.
    std::string StepOut();
    // To the line or address selected in the Source or Code window that has the focus (or
    // had it last); opens the Code window when nothing is selected.
    void RunToCursor();
    void RunTo(uint16_t address);

    // After a handler: takes the program just loaded; returns what to warn about.
    std::vector<std::string> TakeLoadedProgram();

    // Shows the machine again in every open window: at each stop and after each change at
    // once, during runs at most a few times a second when untraced.
    void Refresh();
    const TDebugStop* CurrentStop() const { return session_.CurrentStop(); }
    bool Stopped() const { return session_.Stopped(); }

private:
    TMachine& machine_;
    TDebugSession session_;
    TDebugContext context_;
    QWidget* owner_;
    std::array<TDebugWindow*, kDebugViews> windows_{};
    TCodeWindow* code_ = nullptr;
    TSourceWindow* source_ = nullptr;
    QWidget* runToFrom_ = nullptr;
    QElapsedTimer sinceRunningRefresh_;
};

}  // namespace hexmoor
