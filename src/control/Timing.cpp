// InstructionPreProcessing: the chip's time-driven parts advance by the cycles of the last
// pass. Integer work only; the panel is touched only when an output compare drives a pin.
#include "core/Machine.h"
#include "registers/RegisterMap.h"

namespace hexmoor {

namespace {

constexpr int32_t kCopBlockCycles = 32768;
constexpr int32_t kRtiTickCycles = 4096;

// A compare value matches when the counter passed it in this step, across a wrap too.
bool Passed(uint16_t old, uint16_t now, uint16_t compare) {
    if (now >= old) return old < compare && compare <= now;
    return old < compare || compare <= now;
}

}  // namespace

// Output-compare pin actions on a port A output LED: 1 toggle, 2 off, 3 on.
void TMachine::DrivePin(int bit, uint8_t action) {
    if (action == 0) return;
    bool& lit = Panel.PortGroups[PortAOutput].Leds[bit].Lit;
    Change(lit, action == 1 ? !lit : action == 3, TPanelItem::Ports);
}

void TMachine::OutputCompares(uint16_t old) {
    auto compare = [&](uint8_t offset) {
        return uint16_t(RegisterBlock[offset] << 8 | RegisterBlock[offset + 1]);
    };
    struct TCompare {
        uint8_t Offset;
        uint8_t Flag;
        uint8_t Action;
        int Pin;
    };
    // OC1 comes last so that it wins on a pin it shares with another compare.
    const TCompare compares[] = {
        {TOC2, 0x40, Oc2Action, 6},
        {TOC3, 0x20, Oc3Action, 5},
        {TOC4, 0x10, Oc4Action, 4},
    };
    for (const TCompare& c : compares) {
        if (!Passed(old, TimerCount, compare(c.Offset))) continue;
        RegisterBlock[TFLG1] |= c.Flag;
        PendingInterrupts |= c.Flag;
        DrivePin(c.Pin, c.Action);
    }
    if (Passed(old, TimerCount, compare(TOC1))) {
        RegisterBlock[TFLG1] |= 0x80;
        PendingInterrupts |= IntOC1;
        for (int i = 0; i < 5; ++i) DrivePin(7 - i, Oc1Action[i]);
    }
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

void TMachine::InstructionPreProcessing() {
    const int32_t cycles = InstructionCycles;

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
        OutputCompares(old);
    }

    if (PulseGate) {
        PulseDivider += cycles;
        if (PulseDivider >= 64) {
            CountPulse();
            PulseDivider &= 63;
        }
    }
}

}  // namespace hexmoor
