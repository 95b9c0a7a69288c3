// The A/D converter's progress through a sequence of four conversions.
#pragma once

#include <array>
#include <cstdint>

namespace hexmoor {

struct TAdState {
    bool operator==(const TAdState&) const = default;
    int32_t AdChannel = 0;          // channel code of the next sample
    int32_t AdResultIndex = 0;      // which of ADR1-ADR4 the next sample fills
    int32_t AdConversionDelay = 0;  // cycles until the next sample; 0 = idle
    int32_t AdStabilizeBlocks = 0;  // power-up delay left after ADPU was set
    int32_t AdStabilizeCycles = 0;
    // What the sliders AN0-AN7 apply: 255 - slider position, so 0 at the start.
    std::array<uint8_t, 8> AnalogInputValue{};
};

}  // namespace hexmoor
