// What the machine tells a recorder of its outside inputs: each click, key and
// slider move that changes what the program does, as it arrives; and, every so
// often in a run, that a point it asked for has come. Nothing is told, and
// nothing costs more than a null test, while no recorder is attached.
#pragma once

#include <cstdint>

#include "control/ControlState.h"

namespace hexmoor {

class TMachine;

// A point of the machine's time, between two passes of the run loop.
// Instructions and interrupt entries are the steps a person steps through; the
// cycle count tells apart the passes that do neither (a WAI's, a STOP's).
struct TTimePoint {
    uint64_t Instructions = 0;
    uint64_t Interrupts = 0;  // interrupt entries so far
    int64_t Cycles = 0;
    bool operator==(const TTimePoint&) const = default;
    uint64_t Steps() const { return Instructions + Interrupts; }
};

// One outside input: the entry point it came through and its arguments.
struct TInput {
    enum TKind : uint8_t { Irq, Xirq, Reset, AnalogInput, InputLed, Key, ClearInput, ModeLed };
    TKind Kind = Irq;
    int16_t First = 0,
            Second = 0;  // channel and position, port group and bit, key
    bool operator==(const TInput&) const = default;
};

class TInputHooks {
public:
    virtual ~TInputHooks() = default;
    // An input arrived through one of the machine's entry points (already acted
    // on).
    virtual void Input(TMachine& machine, const TInput& input) = 0;
    // The instruction count reached DueAt (tested between the spans and passes of
    // a run, and when a run starts): a snapshot is due, or a recorded input, or
    // the run limit below has been reached.
    virtual void Due(TMachine& machine) = 0;
    uint64_t DueAt = UINT64_MAX;
    // Runs end here too: a replay stops where a recorded input comes in.
    TRunLimits Limits;
};

}  // namespace hexmoor
