#include "panel/DebugSession.h"

#include "debug/SymbolFiles.h"
#include "panel/BreakpointsWindow.h"
#include "panel/CodeWindow.h"
#include "panel/HistoryWindow.h"
#include "panel/MemoryWindow.h"
#include "panel/SourceWindow.h"

namespace hexmoor {

namespace {

// Untraced runs refresh the windows this often; traced ones once a frame.
constexpr int kRunningRefreshMs = 200;
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

TDebugSession::TDebugSession(TMachine& machine, QWidget* owner, TAct act)
    : machine_(machine),
      debugger_(machine),
      context_{machine, debugger_, std::move(act), [this](uint16_t address) { RunTo(address); },
               [this] { return Stopped(); }, [this] { return stopCount_; }, [this] { return CurrentStop(); }},
      owner_(owner),
      source_([&machine](const TAssembly& assembly) {
          // Warnings alone load the program; the Source window lists them.
          if (assembly.Failed())
              machine.FrontPanel.ShowMessage(TMessageKind::Warning, TMessageButtons::Ok, ErrorList(assembly));
      }),
      lastStop_{machine.InstructionCount, machine.RegisterPC} {
    machine_.Debugger = &debugger_;
    machine_.Assembler = &source_;
    debugger_.OnStop = [this](const TDebugStop& stop) {
        stop_ = stop;
        stopNew_ = true;
    };
    sinceRunningRefresh_.start();
}

TDebugSession::~TDebugSession() {
    for (TDebugWindow* window : windows_) delete window;
    machine_.Debugger = nullptr;
    machine_.Assembler = nullptr;
}

TDebugWindow& TDebugSession::Show(TDebugView view) {
    TDebugWindow*& window = windows_[std::size_t(view)];
    if (!window) {
        switch (view) {
        case TDebugView::Memory: window = new TMemoryWindow(context_, owner_); break;
        case TDebugView::Code: window = code_ = new TCodeWindow(context_, owner_); break;
        case TDebugView::Breakpoints: window = new TBreakpointsWindow(context_, owner_); break;
        case TDebugView::History: window = new THistoryWindow(context_, owner_); break;
        case TDebugView::Source:
            window = new TSourceWindow(context_, [this] { return SourceProgram(); }, owner_);
            break;
        }
    }
    window->show();
    window->raise();
    window->activateWindow();
    window->Refresh();
    return *window;
}

bool TDebugSession::Stopped() const {
    return !machine_.Panel.RunningLed.Lit && !machine_.Panel.StepLed.Lit;
}

bool TDebugSession::CanRun() const { return machine_.Panel.RunningLed.Enabled && Stopped(); }

void TDebugSession::StepOver() {
    if (!CanRun()) return;
    context_.Act([this] {
        if (debugger_.ArmStepOver()) machine_.RunClick();
        else machine_.StepLedClick();
    });
}

void TDebugSession::StepOut() {
    if (!CanRun()) return;
    context_.Act([this] {
        debugger_.ArmStepOut();
        machine_.RunClick();
    });
}

void TDebugSession::RunToCursor() {
    const std::optional<uint16_t> selected = code_ ? code_->SelectedAddress() : std::nullopt;
    if (selected && code_->isVisible()) RunTo(*selected);
    else Show(TDebugView::Code);
}

void TDebugSession::RunTo(uint16_t address) {
    if (!CanRun()) return;
    context_.Act([this, address] {
        debugger_.ArmRunTo(address);
        machine_.RunClick();
    });
}

std::vector<std::string> TDebugSession::TakeLoadedProgram() {
    if (!chosenProgram_ || !machine_.Panel.LoadedLed.Lit) return {};
    lastProgram_ = std::exchange(chosenProgram_, std::nullopt);
    const bool assembled = source_.Attempts() != seenAttempts_, loaded = source_.Loads() != seenLoads_;
    seenAttempts_ = source_.Attempts();
    seenLoads_ = source_.Loads();
    // A source with errors loaded nothing: the program before it stays, with its symbols.
    if (assembled && !loaded) return {};
    stop_.reset();  // the title says nothing more of where the program before it stopped
    if (assembled) {
        const TAssembly& now = *source_.Loaded();
        if (program_ && program_->Files.front() == now.Files.front()) MoveBreakpointsByLine(debugger_, *program_, now);
        program_ = std::make_shared<const TAssembly>(now);
        debugger_.Symbols = SymbolTableOf(now);
        return {};
    }
    program_.reset();
    TSymbolLoad symbols = LoadSymbolsFor(*lastProgram_);
    debugger_.Symbols = std::move(symbols.Table);
    return std::move(symbols.Messages);
}

void TDebugSession::Refresh() {
    const bool stopped = Stopped();
    if (stopped) {
        const std::pair<uint64_t, uint16_t> here{machine_.InstructionCount, machine_.RegisterPC};
        if (here != lastStop_) {
            lastStop_ = here;
            ++stopCount_;
            if (!stopNew_) stop_.reset();  // this stop is not the debugger's
        }
        stopNew_ = false;
    } else {
        if (!machine_.Panel.TraceMenu.Checked && sinceRunningRefresh_.elapsed() < kRunningRefreshMs) return;
        sinceRunningRefresh_.restart();
    }
    for (TDebugWindow* window : windows_)
        if (window) window->Refresh();
}

}  // namespace hexmoor
