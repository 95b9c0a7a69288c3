#include "app/RawTerminal.h"

#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <iterator>

namespace hexmoor {

namespace {

// One terminal per process: the signal handler needs the saved settings without an object.
int gFd = -1;
termios gSaved{};
volatile sig_atomic_t gRaw = 0;

constexpr int kFatalSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT, SIGQUIT};
struct sigaction gFormerActions[std::size(kFatalSignals)];

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
    struct sigaction action {};
    action.sa_handler = RestoreAndRedeliver;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESETHAND | SA_NODEFER;
    for (std::size_t i = 0; i < std::size(kFatalSignals); ++i)
        sigaction(kFatalSignals[i], &action, &gFormerActions[i]);
    gRaw = 1;
    if (tcsetattr(fd, TCSANOW, &raw) == 0) return true;
    Restore();
    return false;
}

void TRawTerminal::Restore() {
    if (gFd < 0) return;
    PutBack();
    for (std::size_t i = 0; i < std::size(kFatalSignals); ++i)
        sigaction(kFatalSignals[i], &gFormerActions[i], nullptr);
    gFd = -1;
}

}  // namespace hexmoor
