// State of the run loop and of interrupt arbitration.
#pragma once

#include <cstdint>

namespace hexmoor {

// Interrupt request and enable bits: bits 7-0 in the TFLG1 layout, bits 11-8 equal to
// TFLG2 bits 7-4, so that flag-register writes clear requests bit for bit.
enum TInterruptBit : uint16_t {
    IntIC3 = 0x0001,
    IntIC2 = 0x0002,
    IntIC1 = 0x0004,
    IntIC4OC5 = 0x0008,
    IntOC4 = 0x0010,
    IntOC3 = 0x0020,
    IntOC2 = 0x0040,
    IntOC1 = 0x0080,
    IntPAI = 0x0100,
    IntPAOV = 0x0200,
    IntRTI = 0x0400,
    IntTOF = 0x0800,
    IntSPI = 0x1000,
    IntSCI = 0x2000,
    IntIRQ = 0x4000,
};

inline constexpr uint16_t kIrqVector = 0xFFF2;
inline constexpr uint16_t kXirqVector = 0xFFF4;

struct TInterruptState {
    bool operator==(const TInterruptState&) const = default;
    uint16_t PendingInterrupts = 0;
    uint16_t EnabledInterrupts = IntIRQ;
    bool XirqLatch = false;        // the XIRQ line was pulled and waits for X clear
    uint16_t InterruptVector = 0;  // chosen in this pass; 0 = none
};

inline constexpr int32_t kNoBreakPoint = 0x10000;  // never equals a 16-bit PC

struct TRunControlState {
    bool operator==(const TRunControlState&) const = default;
    bool ResetRequest = false;  // the next pass performs an External Reset
    int32_t BreakPointAddress = kNoBreakPoint;  // the Breakpoint menu's own
    uint64_t InstructionCount = 0;  // instructions executed since the machine was made
    bool StopExecuted = false;      // a STOP instruction ran, as a NOP or stopping the clock
};

// Where an untraced run stops: the instruction count and the cycle count it may not reach.
struct TRunLimits {
    uint64_t MaxInstructions = UINT64_MAX;
    int64_t MaxCycles = INT64_MAX;
};

}  // namespace hexmoor
