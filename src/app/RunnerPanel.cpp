#include "app/RunnerPanel.h"

#include <cerrno>
#include <cstring>

#include "app/EndSignals.h"
#include "core/OutputFile.h"

namespace hexmoor {

namespace {

// Output waits in the buffer only while the program computes: it goes out when the program
// waits for input, when it has waited this long, and at the end.
constexpr std::chrono::milliseconds kOutputDelay{50};
// At a keyboard, a wait loop waits for keys every millisecond of chip time.
constexpr int64_t kNapCycles = 2000;

}  // namespace

// The stream of what the program writes (the screen's bytes and its escape sequences, or
// their ANSI forms), unless the final screen is printed instead.
void TRunnerPanel::TerminalWritten(uint8_t byte) {
    Emit(ansi_ ? ansi_->Shown(byte, machine_->Screen) : std::string(1, char(byte)));
}

void TRunnerPanel::TerminalEscaped(uint8_t command, uint8_t column, uint8_t row) {
    if (ansi_) {
        Emit(ansi_->Escaped(command, machine_->Screen));
        return;
    }
    std::string bytes{char(7), char(command)};
    if (command == 4) bytes += {char(column), char(row)};
    Emit(bytes);
}

void TRunnerPanel::Emit(const std::string& text) {
    if (!options_.Screen) WriteOut(text);
}

void TRunnerPanel::WriteOut(const std::string& text) {
    if (outputFailed_ || text.empty()) return;
    if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size()) return OutputFailed();
    lastOutput_ = uint8_t(text.back());
    if (!outputPending_) {
        outputPending_ = true;
        pendingSince_ = std::chrono::steady_clock::now();
    }
}

void TRunnerPanel::EndOutput() {
    if (ansi_) WriteOut(ansi_->Restore());
    FlushOutput();
}

void TRunnerPanel::FlushOutput() {
    if (!outputPending_) return;
    outputPending_ = false;
    if (!outputFailed_ && std::fflush(stdout) != 0) OutputFailed();
}

// Output that cannot reach standard output (a full disk, a reader that has gone, with
// SIGPIPE ignored) would be lost: the run ends at once, said once.
void TRunnerPanel::OutputFailed() {
    if (outputFailed_) return;
    outputFailed_ = writeFailed_ = true;
    std::fprintf(stderr, "hexmoor-run: cannot write to standard output: %s\n", std::strerror(errno ? errno : EIO));
    EndRun();
}

void TRunnerPanel::FlushOutputIfOld() {
    if (outputPending_ && std::chrono::steady_clock::now() - pendingSince_ >= kOutputDelay) FlushOutput();
}

// Ends the run: the run loop sees the Running LED go dark, a waiting read is released. A
// read later in the same instruction (LDD of the status and data ports) is released too:
// nothing more will come.
void TRunnerPanel::EndRun() {
    if (machine_->Panel.RunningLed.Lit)
        machine_->RunClick();
    else
        machine_->ReleaseInputWait();
}

void TRunnerPanel::PollInput() {
    input_->Poll();
    if (input_->EndedByUser() || !input_->Failure().empty()) EndRun();
}

// The program waits for a character: block on standard input, or, when no more input can
// come (or it cannot be read), end the run, which abandons the read.
void TRunnerPanel::WaitForEvents() {
    FlushOutput();
    if (!input_->Offer(true)) EndRun();
}

// The program polls the status port and finds nothing typed. When it waits for a key in a
// recognised wait loop, the next line is typed (waited for, when a pipe has not brought it
// yet: the machine stands still meanwhile, so the session does not depend on the pipe's
// timing); when it has only been quiet for a while, a line already read is typed. A
// computation that looks for an abort key gets nothing. At a keyboard, keys are typed as
// they come and a wait loop goes at about the chip's speed. When no more input can come, a
// wait loop that has gone on for the idle cycles ends the run.
void TRunnerPanel::StatusFoundNoInput() {
    FlushOutput();
    const TWaitLoop& loop = machine_->WaitLoop;
    const int64_t cycle = machine_->CycleCount;
    switch (input_->Interactive() ? TInputPacing::TypeAhead : options_.Pacing) {
    case TInputPacing::TypeAhead: input_->Poll(); break;
    case TInputPacing::LinePerRead: input_->Offer(true); break;
    case TInputPacing::Paced:
        if (loop.Recognised() || loop.Quiet(cycle)) input_->Offer(loop.Recognised());
        break;
    }
    if (!input_->Failure().empty() || input_->EndedByUser()) {
        EndRun();
        return;
    }
    if (!machine_->InputBuffer.Empty() || !loop.Recognised()) return;
    if (input_->Interactive() && cycle - lastNap_ >= kNapCycles) {
        lastNap_ = cycle;
        input_->Nap(1);
        if (input_->EndedByUser()) EndRun();
    } else if (input_->RanOut() && uint64_t(loop.LoopCycles(cycle)) >= options_.IdleCycles) {
        EndRun();
    }
}

