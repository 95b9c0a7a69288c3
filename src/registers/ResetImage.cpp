// The register block's reset image: the byte each register holds after reset, from the
// register table. The machine starts with it, a reset reloads it (keeping what reset keeps)
// and a program load refills it.
#include "core/Machine.h"
#include "registers/RegisterMap.h"

namespace hexmoor {

void TMachine::LoadRegisterResetImage() {
    for (std::size_t offset = 0; offset < RegisterBlock.size(); ++offset)
        RegisterBlock[offset] = kRegisterMap[offset].Reset;
}

}  // namespace hexmoor
