// InstructionPreProcessing: what happens at the start of every pass, before arbitration.
#include "core/Machine.h"

namespace hexmoor {

void TMachine::InstructionPreProcessing() {
    if (ResetRequest) RunState = RunExternalReset;
}

}  // namespace hexmoor
