// The window as the machine's front panel: its questions as dialogs, its waits in Qt's
// event loop (never spinning), and the devices it cannot own.
#include <QApplication>
#include <QEventLoop>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>

#include <cstdio>

#include "panel/AboutBox.h"
#include "panel/BreakPointForm.h"
#include "panel/DebugWindows.h"
#include "panel/FormControls.h"
#include "panel/widgets/Lumocrt.h"

namespace hexmoor {

namespace {

QMessageBox::Icon IconOf(TMessageKind kind) {
    switch (kind) {
    case TMessageKind::Warning:
    case TMessageKind::WriteFailed: return QMessageBox::Warning;
    case TMessageKind::Information:
    case TMessageKind::BreakPoint:
    case TMessageKind::Reset:
    case TMessageKind::Note: return QMessageBox::Information;
    case TMessageKind::Confirmation: return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

const char* TitleOf(TMessageKind kind) {
    switch (kind) {
    case TMessageKind::Warning:
    case TMessageKind::WriteFailed: return "Warning";
    case TMessageKind::Information:
    case TMessageKind::BreakPoint:
    case TMessageKind::Reset:
    case TMessageKind::Note: return "Information";
    case TMessageKind::Confirmation: return "Confirm";
    }
    return "";
}

// "Log Files (*.log)|*.log|All Files (*.*)": pairs of a description and its patterns, as
// Qt's filters "Log Files (*.log);;All Files (*)" ("*.*" matches every name).
QStringList QtFilters(const std::string& filter) {
    const QStringList parts = QString::fromStdString(filter).split('|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i];
        description = description.left(description.indexOf('(')).simplified();
        QString patterns = parts[i + 1];
        patterns.replace(';', ' ').replace("*.*", "*");
        filters << description + " (" + patterns + ")";
    }
    return filters;
}

}  // namespace

// After the user chose to close, no more questions: each gets the answer that lets the
// work on the stack end soonest.
TMessageResult THexmoorForm::ShowMessage(TMessageKind kind, TMessageButtons buttons, std::string_view text) {
    if (closeAccepted_ || destroying_) {
        if (destroying_) std::fprintf(stderr, "hexmoor: %.*s\n", int(text.size()), text.data());
        return buttons == TMessageButtons::Ok ? TMessageResult::Ok
             : buttons == TMessageButtons::OkCancel ? TMessageResult::Cancel
                                                    : TMessageResult::No;
    }
    FlushRepaint();
    if (messageAnswerer_)
        if (std::optional<TMessageResult> answer = messageAnswerer_(kind, buttons, text)) return *answer;
    QString shown = QString::fromUtf8(text.data(), qsizetype(text.size()));
    shown.replace('\r', '\n');
    const QMessageBox::StandardButtons standard =
        buttons == TMessageButtons::Ok         ? QMessageBox::Ok
        : buttons == TMessageButtons::OkCancel ? QMessageBox::Ok | QMessageBox::Cancel
                                               : QMessageBox::Yes | QMessageBox::No;
    QMessageBox box(IconOf(kind), TitleOf(kind), shown, standard, this);
    const int pressed = box.exec();
    activateWindow();  // the keyboard comes back here, with or without a window manager
    switch (pressed) {
    case QMessageBox::Ok: return TMessageResult::Ok;
    case QMessageBox::Yes: return TMessageResult::Yes;
    case QMessageBox::No: return TMessageResult::No;
    default: return buttons == TMessageButtons::YesNo ? TMessageResult::No : TMessageResult::Cancel;
    }
}

std::optional<std::string> THexmoorForm::AskFileName(const TFileQuestion& question) {
    std::optional<std::string> path = scriptedFileName_ ? std::exchange(scriptedFileName_, std::nullopt)
                                                        : AskFileNameInDialog(question);
    if (path && question.Program) debug_->Session().ProgramChosen(*path);
    return path;
}

std::optional<std::string> THexmoorForm::AskFileNameInDialog(const TFileQuestion& question) {
    if (closeAccepted_) return std::nullopt;
    FlushRepaint();
    QFileDialog dialog(this, QString::fromStdString(question.Title));
    dialog.setNameFilters(QtFilters(question.Filter));
    dialog.setDefaultSuffix(QString::fromStdString(question.DefaultExtension).toLower());
    if (question.ForWriting) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite);  // the machine asks
    } else {
        dialog.setFileMode(question.MustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    }
    if (!question.ProposedName.empty()) dialog.selectFile(QString::fromStdString(question.ProposedName));
    const bool chosen = dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty();
    activateWindow();
    if (!chosen) return std::nullopt;
    return dialog.selectedFiles().first().toStdString();
}

std::optional<std::string> THexmoorForm::AskBreakPointAddress(const std::string& current) {
    if (closeAccepted_) return std::nullopt;
    FlushRepaint();
    const std::optional<QString> text = breakPointForm_->Ask(QString::fromStdString(current));
    activateWindow();
    if (text) return text->toStdString();
    return std::nullopt;
}

// --- Waits ----------------------------------------------------------------------------

void THexmoorForm::PumpEvents() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

// Blocks until the user has done something. A close the user confirmed releases a read
// of the terminal, which then ends the loop waiting here.
void THexmoorForm::WaitForEvents() {
    if (closeAccepted_) {
        machine_->ReleaseInputWait();
        return;
    }
    FlushRepaint();
    // Painting does not end the wait, only something the machine may react to: a traced
    // run in a WAI changes the cycle count with every pass, and would wake itself.
    const uint64_t start = stimuli_;
    QEventLoop loop;
    while (stimuli_ == start && !closeAccepted_) loop.processEvents(QEventLoop::WaitForMoreEvents);
}

TMessageResult THexmoorForm::WaitForIoPause() {
    if (closeAccepted_) return TMessageResult::Ok;
    FlushRepaint();
    QEventLoop loop;
    QEventLoop* outer = std::exchange(ioPauseLoop_, &loop);
    ioPauseAnswer_.reset();
    loop.exec();
    ioPauseLoop_ = outer;
    return std::exchange(ioPauseAnswer_, std::nullopt).value_or(TMessageResult::Ok);
}

void THexmoorForm::WaitUntil(std::chrono::steady_clock::time_point time) {
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(time - std::chrono::steady_clock::now());
    if (closeAccepted_ || wait.count() <= 0) return;
    QEventLoop loop;
    QTimer::singleShot(wait, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

// --- Devices ----------------------------------------------------------------------------

void THexmoorForm::Beep() { QApplication::beep(); }

void THexmoorForm::FocusTerminal() {
    if (!controls_->Console->hasFocus()) controls_->Console->setFocus();
}

void THexmoorForm::HardCopy(const std::vector<std::string>& rows) {
    if (std::optional<TPrintResult> result = printer_.HardCopy(rows)) HardCopyDone(*result, "The hard copy");
}

std::string THexmoorForm::PrinterWrite(uint8_t byte) { return printer_.Write(byte); }

void THexmoorForm::PrinterClose() { HardCopyDone(printer_.Close(), "The printer output"); }

// Nothing printed is lost without a printer: the user learns where the PDF file is.
void THexmoorForm::HardCopyDone(const TPrintResult& result, const QString& what) {
    if (!result.Error.isEmpty())
        ShowMessage(TMessageKind::WriteFailed, TMessageButtons::Ok,
                    (what + " could not be printed: " + result.Error).toStdString());
    else if (!result.PdfPath.isEmpty())
        ShowMessage(TMessageKind::Information, TMessageButtons::Ok,
                    (what + " went to the file\r" + result.PdfPath + "\r(no printer is installed)").toStdString());
}

void THexmoorForm::SetupMenuClick() {
    QPrintDialog dialog(&printer_.Printer(), this);
    dialog.setWindowTitle("Printer Setup");
    dialog.exec();
    activateWindow();
}

void THexmoorForm::AboutMenuClick() {
    aboutBox_->exec();
    activateWindow();
}

}  // namespace hexmoor
