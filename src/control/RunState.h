// The run-state codes: what the next pass of the run loop does.
#pragma once

#include <cstdint>

namespace hexmoor {

enum TRunState : uint8_t {
    RunNormal = 0,
    RunExternalReset = 1,
    RunClockMonitorReset = 2,
    RunCopReset = 3,
    RunStopped = 4,
    RunWaiting = 5,
    RunInterrupt = 6,
    RunWaitWakeUp = 7,
    RunStopWakeUp = 8,
};

}  // namespace hexmoor
