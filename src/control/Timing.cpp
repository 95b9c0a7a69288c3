// InstructionPreProcessing: the chip's time-driven parts advance by the cycles of the last
// pass. Integer work only; the panel is touched only when an output compare drives a pin.
#include <algorithm>

#include "core/Machine.h"
#include "registers/RegisterMap.h"

namespace hexmoor {

namespace {

constexpr int32_t kCopBlockCycles = 32768;
constexpr int32_t kRtiTickCycles = 4096;

}  // namespace

// Output-compare pin actions on a port A output LED: 1 toggle, 2 off, 3 on.
void TMachine::DrivePin(int bit, uint8_t action) {
    if (action == 0) return;
    bool& lit = Panel.PortGroups[PortAOutput].Leds[bit].Lit;
    Change(lit, action == 1 ? !lit : action == 3, TPanelItem::Ports);
}

// The flag in TFLG1, its request (the same bit), and the pin action.
void TMachine::CompareMatched(uint8_t flag, int pin, uint8_t action) {
    RegisterBlock[TFLG1] |= flag;
    PendingInterrupts |= flag;
    DrivePin(pin, action);
}

// PACNT + 1, with PAOVF on the wrap and PAIF on every count.
void TMachine::CountPulse() {
    if (++RegisterBlock[PACNT] == 0) {
        RegisterBlock[TFLG2] |= 0x20;
        PendingInterrupts |= IntPAOV;
    }
    RegisterBlock[TFLG2] |= 0x10;
    PendingInterrupts |= IntPAI;
}

void TMachine::InstructionPreProcessing() { AdvanceTime(InstructionCycles); }

void TMachine::AdvanceTime(int32_t cycles) {
    if (AdStabilizeBlocks != 0) {
        AdStabilizeCycles -= cycles;
        if (AdStabilizeCycles <= 0) {
            --AdStabilizeBlocks;
            AdStabilizeCycles = 32767;
        }
    }
    if (AdConversionDelay != 0) {
        AdConversionDelay -= cycles;
        if (AdConversionDelay <= 0) {
            AdConversionDelay = 0;
            DoAdSample();
        }
    }
    if (!CopDisabled) {
        CopCycles -= cycles;
        if (CopCycles <= 0) {
            CopCycles = kCopBlockCycles;
            if (--CopBlocks == 0) RunState = RunCopReset;
        }
    }
    if (ResetRequest) RunState = RunExternalReset;

    // After the first tick the period is 4095 cycles. A rate lowered below the ticks
    // already counted fires at once rather than never.
    RtiAccumulator += cycles;
    if (RtiAccumulator >= kRtiTickCycles) {
        RtiAccumulator -= kRtiTickCycles - 1;
        if (++RtiTicks >= RtiRate) {
            RtiTicks = 0;
            RegisterBlock[TFLG2] |= 0x40;
            PendingInterrupts |= IntRTI;
        }
    }

    const uint16_t old = TimerCount;
    PrescalerCount = uint16_t(PrescalerCount + cycles);
    TimerCount = uint16_t(TimerCount + (PrescalerCount >> PrescalerShift));
    PrescalerCount &= PrescalerMask;
    RegisterBlock[TCNT] = uint8_t(TimerCount >> 8);
    RegisterBlock[TCNT + 1] = uint8_t(TimerCount);
    if (TimerCount != old) {
        if (TimerCount < old) {
            RegisterBlock[TFLG2] |= 0x80;
            PendingInterrupts |= IntTOF;
        }
        // A compare value matches when the counter passed it in this step:
        // old < compare <= new, counted modulo 65536 so that a step across the wrap is
        // one interval too. OC1 comes last so that it wins on a pin it shares.
        const uint16_t advanced = uint16_t(TimerCount - old);
        auto passed = [&](uint8_t offset) {
            const uint16_t compare = uint16_t(RegisterBlock[offset] << 8 | RegisterBlock[offset + 1]);
            return uint16_t(compare - old - 1) < advanced;
        };
        if (passed(TOC2)) CompareMatched(0x40, 6, Oc2Action);
        if (passed(TOC3)) CompareMatched(0x20, 5, Oc3Action);
        if (passed(TOC4)) CompareMatched(0x10, 4, Oc4Action);
        if (passed(TOC1)) {
            CompareMatched(0x80, 7, 0);
            for (int i = 0; i < 5; ++i) DrivePin(7 - i, Oc1Action[i]);
        }
    }

    if (SciBusy()) AdvanceSci(cycles);

    if (PulseGate) {
        PulseDivider += cycles;
        if (PulseDivider >= 64) {
            CountPulse();
            PulseDivider &= 63;
        }
    }
}

// AdvanceTime for at most CyclesBeforeNextEvent() cycles: only the counting is left.
void TMachine::AdvanceTimeQuietly(int32_t cycles) {
    if (AdStabilizeBlocks != 0) AdStabilizeCycles -= cycles;
    if (AdConversionDelay != 0) AdConversionDelay -= cycles;
    if (!CopDisabled) CopCycles -= cycles;
    RtiAccumulator += cycles;
    PrescalerCount = uint16_t(PrescalerCount + cycles);
    TimerCount = uint16_t(TimerCount + (PrescalerCount >> PrescalerShift));
    PrescalerCount &= PrescalerMask;
    RegisterBlock[TCNT] = uint8_t(TimerCount >> 8);
    RegisterBlock[TCNT + 1] = uint8_t(TimerCount);
    if (PulseGate) PulseDivider += cycles;
    if (SciTransmitLeft != 0) SciTransmitLeft -= cycles;
    if (SciReceiveLeft != 0) SciReceiveLeft -= cycles;
}

// The most cycles time can advance by, in one step or many, before any of the steps above
// would do more than count: a COP block, an A/D step, an RTI tick, a timer tick that
// reaches a compare or wraps, a pulse count, the end of an SCI frame. Up to this many, one
// step leaves the chip exactly as many smaller steps would.
int32_t TMachine::CyclesBeforeNextEvent() const {
    int32_t cycles = kRtiTickCycles - 1 - RtiAccumulator;
    if (AdStabilizeBlocks != 0) cycles = std::min(cycles, AdStabilizeCycles - 1);
    if (AdConversionDelay != 0) cycles = std::min(cycles, AdConversionDelay - 1);
    if (!CopDisabled) cycles = std::min(cycles, CopCycles - 1);
    if (PulseGate) cycles = std::min(cycles, 63 - PulseDivider);
    if (SciBusy()) {
        if (SciTransmitLeft != 0) cycles = std::min(cycles, SciTransmitLeft - 1);
        if (SciReceiveLeft != 0) cycles = std::min(cycles, SciReceiveLeft - 1);
    }
    // Timer ticks before one passes a compare value or the counter wraps. The four compare
    // registers are consecutive words.
    const uint16_t next = uint16_t(TimerCount + 1);
    uint16_t ticks = uint16_t(~TimerCount);
    for (int offset = TOC1; offset <= TOC4; offset += 2) {
        const uint16_t compare = uint16_t(RegisterBlock[offset] << 8 | RegisterBlock[offset + 1]);
        ticks = std::min(ticks, uint16_t(compare - next));
    }
    const int64_t timerCycles = ((int64_t(ticks) + 1) << PrescalerShift) - 1 - PrescalerCount;
    return int32_t(std::min<int64_t>(cycles, timerCycles));
}

}  // namespace hexmoor
