// The time-driven parts of the chip: free-running counter, real-time interrupt, output
// compares, input-capture edges, pulse accumulator and COP watchdog.
#pragma once

#include <array>
#include <cstdint>

namespace hexmoor {

struct TTimerState {
    bool operator==(const TTimerState&) const = default;
    uint16_t TimerCount = 0;       // TCNT
    uint16_t PrescalerCount = 0;   // cycles not yet turned into timer ticks
    uint16_t PrescalerShift = 0;   // 0, 2, 3, 4 for prescale 1, 4, 8, 16
    uint16_t PrescalerMask = 0;    // 0, 3, 7, 15
    int32_t RtiAccumulator = 0;
    int32_t RtiTicks = 0;
    int32_t RtiRate = 1;           // ticks per RTI request: 1, 2, 4, 8
    // Output-compare pin actions: 0 none, 1 toggle, 2 clear, 3 set.
    uint8_t Oc2Action = 0, Oc3Action = 0, Oc4Action = 0;
    std::array<uint8_t, 5> Oc1Action{};  // for PA7, PA6, PA5, PA4, PA3
    // Input-capture edges: 0 off, 1 rising, 2 falling, 3 either.
    uint8_t Ic1Edge = 0, Ic2Edge = 0, Ic3Edge = 0, Ic4Edge = 0;
    uint8_t PulseMode = 0;  // 0 off, 1..4 from PACTL PAEN, PAMOD, PEDGE
    bool PulseGate = false;
    int32_t PulseDivider = 0;
    // The CONFIG byte the chip was programmed with ($0E: COP off, EEPROM at $0E00 and
    // disabled); every reset takes ConfigValue from it.
    uint32_t ChipConfig = 0x0E;
    uint32_t ConfigValue = 0x0E;
    bool CopDisabled = true;
    int32_t CopCycles = 32768;
    int32_t CopBlocks = 1;
};

// Registers that accept only their first write, or only within 64 cycles of reset.
struct TWriteOnceLatches {
    bool operator==(const TWriteOnceLatches&) const = default;
    bool FirstInitWrite = true;
    bool FirstOptionWrite = true;
    bool FirstTmsk2Write = true;
    bool FirstOpt2Write = true;
    bool FirstHprioWrite = true;
};

}  // namespace hexmoor
