#include "panel/DebugWindows.h"

#include <QApplication>

#include "panel/BreakpointsWindow.h"
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
               [this] { return CurrentStop(); }},
      owner_(owner) {
    sinceRunningRefresh_.start();
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

void TDebugWindows::RunToCursor() {
    std::optional<uint16_t> selected;
    if (runToFrom_ == source_ && source_ && source_->isVisible()) selected = source_->SelectedAddress();
    else if (code_ && code_->isVisible()) selected = code_->SelectedAddress();
    if (selected) RunTo(*selected);
    else Show(TDebugView::Code);
}

void TDebugWindows::RunTo(uint16_t address) {
    if (!CanRun()) return;
    context_.Act([this, address] {
        session_.ArmRunTo(address);
        machine_.RunClick();
    });
}

std::vector<std::string> TDebugWindows::TakeLoadedProgram() {
    if (!machine_.Panel.LoadedLed.Lit) return {};  // none loaded yet, or the load failed
    return session_.TakeLoadedProgram().Messages;
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
