// Interrupt arbitration: where requests meet the CPU's masks and the 68HC11's priorities.
#include <array>

#include "core/Machine.h"
#include "registers/RegisterMap.h"

namespace hexmoor {

namespace {

struct TInterruptSource {
    uint16_t Bit;  // 0: the entry promotes nothing
    const char* Message;
    uint16_t Vector;
};

// Highest priority first.
constexpr std::array<TInterruptSource, 13> kFixedOrder{{
    {IntIRQ, "IRQ", kIrqVector},
    {IntRTI, "Real-Time Interrupt", 0xFFF0},
    {IntIC1, "Timer Input Capture 1", 0xFFEE},
    {IntIC2, "Timer Input Capture 2", 0xFFEC},
    {IntIC3, "Timer Input Capture 3", 0xFFEA},
    {IntOC1, "Timer Output Compare 1", 0xFFE8},
    {IntOC2, "Timer Output Compare 2", 0xFFE6},
    {IntOC3, "Timer Output Compare 3", 0xFFE4},
    {IntOC4, "Timer Output Compare 4", 0xFFE2},
    {IntTOF, "Timer Overflow", 0xFFDE},
    {IntPAOV, "Pulse Accumulator Overflow (HPRIO)", 0xFFDC},
    {IntPAI, "Pulse Accumulator Input Edge (HPRIO)", 0xFFDA},
    {IntSCI, "Serial Communications Interface", 0xFFD6},  // after SPI, which never requests
}};

// The source HPRIO's PSEL field promotes above all others, by PSEL value.
constexpr std::array<TInterruptSource, 16> kPromoted{{
    {IntTOF, "Timer Overflow (HPRIO)", 0xFFDE},
    {IntPAOV, "Pulse Accumulator Overflow (HPRIO)", 0xFFDC},
    {IntPAI, "Pulse Accumulator Input Edge (HPRIO)", 0xFFDA},
    {0, "", 0},  // SPI
    {IntSCI, "Serial Communications Interface (HPRIO)", 0xFFD6},
    {0, "", 0},
    {IntIRQ, "IRQ (HPRIO)", kIrqVector},
    {IntRTI, "Real-Time Interrupt (HPRIO)", 0xFFF0},
    {IntIC1, "Timer Input Capture 1 (HPRIO)", 0xFFEE},
    {IntIC2, "Timer Input Capture 2 (HPRIO)", 0xFFEC},
    {IntIC3, "Timer Input Capture 3 (HPRIO)", 0xFFEA},
    {IntOC1, "Timer Output Compare 1 (HPRIO)", 0xFFE8},
    {IntOC2, "Timer Output Compare 2 (HPRIO)", 0xFFE6},
    {IntOC3, "Timer Output Compare 3 (HPRIO)", 0xFFE4},
    {IntOC4, "Timer Output Compare 4 (HPRIO)", 0xFFE2},
    {0, "", 0},  // IC4/OC5
}};

}  // namespace

void TMachine::ArbitrateInterrupts() {
    if (XirqLatch && !FlagX) {
        DispInterrupt("XIRQ");
        XirqLatch = false;
        InterruptVector = kXirqVector;
        return;
    }
    if (MaskDelay) {
        MaskDelay = false;
        return;
    }
    if (FlagI) return;
    const uint16_t active = PendingInterrupts & EnabledInterrupts;
    if (active == 0) return;

    const TInterruptSource* taken = &kPromoted[RegisterBlock[HPRIO] & 0x0F];
    if (!(taken->Bit & active)) {
        taken = nullptr;
        for (const TInterruptSource& source : kFixedOrder) {
            if (source.Bit & active) {
                taken = &source;
                break;
            }
        }
    }
    if (!taken) {
        Warning("Spurious Interrupt");
        return;
    }
    DispInterrupt(taken->Message);
    // One click of the IRQ button is one interrupt; the other requests stay until their
    // flag is cleared.
    if (taken->Bit == IntIRQ) PendingInterrupts &= ~IntIRQ;
    InterruptVector = taken->Vector;
}

void TMachine::IrqButtonClick() {
    PendingInterrupts |= IntIRQ;
    RecordInput(TInput::Irq);
}

void TMachine::XIrqButtonClick() {
    XirqLatch = true;
    RecordInput(TInput::Xirq);
}

}  // namespace hexmoor
