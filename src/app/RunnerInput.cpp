#include "app/RunnerInput.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>

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

bool TRunnerInput::RanOut() const { return !SourceOpen() && pending_.Empty() && machine_.InputBuffer.Empty(); }

std::size_t TRunnerInput::Room() const {
    const std::size_t ahead = pending_.Size() + machine_.InputBuffer.Size();
    return ahead < kReadAhead ? kReadAhead - ahead : 0;
}

// Something can be typed: a whole line, or the last of an input that ended without a line
// end, or a line longer than the read-ahead; with --type-ahead anything at all.
bool TRunnerInput::Ready() const {
    if (pending_.Empty()) return false;
    return pacing_ == TInputPacing::TypeAhead || pending_.Text().find('\r') != std::string_view::npos ||
           !SourceOpen() || Room() == 0;
}

// A program that waits gets what has come even without its line end yet (a key sent alone
// through a pipe); one that has only gone quiet gets whole lines.
bool TRunnerInput::Offer(bool wait) {
    while (!Ready() && Fill(0)) {
    }
    if (wait && pending_.Empty()) {
        while (pending_.Empty() && Fill(-1)) {
        }
        while (!Ready() && Fill(0)) {
        }
    }
    if (pending_.Empty() || (!wait && !Ready())) return false;
    const std::string_view text = pending_.Text();
    const std::size_t cr = text.find('\r');
    const std::size_t count = pacing_ == TInputPacing::TypeAhead || cr == std::string_view::npos ? text.size() : cr + 1;
    for (char byte : text.substr(0, count)) machine_.FormKeyPress(uint8_t(byte));
    pending_.Drop(count);
    return true;
}

void TRunnerInput::Poll() {
    if (StdinFeeds()) Fill(0);
    if (pacing_ != TInputPacing::TypeAhead) return;
    while (file_.IsOpen() && Fill(0)) {
    }
    Offer(false);
}

void TRunnerInput::Nap(int milliseconds) {
    if (StdinFeeds()) Fill(milliseconds);
    Offer(false);
}

// Reads more input while there is room: the file's next line, or what standard input has
// (waiting up to `timeout` ms, -1 for ever). False when nothing came.
bool TRunnerInput::Fill(int timeout) {
    if (Room() == 0 || EndSignal() || !failure_.empty()) return false;
    if (file_.IsOpen()) return ReadFileLine();
    return StdinFeeds() && ReadStdin(timeout);
}

bool TRunnerInput::ReadFileLine() {
    std::string line;
    if (file_.ReadLine(line)) {
        pending_.Append(line);
        pending_.Append('\r');
        return true;
    }
    if (!file_.Error().empty()) {
        const bool named = file_.Error().starts_with("line ");
        Fail(*options_.InputFile + ": " + file_.Error() +
             (named ? "" : " (after line " + std::to_string(file_.LineNumber()) + ")"));
    }
    file_.Close();
    return false;
}

// LF (or CR LF) is the Enter key, a CR; from a terminal in raw mode, keys come as typed, and
// Ctrl-] ends the input. A signal interrupts the wait.
bool TRunnerInput::ReadStdin(int timeout) {
    pollfd fd{STDIN_FILENO, POLLIN, 0};
    int ready;
    while ((ready = poll(&fd, 1, timeout)) < 0 && errno == EINTR && !EndSignal()) {
    }
    if (ready <= 0) return false;
    char buffer[4096];
    const std::size_t size = std::min(sizeof buffer, Room());
    ssize_t count;
    while ((count = read(STDIN_FILENO, buffer, size)) < 0 && errno == EINTR && !EndSignal()) {
    }
    if (count < 0 && EndSignal()) return false;
    if (count < 0) Fail(std::string("standard input: ") + std::strerror(errno));
    if (count <= 0) {
        stdinOpen_ = false;
        return false;
    }
    for (ssize_t i = 0; i < count && stdinOpen_; ++i) Take(uint8_t(buffer[i]));
    return true;
}

void TRunnerInput::Take(uint8_t byte) {
    if (interactive_) {
        if (byte == kEndKey) {
            endedByUser_ = true;
            stdinOpen_ = false;
        } else if (const std::optional<uint8_t> key = keys_.Key(byte)) {
            pending_.Append(char(*key));
        } else if (keys_.Unmapped() && !std::exchange(unmappedNoted_, true)) {
            std::fprintf(stderr, "hexmoor-run: a character the terminal has no byte for (Windows-1252) was not typed\n");
        }
    } else if (byte == '\n' && lastWasCr_) {
        lastWasCr_ = false;
    } else {
        lastWasCr_ = byte == '\r';
        pending_.Append(byte == '\n' ? '\r' : char(byte));
    }
}

void TRunnerInput::Fail(const std::string& why) {
    failure_ = why;
    stdinOpen_ = false;
    std::fprintf(stderr, "hexmoor-run: %s\n", why.c_str());
}

}  // namespace hexmoor
