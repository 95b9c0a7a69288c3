#include "panel/DebugWindows.h"

#include <QApplication>

#include <algorithm>
#include <iterator>
#include <string_view>

#include "debug/SessionRecord.h"
#include "debug/SourceLines.h"
#include "panel/BreakpointsWindow.h"
#include "panel/CallStackWindow.h"
#include "panel/CodeWindow.h"
#include "panel/HistoryWindow.h"
#include "panel/MemoryWindow.h"
#include "panel/SourceWindow.h"
#include "panel/WatchWindow.h"

namespace hexmoor {

namespace {

// Untraced runs refresh the windows at most this often; traced ones once a frame. The
// refreshes come with the read-outs' (every 200 ms): a limit a little below that lets each
// of them through, so the windows (the watch list) change five times a second.
constexpr int kRunningRefreshMs = 150;
// The windows' names in remembered sessions, in the order of TDebugView.
const std::string_view kViewNames[] = {"Memory", "Code", "Breakpoints", "History", "Source", "CallStack", "Watch"};
static_assert(std::size(kViewNames) == kDebugViews, "a name for every view");
// A dialog of errors shows this many; the rest are counted.
constexpr std::size_t kErrorsShown = 20;

// One dialog for a source that does not assemble: every error with its file, line and column.
std::string ErrorList(const TAssembly& assembly) {
    std::string text = "Cannot load " + assembly.Files.front() + ": it does not assemble.\n";
    std::size_t errors = 0;
    for (const TAsmDiagnostic& diagnostic : assembly.Diagnostics) {
        if (diagnostic.Severity != TAsmSeverity::Error) continue;
        if (++errors <= kErrorsShown) text += "\n" + FormatDiagnostic(diagnostic);
    }
    if (errors > kErrorsShown) text += "\n... and " + std::to_string(errors - kErrorsShown) + " more errors";
    return text;
}

}  // namespace

TDebugWindows::TDebugWindows(TMachine& machine, QWidget* owner, TAct act)
    : machine_(machine),
      session_(machine,
               [&machine](const TAssembly& assembly) {
                   // Warnings alone load the program; the Source window lists them.
                   if (assembly.Failed())
                       machine.FrontPanel.ShowMessage(TMessageKind::Warning, TMessageButtons::Ok, ErrorList(assembly));
               }),
      context_{machine, session_, session_.Debugger(), std::move(act), [this](uint16_t address) { RunTo(address); },
               [this] { return Stopped(); }, [this] { return session_.StopCount(); },
               [this] { return CurrentStop(); }, [this](uint16_t address) { ShowCode(address); },
               [this](uint64_t count) { return GoBackTo(count); }},
      owner_(owner) {
    sinceRunningRefresh_.start();
    session_.OnTimelineMessage = [this](const std::string& text) { timelineMessage_ = text; };
    session_.Record(true);
    // Run to Cursor goes to the selection of whichever of Source and Code was used last.
    QObject::connect(qApp, &QApplication::focusChanged, owner, [this](QWidget*, QWidget* now) {
        if (!now) return;
        if (now->window() == source_ || now->window() == code_) runToFrom_ = now->window();
    });
}

TDebugWindows::~TDebugWindows() {
    for (TDebugWindow* window : windows_) delete window;
}

TDebugWindow& TDebugWindows::Show(TDebugView view) {
    TDebugWindow*& window = windows_[std::size_t(view)];
    if (!window) {
        switch (view) {
        case TDebugView::Memory: window = new TMemoryWindow(context_, owner_); break;
        case TDebugView::Code: window = code_ = new TCodeWindow(context_, owner_); break;
        case TDebugView::Breakpoints: window = new TBreakpointsWindow(context_, owner_); break;
        case TDebugView::History: window = new THistoryWindow(context_, owner_); break;
        case TDebugView::Source: window = source_ = new TSourceWindow(context_, owner_); break;
        case TDebugView::CallStack: window = new TCallStackWindow(context_, owner_); break;
        case TDebugView::Watch: window = new TWatchWindow(context_, owner_); break;
        }
    }
    window->show();
    window->raise();
    window->activateWindow();
    window->Refresh();
    return *window;
}

bool TDebugWindows::CanRun() const { return machine_.Panel.RunningLed.Enabled && Stopped(); }

void TDebugWindows::Run() {
    if (CanRun()) context_.Act([this] { machine_.RunClick(); });
}

void TDebugWindows::StepInto() {
    if (CanRun()) context_.Act([this] { machine_.StepLedClick(); });
}

void TDebugWindows::StepOver() {
    if (!CanRun()) return;
    context_.Act([this] {
        if (session_.ArmStepOver()) machine_.RunClick();
        else machine_.StepLedClick();
    });
}

std::string TDebugWindows::StepOut() {
    if (!CanRun()) return "";
    std::string refused;
    context_.Act([this, &refused] {
        refused = session_.ArmStepOut();
        if (refused.empty()) machine_.RunClick();
    });
    return refused;
}

bool TDebugWindows::CanGoBack() const { return session_.Stopped() && !machine_.Panel.RunningLed.Lit; }

std::string TDebugWindows::GoBack(const std::function<std::string()>& go) {
    if (!Recording()) return "Nothing is recorded to go back through: Debug > Record is off.";
    if (!CanGoBack()) return "";
    std::string refused;
    context_.Act([&] { refused = go(); });
    return refused;
}

std::string TDebugWindows::StepBack() {
    return GoBack([this] { return session_.StepBack(); });
}
std::string TDebugWindows::StepBackOver() {
    return GoBack([this] { return session_.StepBackOver(); });
}
std::string TDebugWindows::RunBack() {
    return GoBack([this] { return session_.RunBack(); });
}
std::string TDebugWindows::GoBackTo(uint64_t count) {
    return GoBack([this, count] { return session_.GoBackTo(count); });
}

void TDebugWindows::SetRecording(bool on) {
    if (on != Recording()) session_.Record(on);
}

bool TDebugWindows::Replaying() {
    const TTimeline* timeline = session_.Timeline();
    return timeline && timeline->InPast();
}

std::optional<uint16_t> TDebugWindows::CursorAddress() const {
    if (runToFrom_ == source_ && source_ && source_->isVisible()) return source_->SelectedAddress();
    if (code_ && code_->isVisible()) return code_->SelectedAddress();
    return std::nullopt;
}

void TDebugWindows::RunToCursor() {
    if (const std::optional<uint16_t> selected = CursorAddress()) RunTo(*selected);
    else Show(TDebugView::Code);
}

void TDebugWindows::ToggleBreakpointAtCursor() {
    if (const std::optional<uint16_t> selected = CursorAddress())
        context_.Act([this, address = *selected] { session_.ToggleBreakpointAt(address); });
    else
        Show(TDebugView::Code);
}

void TDebugWindows::RunTo(uint16_t address) {
    if (!CanRun()) return;
    context_.Act([this, address] {
        session_.ArmRunTo(address);
        machine_.RunClick();
    });
}

void TDebugWindows::ShowCode(uint16_t address) {
    if (LineAt(session_.Program()->Lines, address)) {
        Show(TDebugView::Source);
        source_->ShowAddress(address);
    } else {
        Show(TDebugView::Code);
        code_->ShowAddress(address);
    }
}

std::vector<std::string> TDebugWindows::TakeLoadedProgram() {
    if (!machine_.Panel.LoadedLed.Lit) return {};  // none loaded yet, or the load failed
    const std::string before = session_.Program()->Path;
    const TSavedSession leaving = CurrentSession();  // taken before its points go
    std::vector<std::string> messages = session_.TakeLoadedProgram().Messages;
    const std::string now = session_.Program()->Path;
    if (now == before || !saved_.Enabled()) return messages;
    if (!before.empty())
        if (std::string error = saved_.Save(before, leaving); !error.empty()) messages.push_back(error);
    RecallSession(now, messages);
    return messages;
}

std::string TDebugWindows::RememberSession() {
    const std::string program = session_.Program()->Path;
    if (program.empty() || !saved_.Enabled()) return "";
    return saved_.Save(program, CurrentSession());
}

TSavedSession TDebugWindows::CurrentSession() const {
    TSavedSession session;
    session.Points = RecordSession(session_);
    session.WatchExpressions = session_.Watches().Texts();
    for (std::size_t view = 0; view < kDebugViews; ++view)
        if (const TDebugWindow* window = windows_[view])
            session.Windows.push_back({std::string(kViewNames[view]), window->isVisible(), window->saveGeometry()});
    return session;
}

void TDebugWindows::RecallSession(const std::string& program, std::vector<std::string>& messages) {
    std::string problem;
    const std::optional<TSavedSession> saved = saved_.Load(program, problem);
    if (!problem.empty() && reported_.insert(problem).second) messages.push_back(problem);
    // The watch list is the program's own too: the one remembered, or none.
    session_.Watches().Clear();
    if (!saved) return;
    for (const std::string& expression : saved->WatchExpressions) session_.AddWatch(expression);
    std::vector<std::string> lost = RestoreSession(session_, saved->Points);
    if (!lost.empty()) {
        std::string text = "Some of the debug session remembered for " + program + " no longer reads:";
        for (const std::string& point : lost) text += "\n" + point;
        messages.push_back(text);
    }
    for (const TSavedSession::TWindowPlace& place : saved->Windows) {
        const auto named = std::ranges::find(kViewNames, place.View);
        if (named == std::end(kViewNames)) continue;
        const auto view = TDebugView(named - std::begin(kViewNames));
        if (!place.Open && !Window(view)) continue;
        TDebugWindow& window = place.Open ? Show(view) : *Window(view);
        window.restoreGeometry(place.Geometry);
    }
}

void TDebugWindows::Refresh() {
    if (Stopped()) {
        session_.TakeStop();
    } else {
        if (!machine_.Panel.TraceMenu.Checked && sinceRunningRefresh_.elapsed() < kRunningRefreshMs) return;
        sinceRunningRefresh_.restart();
    }
    for (TDebugWindow* window : windows_)
        if (window) window->Refresh();
}

}  // namespace hexmoor
