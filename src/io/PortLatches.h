// Showing the port latches on the output LEDs without an I/O access.
#pragma once

namespace hexmoor {

class TMachine;

// Every output LED as its latch is now, with no I/O pause: after a reset or a load has
// refilled the register block, the LEDs show the new latches, not the old program's.
void ShowPortLatches(TMachine& m);

}  // namespace hexmoor
