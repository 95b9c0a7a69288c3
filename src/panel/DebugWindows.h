// TDebugWindows: the debug session beside the main window. It owns the session and the tool
// windows of the Debug menu, starts the session's runs through the main window's handlers
// and refreshes the windows at stops and, while running, a few times a second.
#pragma once

#include <QElapsedTimer>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "debug/DebugSession.h"
#include "panel/DebugWindow.h"
#include "panel/SavedSessions.h"

namespace hexmoor {

class TCodeWindow;
class TSourceWindow;

enum class TDebugView : uint8_t { Memory, Code, Breakpoints, History, Source, CallStack, Watch };
constexpr std::size_t kDebugViews = 7;

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
    // As the Run and Step controls do: a run (traced when Trace is checked), one instruction.
    void Run();
    void StepInto();
    void StepOver();
    // Returns why it did not run, empty when it did.
    std::string StepOut();
    // To the line or address selected in the Source or Code window that has the focus (or
    // had it last); opens the Code window when nothing is selected.
    void RunToCursor();
    void RunTo(uint16_t address);
    // The breakpoint at that selection on or off, as a click in the margin; opens the Code
    // window when nothing is selected. Also while running.
    void ToggleBreakpointAtCursor();
    // Opens the Source window on the address's line, or the Code window when none has it.
    void ShowCode(uint16_t address);

    // Going back in time, while the machine is stopped: each returns why it did not go,
    // empty when it went. A run or step from the past replays what was recorded.
    bool CanGoBack() const;
    std::string StepBack();
    std::string StepBackOver();
    std::string RunBack();
    // To the moment instruction number `count` had just executed (a History line's).
    std::string GoBackTo(uint64_t count);
    // Recording for going back: on from the start; each load starts it afresh.
    bool Recording() { return session_.Timeline() != nullptr; }
    void SetRecording(bool on);
    // The machine stands before the end of the recording.
    bool Replaying();
    // What the recording has to tell the user (its future cut off, a replay that could not
    // go on), taken once.
    std::optional<std::string> TakeTimelineMessage() { return std::exchange(timelineMessage_, std::nullopt); }

    // After a handler: takes the program just loaded; returns what to warn about. Another
    // program's load remembers the session of the one before and brings back the new one's.
    std::vector<std::string> TakeLoadedProgram();
    // Remembers the session of the program loaded now (the window is closing); returns what
    // went wrong, empty when nothing did.
    std::string RememberSession();
    bool RemembersSessions() const { return saved_.Enabled(); }
    void SetRemembersSessions(bool remember) { saved_.SetEnabled(remember); }

    // Shows the machine again in every open window: at each stop and after each change at
    // once, during runs at most a few times a second when untraced.
    void Refresh();
    const TDebugStop* CurrentStop() const { return session_.CurrentStop(); }
    bool Stopped() const { return session_.Stopped(); }

private:
    TSavedSession CurrentSession() const;
    // Brings back the program's remembered session; what to warn about goes to `messages`.
    void RecallSession(const std::string& program, std::vector<std::string>& messages);
    // The line or address selected in the Source or Code window used last.
    std::optional<uint16_t> CursorAddress() const;

    TMachine& machine_;
    TDebugSession session_;
    TDebugContext context_;
    QWidget* owner_;
    std::array<TDebugWindow*, kDebugViews> windows_{};
    TCodeWindow* code_ = nullptr;
    TSourceWindow* source_ = nullptr;
    QWidget* runToFrom_ = nullptr;
    QElapsedTimer sinceRunningRefresh_;
    TSavedSessions saved_;
    std::set<std::string> reported_;  // session files already said to be unusable
    std::optional<std::string> timelineMessage_;
    std::string GoBack(const std::function<std::string()>& go);
};

}  // namespace hexmoor
