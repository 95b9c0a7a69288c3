// Register block reads and writes. For now a register is its byte in the block: the rules
// of the individual registers (masks, flags, protection, ports, messages) come with the
// register-block work.
#include "core/Machine.h"

namespace hexmoor {

void TMachine::ReadInternalRegByte() { DataByte = RegisterBlock[RegisterOffset]; }

void TMachine::WriteInternalRegByte() { RegisterBlock[RegisterOffset] = RegisterWriteByte; }

}  // namespace hexmoor
