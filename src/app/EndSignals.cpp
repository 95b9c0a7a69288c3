#include "app/EndSignals.h"

#include <signal.h>

#include <initializer_list>

namespace hexmoor {

namespace {

volatile sig_atomic_t gEndSignal = 0;

extern "C" void NoteEndSignal(int number) { gEndSignal = number; }

}  // namespace

void CatchEndSignals() {
    gEndSignal = 0;
    struct sigaction action {};
    action.sa_handler = NoteEndSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0;  // no SA_RESTART: a blocked read of standard input returns
    for (int number : {SIGINT, SIGTERM, SIGHUP}) sigaction(number, &action, nullptr);
}

int EndSignal() { return gEndSignal; }

}  // namespace hexmoor
