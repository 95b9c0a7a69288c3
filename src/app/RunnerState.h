// --load-state and --save-state: the whole machine read before a run starts from it, and
// written when a run ends.
#pragma once

#include <cstdint>
#include <memory>

#include "app/HeadlessRunner.h"

namespace hexmoor {

class TMachine;
struct TStateFile;

class TRunnerState {
public:
    explicit TRunnerState(const TRunnerOptions& options);
    ~TRunnerState();

    // Reads and checks the whole state file to start from, before anything is loaded;
    // false (the cause said) when it is refused.
    bool Read();
    // What the program put into memory tells it from another.
    void ProgramLoaded(const TMachine& machine);
    // After the reset: the machine takes the state read. A state saved with another
    // program is taken too, with a note: its names and source lines may not fit.
    void Restore(TMachine& machine);
    // The run has ended; false (the cause said) when the state could not be written.
    bool Write(const TMachine& machine);

private:
    const TRunnerOptions& options_;
    std::unique_ptr<TStateFile> loaded_;
    uint32_t programDigest_ = 0;
};

}  // namespace hexmoor
