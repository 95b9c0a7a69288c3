// The values last composed for reads of the ports with a direction register.
#pragma once

#include <cstdint>

namespace hexmoor {

struct TPortState {
    bool operator==(const TPortState&) const = default;
    uint8_t PortAPins = 0;
    uint8_t PortCPins = 0;
    uint8_t PortDPins = 0;
    uint8_t PortGPins = 0;
};

}  // namespace hexmoor
