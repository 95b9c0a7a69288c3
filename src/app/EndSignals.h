// SIGINT, SIGTERM and SIGHUP end a run: the handler only notes the signal; the run loop
// and the wait for input look at it.
#pragma once

namespace hexmoor {

// From now on the three signals are noted, not fatal; a blocked read returns (EINTR).
void CatchEndSignals();
// The signal that asked the run to end, 0 while none has.
int EndSignal();

}  // namespace hexmoor
