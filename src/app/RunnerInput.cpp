#include "app/RunnerInput.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "app/EndSignals.h"

namespace hexmoor {

namespace {

constexpr char kEndKey = 0x1D;  // Ctrl-]

}  // namespace

bool TRunnerInput::FromKeyboard() const { return StdinFeeds() && isatty(STDIN_FILENO); }

void TRunnerInput::BeInteractive() {
    interactive_ = true;
    pacing_ = TInputPacing::TypeAhead;
}

// Like a person at the keyboard, the runner types the next line when the program has
// printed nothing for a while: a monitor that looks for an abort key while it prints a
// listing does not take the next command for one. A read of the data port waits with the
// chip's clock stopped, so it always gets the line.
bool TRunnerInput::Offer(bool dataRead, bool quiet) {
    if (pacing_ == TInputPacing::Paced && !dataRead && !quiet) return false;
    const bool all = pacing_ == TInputPacing::TypeAhead;
    if (file_.IsOpen() && (pending_.empty() || all)) {
        std::string line;
        while (file_.ReadLine(line)) {
            pending_ += line + '\r';
            if (!all) break;
        }
        if (!file_.Error().empty()) {
            std::fprintf(stderr, "hexmoor-run: %s: %s\n", options_.InputFile->c_str(), file_.Error().c_str());
            file_.Close();
        } else if (pending_.empty() || all) {
            file_.Close();  // the end of the file
        }
    }
    if (pending_.empty()) return false;
    TypePending(all ? std::string::npos : pending_.find('\r'));
    return true;
}

void TRunnerInput::Poll() {
    if (StdinFeeds()) Read(0);
    if (pacing_ == TInputPacing::TypeAhead) TypePending(std::string::npos);
}

bool TRunnerInput::Wait() { return !EndSignal() && StdinFeeds() && Read(-1); }

void TRunnerInput::Nap(int milliseconds) {
    if (StdinFeeds()) Read(milliseconds);
    TypePending(std::string::npos);
}

bool TRunnerInput::RanOut() const {
    return !StdinFeeds() && !file_.IsOpen() && pending_.empty() && machine_.InputBuffer.Empty();
}

// Types the pending input up to and with the CR at `end` (all of it for npos).
void TRunnerInput::TypePending(std::size_t end) {
    end = end == std::string::npos ? pending_.size() : end + 1;
    for (std::size_t i = 0; i < end; ++i) machine_.FormKeyPress(uint8_t(pending_[i]));
    pending_.erase(0, end);
}

// Reads what is available (waiting up to timeout ms, -1 for ever) into the pending
// input as keys: LF (or CR LF) is the Enter key, a CR; from a terminal in raw mode, keys
// come as typed, and Ctrl-] ends the input. False at the end of the input, or when a
// timed wait brought nothing. A signal interrupts the wait: true, the caller sees
// EndSignal().
bool TRunnerInput::Read(int timeout) {
    pollfd fd{STDIN_FILENO, POLLIN, 0};
    int ready;
    while ((ready = poll(&fd, 1, timeout)) < 0 && errno == EINTR && !EndSignal()) {
    }
    if (EndSignal()) return true;
    if (ready <= 0) return timeout == 0;
    char buffer[4096];
    ssize_t count;
    while ((count = read(STDIN_FILENO, buffer, sizeof buffer)) < 0 && errno == EINTR && !EndSignal()) {
    }
    if (EndSignal() && count < 0) return true;
    if (count <= 0) {
        stdinOpen_ = false;
        return false;
    }
    for (ssize_t i = 0; i < count; ++i) {
        const char c = buffer[i];
        if (interactive_) {
            if (c == kEndKey) {
                endedByUser_ = true;
                stdinOpen_ = false;
                return false;
            }
            pending_ += c;
        } else if (c == '\n' && lastWasCr_) {
            lastWasCr_ = false;
        } else {
            lastWasCr_ = c == '\r';
            pending_ += c == '\n' ? '\r' : c;
        }
    }
    return true;
}

}  // namespace hexmoor
