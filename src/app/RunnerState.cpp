#include "app/RunnerState.h"

#include <cstdio>

#include "core/Machine.h"
#include "state/StateFile.h"

namespace hexmoor {

TRunnerState::TRunnerState(const TRunnerOptions& options) : options_(options) {}

TRunnerState::~TRunnerState() = default;

bool TRunnerState::Read() {
    if (!options_.LoadState) return true;
    loaded_ = std::make_unique<TStateFile>();
    const std::string error = ReadStateFile(*options_.LoadState, *loaded_);
    if (error.empty()) return true;
    std::fprintf(stderr, "hexmoor-run: %s\n", error.c_str());
    return false;
}

void TRunnerState::ProgramLoaded(const TMachine& machine) { programDigest_ = ProgramDigest(machine); }

void TRunnerState::Restore(TMachine& machine) {
    if (!loaded_) return;
    if (loaded_->ProgramDigest != programDigest_)
        std::fprintf(stderr, "hexmoor-run: note: %s was saved with another program (%s)\n",
                     options_.LoadState->c_str(), loaded_->Program.c_str());
    RestoreState(machine, loaded_->State);
}

bool TRunnerState::Write(const TMachine& machine) {
    if (!options_.SaveState) return true;
    const auto file = std::make_unique<TStateFile>();
    file->Program = options_.Program;
    file->ProgramDigest = programDigest_;
    CaptureState(machine, file->State);
    const std::string error = WriteStateFile(*options_.SaveState, *file);
    if (error.empty()) return true;
    std::fprintf(stderr, "hexmoor-run: %s\n", error.c_str());
    return false;
}

}  // namespace hexmoor