// Loader warnings, the breakpoint and the messages the options ask for go to stderr; every
// dialog is answered OK. While a program loads, its messages name the file, and the line
// for a record's problems: "hexmoor-run: prog.s19: No such file", "hexmoor-run:
// prog.s19:3: Not Hex". A file that could not be written fails the run.
TMessageResult TRunnerPanel::ShowMessage(TMessageKind kind, TMessageButtons buttons, std::string_view text) {
    if (kind == TMessageKind::Reset) return TMessageResult::Ok;
    if (kind == TMessageKind::BreakPoint) {
        std::fprintf(stderr, "hexmoor-run: breakpoint at $%04X\n", unsigned(machine_->RegisterPC));
        return TMessageResult::Ok;
    }
    if (kind == TMessageKind::WriteFailed) writeFailed_ = true;
    std::string line(text);
    for (char& c : line)
        if (c == '\r') c = '\n';
    if (Loading && kind != TMessageKind::Note) {
        const std::string cannot = "Cannot load " + *Loading + ": ";
        if (line.starts_with(cannot))
            line = options_.Program + ": " + line.substr(cannot.size());
        else if (machine_->LoadLineNumber == 0)  // a file without lines (ELF)
            line = options_.Program + ": " + line;
        else
            line = options_.Program + ":" + std::to_string(machine_->LoadLineNumber) + ": " + line;
    }
    std::fprintf(stderr, "hexmoor-run: %s\n", line.c_str());
    return buttons == TMessageButtons::YesNo ? TMessageResult::Yes : TMessageResult::Ok;
}

// A hard copy goes to the printer file after what the program printed.
void TRunnerPanel::HardCopy(const std::vector<std::string>& rows) {
    std::string text;
    for (const std::string& row : rows) text += row + '\n';
    for (char byte : text) {
        const std::string error = PrinterWrite(uint8_t(byte));
        if (error.empty()) continue;
        ShowMessage(TMessageKind::WriteFailed, TMessageButtons::Ok, "The hard copy could not be printed: " + error);
        return;
    }
}

// A byte that cannot be written closes the file (the machine drops the printer's output
// from then on and says so); a later close and reopen adds to it.
std::string TRunnerPanel::PrinterWrite(uint8_t byte) {
    if (!options_.PrinterFile) {
        if (!printerNoted_) std::fprintf(stderr, "hexmoor-run: printer output discarded (use --printer FILE)\n");
        printerNoted_ = true;
        return "";
    }
    std::string reason;
    if (!printer_) printer_ = OpenOutputStream(*options_.PrinterFile, true, reason);
    errno = 0;
    if (printer_ && std::fputc(byte, printer_) != EOF && std::fflush(printer_) == 0) return "";
    if (printer_) reason = std::strerror(errno ? errno : EIO);
    const std::string error = *options_.PrinterFile + ": " + reason;
    PrinterClose();
    return error;
}

bool TRunnerPanel::OpenPrinter() {
    if (!options_.PrinterFile) return true;
    std::string reason;
    printer_ = OpenOutputStream(*options_.PrinterFile, false, reason);
    if (!printer_) std::fprintf(stderr, "hexmoor-run: %s: %s\n", options_.PrinterFile->c_str(), reason.c_str());
    return printer_ != nullptr;
}

void TRunnerPanel::PrinterClose() {
    if (printer_) std::fclose(printer_);
    printer_ = nullptr;
}

}  // namespace hexmoor
