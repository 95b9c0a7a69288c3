// The serial communications interface: its transmitter and receiver between the frames
// they time.
#pragma once

#include <cstdint>

namespace hexmoor {

struct TSciState {
    bool operator==(const TSciState&) const = default;
    // E cycles of one frame: start bit, 8 or 9 data bits, stop bit, at BAUD's bit rate.
    int32_t SciFrameCycles = 160;
    // Cycles until the frame in the transmit shift register is out; 0 while it is empty.
    int32_t SciTransmitLeft = 0;
    // Cycles until the receiver next looks at the line (a byte, an idle frame); 0 while it
    // has nothing to look for.
    int32_t SciReceiveLeft = 0;
    uint8_t SciTransmitData = 0;  // the transmit data register, waiting for the shift register
    bool SciTransmitQueued = false;
    uint8_t SciShiftData = 0;     // the byte being shifted out
    // The SCSR flags that were set when the program last read SCSR: the first half of
    // the sequences that clear them.
    uint8_t SciStatusSeen = 0;
    bool SciIdleArmed = false;  // a byte came in: a following idle frame sets IDLE
};

}  // namespace hexmoor
