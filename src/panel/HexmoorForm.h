// THexmoorForm: the main window, a thin view over the machine's panel state. Its controls
// forward clicks to the machine's handlers; it repaints what the machine says changed,
// answers the machine's questions with dialogs and waits in Qt's event loop.
#pragma once

#include <QMainWindow>
#include <QTimer>

#include <bitset>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/Machine.h"
#include "panel/PrinterStream.h"

class QAction;
class QEventLoop;
class QMenu;

namespace hexmoor {

class TAboutBox;
class TBreakPointForm;
class TDebugWindows;
struct TLayoutGeometry;
struct TMenuEntry;

class THexmoorForm : public QMainWindow, public TFrontPanel {
    Q_OBJECT
public:
    THexmoorForm();
    ~THexmoorForm() override;

    static constexpr const char* kTitle = "Hexmoor a 68HC11F1 Virtual Machine";

    TMachine& Machine() { return *machine_; }

    // The next file question is answered with `path` instead of a dialog: a program named
    // on the command line or dropped on the window loads as if chosen in the load dialog.
    void AnswerNextFileQuestion(const std::string& path) { scriptedFileName_ = path; }
    // Loads a program through the Load control once the window has been activated.
    void LoadAtStart(const std::string& path);

    // Where printer output and hard copies go as PDF files when no printer is installed.
    void SetPdfFolder(const QString& folder) { printer_.SetPdfFolder(folder); }

    // Answers every message dialog without showing it (tests); nullopt shows the dialog.
    using TMessageAnswerer = std::function<std::optional<TMessageResult>(TMessageKind, TMessageButtons,
                                                                         std::string_view)>;
    void SetMessageAnswerer(TMessageAnswerer answerer) { messageAnswerer_ = std::move(answerer); }

    // Paints now what changed since the last repaint.
    void FlushRepaint();

    // --- TFrontPanel ---------------------------------------------------------------------
    void PanelChanged(TPanelItem item) override;
    TMessageResult ShowMessage(TMessageKind kind, TMessageButtons buttons, std::string_view text) override;
    std::optional<std::string> AskFileName(const TFileQuestion& question) override;
    std::optional<std::string> AskBreakPointAddress(const std::string& current) override;
    void PumpEvents() override;
    TMessageResult WaitForIoPause() override;
    void WaitForEvents() override;
    void WaitUntil(std::chrono::steady_clock::time_point time) override;
    void Beep() override;
    void FocusTerminal() override;
    void HardCopy(const std::vector<std::string>& rows) override;
    std::string PrinterWrite(uint8_t byte) override;
    void PrinterClose() override;

    // The controls, for tests and for the screenshots.
    struct TControls;
    const TControls& Controls() const { return *controls_; }
    // A menu item by its name ("LoadMenu", "TraceMenu", ...).
    QAction* MenuAction(const QString& name) const;
    // The debugger and its tool windows.
    TDebugWindows& Debug() { return *debug_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // Runs a machine handler. When the outermost one returns, the panel is painted and a
    // close that waited for the handler to unwind goes ahead.
    template <class F>
    void Handle(F&& handler);
    void Handle(void (TMachine::*handler)()) { Handle([this, handler] { (machine_.get()->*handler)(); }); }

    void ActivateOnce();

    // Construction (FormWidgets.cpp, FormMenus.cpp).
    void CreateWidgets();
    void CreateCpuPanel();
    void CreateLedPanel();
    void CreateTracePanel();
    void CreateAnalogGroup();
    void CreatePortPanel();
    void CreateIoPanel();
    void CreateMenus();

    // Repainting from the machine's panel state (FormRefresh.cpp).
    void Refresh(TPanelItem item);
    void RefreshReadouts();
    void RefreshMemoryMap();
    void RefreshRunControls();
    void RefreshMenus();
    void RefreshPorts();
    void RefreshTypedInput();
    void RefreshIoPanel();
    void RefreshAnalogInputs();
    void RefreshHints();
    void ApplyLayout();
    void SetHint(QWidget* widget, const std::string& hint);
    const TLayoutGeometry& Geometry() const;

    // Menu handlers of the window itself.
    void ExitMenuClick() { close(); }
    void SetupMenuClick();
    void AboutMenuClick();
    void HardCopyDone(const TPrintResult& result, const QString& what);

    // The Debug menu and the debugger's part in the window (FormDebug.cpp).
    void MemoryMenuClick();
    void CodeMenuClick();
    void BreakpointsMenuClick();
    void HistoryMenuClick();
    void SourceMenuClick();
    void CallStackMenuClick();
    void WatchMenuClick();
    // File > Reload: the program last chosen, loaded again (a source assembled again).
    void ReloadMenuClick();
    bool CanReload() const;
    void RunMenuClick();
    void StepIntoMenuClick();
    void StepOverMenuClick();
    void StepOutMenuClick();
    void StepBackMenuClick();
    void StepBackOverMenuClick();
    void RunBackMenuClick();
    void RecordMenuClick();
    bool CanGoBack() const;
    bool Recording() const;
    // Why going back did not go, or what the recording has to say, in a message box.
    void TellGoingBack(const std::string& refused);
    void RunToCursorMenuClick();
    void ToggleBreakpointMenuClick();
    bool CanRunDebugger() const;
    void RememberSessionsMenuClick();
    bool RemembersSessions() const;
    void AfterHandlers();
    void RefreshDebugger();
    bool EditRegister(QObject* readout);
    std::optional<std::string> AskFileNameInDialog(const TFileQuestion& question);

    TPrinterStream printer_;
    std::unique_ptr<TMachine> machine_;
    std::unique_ptr<TControls> controls_;
    std::vector<std::pair<const TMenuEntry*, QAction*>> actions_;
    std::vector<std::pair<QMenu*, TMenuItem TPanelState::*>> topMenuStates_;
    TAboutBox* aboutBox_ = nullptr;
    TBreakPointForm* breakPointForm_ = nullptr;
    std::unique_ptr<TDebugWindows> debug_;

    std::bitset<std::size_t(TPanelItem::Count)> dirty_;
    QTimer repaintTimer_;
    int depth_ = 0;
    uint64_t stimuli_ = 0;  // handlers run and panel changes, which may end a wait
    bool closeAccepted_ = false;  // the user chose to close while a handler was running
    bool destroying_ = false;
    QEventLoop* ioPauseLoop_ = nullptr;
    std::optional<TMessageResult> ioPauseAnswer_;
    std::optional<std::string> scriptedFileName_;
    std::optional<std::string> loadAtStart_;
    TMessageAnswerer messageAnswerer_;
};

template <class F>
inline void THexmoorForm::Handle(F&& handler) {
    ++stimuli_;
    ++depth_;
    handler();
    if (--depth_ > 0) return;
    AfterHandlers();
    FlushRepaint();
    if (closeAccepted_) QTimer::singleShot(0, this, &QWidget::close);
}

}  // namespace hexmoor
