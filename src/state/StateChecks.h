// Values a file may hold that no machine could: a run state, an index or a window out of
// its range. A state read from a file is checked for them before a machine takes it.
#pragma once

#include <string>

#include "state/MachineState.h"

namespace hexmoor {

// "" or the first impossible value, in words.
std::string ImpossibleValue(const TMachineState& state);

}  // namespace hexmoor
