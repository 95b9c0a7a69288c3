// TDebugSession: the debugger beside the main window. It owns the debugger attached to the
// machine and the tool windows of the Debug menu, starts the debugger's runs through the
// main window's handlers, counts the machine's stops and says why the last one happened.
#pragma once

#include <QElapsedTimer>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "asm/SourceProgram.h"
#include "debug/Debugger.h"
#include "panel/DebugWindow.h"

namespace hexmoor {

class TCodeWindow;

enum class TDebugView : uint8_t { Memory, Code, Breakpoints, History, Source };
constexpr std::size_t kDebugViews = 5;

class TDebugSession {
public:
    using TAct = std::function<void(const std::function<void()>&)>;
    // `act` runs a handler as the main window runs a control's; `owner` owns the windows.
    TDebugSession(TMachine& machine, QWidget* owner, TAct act);
    ~TDebugSession();

    TDebugger& Debugger() { return debugger_; }
    // Opens the view's window, or raises it when open.
    TDebugWindow& Show(TDebugView view);
    // The view's window if it was ever opened.
    TDebugWindow* Window(TDebugView view) const { return windows_[std::size_t(view)]; }

    // Debug menu: each is a run (or a step), started only while the machine is stopped.
    bool CanRun() const;
    void StepOver();
    void StepOut();
    // To the line selected in the Code window; opens that window when nothing is selected.
    void RunToCursor();
    void RunTo(uint16_t address);

    // A program is being loaded from `path`: its symbols are read once the load is done.
    void ProgramChosen(const std::string& path) { chosenProgram_ = path; }
    // After a handler: reads the symbols of a program just loaded; returns what to warn about.
    // A program assembled from source brings its own symbols, and the breakpoints on its
    // lines follow their code when the same source is loaded again.
    std::vector<std::string> TakeLoadedProgram();
    // The program last chosen to load (File > Reload loads it again).
    const std::optional<std::string>& LastProgram() const { return lastProgram_; }
    // The assembly of the program loaded now, when it was loaded from source.
    std::shared_ptr<const TAssembly> SourceProgram() const { return program_; }

    // Shows the machine again in every open window: at each stop and after each change at
    // once, during runs at most a few times a second when untraced.
    void Refresh();
    // Why the machine stopped, while it stays stopped there: "breakpoint at $E00B (halt)".
    const TDebugStop* CurrentStop() const { return stop_ && Stopped() ? &*stop_ : nullptr; }
    bool Stopped() const;

private:
    TMachine& machine_;
    TDebugger debugger_;
    TDebugContext context_;
    QWidget* owner_;
    std::array<TDebugWindow*, kDebugViews> windows_{};
    TCodeWindow* code_ = nullptr;

    TSourceProgram source_;
    std::shared_ptr<const TAssembly> program_;  // a new one each load
    uint64_t seenAttempts_ = 0, seenLoads_ = 0;  // the assembler's, when the last load was taken
    std::optional<std::string> chosenProgram_, lastProgram_;
    std::optional<TDebugStop> stop_;
    bool stopNew_ = false;  // told by the debugger, not yet seen as a stop
    uint64_t stopCount_ = 0;
    // Where the machine stood at its last stop: a stop is a new one once an instruction ran
    // or PC moved (a reset, an edit), not for time passing in a WAI or a power-on.
    std::pair<uint64_t, uint16_t> lastStop_;
    QElapsedTimer sinceRunningRefresh_;
};

}  // namespace hexmoor
