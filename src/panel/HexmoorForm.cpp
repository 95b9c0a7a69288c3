// The main window: construction, the machine handlers' guard, coalesced repainting and
// the window's events (activation, closing, keys, dropped files).
#include "panel/HexmoorForm.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMimeData>
#include <QStringDecoder>

#include "io/Lumocrt/Windows1252.h"
#include "panel/AboutBox.h"
#include "panel/BreakPointForm.h"
#include "panel/DebugWindows.h"
#include "panel/FormControls.h"
#include "panel/widgets/Lumocrt.h"

namespace hexmoor {

namespace {

constexpr int kFrameMilliseconds = 16;

}  // namespace

THexmoorForm::THexmoorForm()
    : machine_(std::make_unique<TMachine>(*this)), controls_(std::make_unique<TControls>()) {
    setWindowTitle(kTitle);
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setAcceptDrops(true);
    debug_ = std::make_unique<TDebugWindows>(*machine_, this,
                                             [this](const std::function<void()>& handler) { Handle(handler); });
    CreateWidgets();
    CreateMenus();
    aboutBox_ = new TAboutBox(this);
    breakPointForm_ = new TBreakPointForm(this);
    repaintTimer_.setSingleShot(true);
    repaintTimer_.setInterval(kFrameMilliseconds);
    connect(&repaintTimer_, &QTimer::timeout, this, &THexmoorForm::FlushRepaint);
    for (int item = 0; item < int(TPanelItem::Count); ++item) Refresh(TPanelItem(item));
    qApp->installEventFilter(this);
}

// The log file and the printer's document are closed; where a PDF went is then told on
// the standard error, as the window is going.
THexmoorForm::~THexmoorForm() {
    qApp->removeEventFilter(this);
    destroying_ = true;
    machine_->FormDestroy();
}

void THexmoorForm::LoadAtStart(const std::string& path) { loadAtStart_ = path; }

// --- Repainting ------------------------------------------------------------------------

void THexmoorForm::PanelChanged(TPanelItem item) {
    ++stimuli_;
    dirty_.set(std::size_t(item));
    if (!repaintTimer_.isActive()) repaintTimer_.start();
}

void THexmoorForm::FlushRepaint() {
    repaintTimer_.stop();
    const auto dirty = std::exchange(dirty_, {});
    for (int item = 0; item < int(TPanelItem::Count); ++item)
        if (dirty.test(std::size_t(item))) Refresh(TPanelItem(item));
    RefreshDebugger();
}

// --- Window events ---------------------------------------------------------------------

// The first activation resets the machine, and then loads the program named at start,
// whichever comes first: the window shown or the window activated.
void THexmoorForm::ActivateOnce() {
    if (machine_->Panel.Activated) return;
    Handle(&TMachine::FormActivate);
    if (!loadAtStart_) return;
    AnswerNextFileQuestion(*std::exchange(loadAtStart_, std::nullopt));
    Handle(&TMachine::LoadClick);
    scriptedFileName_.reset();
}

void THexmoorForm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    QTimer::singleShot(0, this, [this] {
        if (machine_->Panel.Activated) return;
        activateWindow();  // the keyboard and the menus' mnemonics are the window's at once
        ActivateOnce();
    });
}

void THexmoorForm::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && !machine_->Panel.Activated)
        QTimer::singleShot(0, this, [this] { ActivateOnce(); });
}

// A close the user confirms while a handler runs ends that handler's loop first; the
// window closes when the handler has returned, so nothing runs on a window that is gone.
void THexmoorForm::closeEvent(QCloseEvent* event) {
    if (!closeAccepted_) {
        ++depth_;
        const bool allowed = machine_->FormCloseQuery();
        --depth_;
        if (!allowed) {
            event->ignore();
            return;
        }
    }
    if (depth_ > 0) {
        closeAccepted_ = true;
        if (ioPauseLoop_) ioPauseLoop_->quit();
        event->ignore();
        return;
    }
    FlushRepaint();
    if (const std::string error = debug_->RememberSession(); !error.empty())
        ShowMessage(TMessageKind::Warning, TMessageButtons::Ok, error);
    for (std::size_t view = 0; view < kDebugViews; ++view)
        if (QWidget* window = debug_->Window(TDebugView(view))) window->close();
    event->accept();
}

// Every character typed anywhere in the window goes to the terminal's input; Alt keys
// are left to the menus.
bool THexmoorForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonDblClick) return EditRegister(watched);
    if (event->type() != QEvent::KeyPress) return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != this) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->modifiers() & Qt::AltModifier || key->text().isEmpty()) return false;
    for (QChar character : key->text())
        if (std::optional<uint8_t> byte = Windows1252Byte(character.unicode()))
            Handle([this, b = *byte] { machine_->FormKeyPress(b); });
    return true;
}

namespace {

std::optional<QString> DroppedProgram(const QMimeData* data) {
    if (!data->hasUrls() || data->urls().size() != 1) return std::nullopt;
    const QString path = data->urls().first().toLocalFile();
    if (path.isEmpty() || !(path.endsWith(".s19", Qt::CaseInsensitive) || path.endsWith(".elf", Qt::CaseInsensitive) ||
                            IsSourceName(path.toStdString())))
        return std::nullopt;
    return path;
}

}  // namespace

void THexmoorForm::dragEnterEvent(QDragEnterEvent* event) {
    if (DroppedProgram(event->mimeData()) && machine_->Panel.LoadMenu.Enabled) event->acceptProposedAction();
}

void THexmoorForm::dropEvent(QDropEvent* event) {
    const std::optional<QString> path = DroppedProgram(event->mimeData());
    if (!path || !machine_->Panel.LoadMenu.Enabled) return;
    event->acceptProposedAction();
    AnswerNextFileQuestion(path->toStdString());
    Handle(&TMachine::LoadClick);
    scriptedFileName_.reset();
}

}  // namespace hexmoor
