#include "panel/SourceWindow.h"

#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QTextBlock>
#include <QVBoxLayout>

#include "core/Hex.h"
#include "core/Machine.h"
#include "debug/SourceLines.h"
#include "panel/SourceView.h"

namespace hexmoor {

namespace {

// A file as it was when its program loaded; the window shows what was assembled, not a
// later edit (File > Reload assembles that).
QString ReadSource(const std::string& path) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) return "(cannot read " + QString::fromStdString(path) + ": " + file.errorString() + ")";
    QString text = QString::fromUtf8(file.readAll());
    text.replace("\r\n", "\n");
    return text;
}

// Warnings and notes: a program with errors never loads, so it has no Source window.
QString WarningSummary(const TAssembly& assembly) {
    std::size_t count = 0;
    QString first;
    for (const TAsmDiagnostic& diagnostic : assembly.Diagnostics) {
        if (diagnostic.Severity == TAsmSeverity::Error) continue;
        if (count++ == 0) first = QString::fromStdString(FormatDiagnostic(diagnostic));
    }
    if (count == 0) return {};
    return count == 1 ? first : QString("%1 warnings and notes; the first: %2").arg(count).arg(first);
}

}  // namespace

TSourceWindow::TSourceWindow(TDebugContext& context, QWidget* owner)
    : TDebugWindow(context, "Source", owner),
      files_(new QComboBox(this)),
      text_(new TSourceView(this)),
      status_(new QLabel(this)) {
    files_->setObjectName("SourceFile");
    text_->setObjectName("SourceText");
    status_->setObjectName("SourceStatus");
    status_->setWordWrap(true);
    // The text starts at the window's top left; the file chooser and the status go below.
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 4);
    layout->addWidget(text_, 1);
    layout->addWidget(files_);
    layout->addWidget(status_);
    connect(files_, &QComboBox::activated, this, [this](int file) {
        ShowFile(file);
        Mark();
    });
    text_->LineClicked = [this](int line) { ToggleBreakpointOnLine(line); };
    text_->MayRun = context_.Stopped;
    text_->RunToLine = [this](int line) {
        if (const std::optional<uint16_t> code = CodeFrom(line)) context_.RunTo(*code);
    };
    resize(560, 520);
}

void TSourceWindow::Load(std::shared_ptr<const TLoadedProgram> program) {
    shown_ = std::move(program);
    texts_.clear();
    files_->clear();
    shownFile_ = -1;
    followedStop_.reset();
    if (shown_->Lines.Empty()) {
        text_->clear();
        status_->setText("The program loaded now was not assembled from source, and it has no line table.");
        return;
    }
    for (const std::string& path : shown_->Lines.Files) {
        texts_.push_back(ReadSource(path));
        files_->addItem(QFileInfo(QString::fromStdString(path)).fileName(), QString::fromStdString(path));
    }
    status_->setText(shown_->Assembly ? WarningSummary(*shown_->Assembly) : QString());
    ShowFile(0);
}

void TSourceWindow::ShowFile(int file) {
    if (file == shownFile_ || file < 0 || file >= int(texts_.size())) return;
    shownFile_ = file;
    files_->setCurrentIndex(file);
    text_->setPlainText(texts_[std::size_t(file)]);
}

void TSourceWindow::Refresh() {
    if (!isVisible()) return;
    if (std::shared_ptr<const TLoadedProgram> program = context_.Session.Program(); program != shown_)
        Load(std::move(program));
    const TLineEntry* pc = LineAt(shown_->Lines, context_.Machine.RegisterPC);
    // At a new stop the file PC is in comes up and its line into sight; between stops the
    // user may look elsewhere.
    const uint64_t stop = context_.StopCount();
    if (followedStop_ != stop && context_.Stopped()) {
        followedStop_ = stop;
        if (pc) {
            ShowFile(pc->File);
            text_->Reveal(pc->Line);
        }
    }
    Mark();
}

void TSourceWindow::Mark() {
    const TLineEntry* pc = shown_ ? LineAt(shown_->Lines, context_.Machine.RegisterPC) : nullptr;
    pcLine_ = pc && pc->File == shownFile_ ? std::optional(pc->Line) : std::nullopt;
    breakpointLines_.clear();
    if (shown_)
        for (const TBreakpoint& breakpoint : context_.Debugger.Breakpoints())
            if (const TLineEntry* line = LineAt(shown_->Lines, breakpoint.Address);
                breakpoint.Placed && line && line->File == shownFile_)
                breakpointLines_.push_back({line->Line, breakpoint.Enabled});
    text_->SetMarks(pcLine_, breakpointLines_);
}

std::optional<uint16_t> TSourceWindow::CodeFrom(int line) {
    if (!shown_ || shownFile_ < 0) return std::nullopt;
    const TLineEntry* code = CodeAtOrAfter(shown_->Lines, shownFile_, line);
    if (!code) {
        status_->setText(QString("No code at or after line %1.").arg(line));
        return std::nullopt;
    }
    return code->Address;
}

void TSourceWindow::ToggleBreakpointOnLine(int line) {
    if (const std::optional<uint16_t> code = CodeFrom(line))
        context_.Act([this, address = *code] { context_.Session.ToggleBreakpointAt(address); });
}

std::optional<uint16_t> TSourceWindow::SelectedAddress() const {
    if (!shown_ || shownFile_ < 0) return std::nullopt;
    const TLineEntry* code = CodeAtOrAfter(shown_->Lines, shownFile_, text_->textCursor().blockNumber() + 1);
    if (!code) return std::nullopt;
    return code->Address;
}

void TSourceWindow::ShowAddress(uint16_t address) {
    const TLineEntry* line = shown_ ? LineAt(shown_->Lines, address) : nullptr;
    if (!line) return;
    ShowFile(line->File);
    Mark();
    text_->setTextCursor(QTextCursor(text_->document()->findBlockByNumber(line->Line - 1)));
    text_->Reveal(line->Line);
}

// Hidden, it let stops pass unshown.
void TSourceWindow::showEvent(QShowEvent* event) {
    TDebugWindow::showEvent(event);
    Refresh();
}

}  // namespace hexmoor
