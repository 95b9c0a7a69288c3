#include "app/RawTerminal.h"

#include <errno.h>
#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <iterator>

namespace hexmoor {

namespace {

// One terminal per process: the signal handler needs the saved settings without an object.
int gFd = -1;
termios gSaved{};
termios gRawSettings{};
volatile sig_atomic_t gRaw = 0;

// SIGPIPE: the reader of standard output has gone (a pipe into `head`).
constexpr int kFatalSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT, SIGQUIT, SIGPIPE};
struct sigaction gFormerActions[std::size(kFatalSignals)];
struct sigaction gFormerStopAction;

void PutBack() {
    if (!gRaw) return;
    gRaw = 0;
    tcsetattr(gFd, TCSANOW, &gSaved);  // async-signal-safe
}

// Installed with SA_RESETHAND | SA_NODEFER: the signal raised again takes its default
// action (a core dump, the end of the process) with the terminal already restored.
extern "C" void RestoreAndRedeliver(int number) {
    PutBack();
    raise(number);
}

// A stop request from outside (kill -TSTP; the keyboard's Ctrl-Z is a key in raw mode): the
// shell gets its terminal back as it was while the runner is stopped, and the runner takes
// it raw again when it is continued. SIGSTOP rather than the default action of SIGTSTP,
// which the kernel drops for a process group with no shell to continue it.
extern "C" void StopWithTerminalRestored(int) {
    const int savedErrno = errno;
    PutBack();
    raise(SIGSTOP);
    gRaw = 1;
    tcsetattr(gFd, TCSANOW, &gRawSettings);
    errno = savedErrno;
}

}  // namespace

bool TRawTerminal::Enter(int fd) {
    termios raw{};
    if (gRaw || !isatty(fd) || tcgetattr(fd, &gSaved) != 0) return false;
    raw = gSaved;
    raw.c_iflag &= ~tcflag_t(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON);
    raw.c_lflag &= ~tcflag_t(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    raw.c_cc[VMIN] = 1;
    raw.c_cc[VTIME] = 0;
    // Output processing stays: the runner's own messages end in "\n".
    gFd = fd;
    gRawSettings = raw;
    struct sigaction action {};
    action.sa_handler = RestoreAndRedeliver;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESETHAND | SA_NODEFER;
    // An ignored signal stays ignored: SIGPIPE ignored makes a write fail instead.
    for (std::size_t i = 0; i < std::size(kFatalSignals); ++i) {
        sigaction(kFatalSignals[i], nullptr, &gFormerActions[i]);
        if (gFormerActions[i].sa_handler != SIG_IGN) sigaction(kFatalSignals[i], &action, nullptr);
    }
    struct sigaction stop {};
    stop.sa_handler = StopWithTerminalRestored;
    sigemptyset(&stop.sa_mask);
    stop.sa_flags = SA_RESTART;
    sigaction(SIGTSTP, &stop, &gFormerStopAction);
    gRaw = 1;
    if (tcsetattr(fd, TCSANOW, &raw) == 0) return true;
    Restore();
    return false;
}

void TRawTerminal::Restore() {
    if (gFd < 0) return;
    // The stop handler goes first, so that a stop from now on cannot make the terminal raw again.
    sigaction(SIGTSTP, &gFormerStopAction, nullptr);
    PutBack();
    for (std::size_t i = 0; i < std::size(kFatalSignals); ++i)
        sigaction(kFatalSignals[i], &gFormerActions[i], nullptr);
    gFd = -1;
}

}  // namespace hexmoor
