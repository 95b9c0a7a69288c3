// The serial communications interface, wired to the board's terminal: bytes the program
// transmits reach the screen a frame after they leave the transmit register, and typed
// bytes come in from the one input queue the terminal data port also reads.
//
// Time drives it like the timers: a transmitted frame and the receiver's next look at
// the line are countdowns that AdvanceTime runs down, and only while one is running does
// the SCI take part in the next-event reckoning of spans. A typed byte is never lost to
// an overrun: the receiver takes the next byte only once the program has read the last.
#include <algorithm>
#include <array>
#include <utility>

#include "core/Machine.h"
#include "registers/RegisterMap.h"

namespace hexmoor {

namespace {

// SCSR flags.
constexpr uint8_t kTdre = 0x80, kTc = 0x40, kRdrf = 0x20, kIdle = 0x10, kOr = 0x08;
constexpr uint8_t kReceiveFlags = 0x3E;  // RDRF, IDLE, OR, NF, FE
// SCCR2 bits.
constexpr uint8_t kTie = 0x80, kTcie = 0x40, kRie = 0x20, kIlie = 0x10, kTe = 0x08, kRe = 0x04,
                  kRwu = 0x02;
// SCCR1 bits.
constexpr uint8_t kR8 = 0x80, kNineBits = 0x10, kAddressMarkWake = 0x08;

// The SCP1:SCP0 prescaler; the SCR2:SCR0 divider is a power of two. The receiver samples
// each bit 16 times.
constexpr std::array<int32_t, 4> kPrescaler{1, 3, 4, 13};

}  // namespace

void TMachine::SciTiming() {
    const uint8_t baud = RegisterBlock[BAUD];
    const int32_t bitCycles = (16 * kPrescaler[baud >> 4 & 3]) << (baud & 7);
    SciFrameCycles = bitCycles * ((RegisterBlock[SCCR1] & kNineBits) ? 11 : 10);
}

// The SCI request: TDRE with TIE, TC with TCIE, RDRF or OR with RIE, IDLE with ILIE.
void TMachine::SciRequest() {
    const uint8_t status = RegisterBlock[SCSR], control = RegisterBlock[SCCR2];
    const bool requested = (status & kTdre && control & kTie) || (status & kTc && control & kTcie) ||
                           (status & (kRdrf | kOr) && control & kRie) || (status & kIdle && control & kIlie);
    PendingInterrupts = uint16_t(requested ? PendingInterrupts | IntSCI : PendingInterrupts & ~IntSCI);
}

// BAUD and SCCR2 as a program's stores would leave them, without the register messages.
void TMachine::SetSciControl(uint8_t baud, uint8_t sccr2) {
    RegisterBlock[BAUD] = baud & kRegisterMap[BAUD].Mask;
    SciTiming();
    ApplySccr2(sccr2);
}

void TMachine::ApplySccr2(uint8_t sccr2) {
    RegisterBlock[SCCR2] = sccr2;
    EnabledInterrupts = uint16_t((EnabledInterrupts & ~IntSCI) | ((sccr2 & 0xF0) ? IntSCI : 0));
    SciRequest();
    SciWakeReceiver(SciFrameCycles);
}

// --- Transmitter ----------------------------------------------------------------------

// The transmit register moves to the free shift register: TDRE is set again, and the
// frame is on the line for `cycles`.
void TMachine::SciStartFrame(int32_t cycles) {
    SciShiftData = SciTransmitData;
    SciTransmitQueued = false;
    RegisterBlock[SCSR] |= kTdre;
    SciTransmitLeft = cycles;
}

// With TE clear a written byte goes nowhere. The ninth bit (T8) has no place on the
// terminal's screen.
void TMachine::SciTransmit(uint8_t byte) {
    if (!(RegisterBlock[SCCR2] & kTe)) return;
    WaitLoop.Output(CycleCount);
    RegisterBlock[SCSR] &= uint8_t(~(SciStatusSeen & (kTdre | kTc)));
    SciStatusSeen &= uint8_t(~(kTdre | kTc));
    SciTransmitData = byte;
    SciTransmitQueued = true;
    if (SciTransmitLeft == 0) SciStartFrame(SciFrameCycles);
    SciRequest();
}

// The frame is out: its byte reaches the screen, and the next queued byte follows at once
// (the overshoot of the step that ended this frame counts toward the next one).
void TMachine::SciFrameSent() {
    const int32_t late = -SciTransmitLeft;
    SciTransmitLeft = 0;
    const uint8_t byte = SciShiftData;
    if (SciTransmitQueued)
        SciStartFrame(std::max(1, SciFrameCycles - late));
    else
        RegisterBlock[SCSR] |= kTc;
    SciRequest();
    TerminalOutput(byte);
}

// --- Receiver -------------------------------------------------------------------------

// What the receiver still has to look for: a typed byte, an input file's next line, the
// idle frame after a byte, or the idle line that wakes it from RWU.
bool TMachine::SciReceiverBusy() const {
    const uint8_t control = RegisterBlock[SCCR2];
    if (!(control & kRe)) return false;
    const bool idleLineWake = (control & kRwu) && !(RegisterBlock[SCCR1] & kAddressMarkWake);
    return !InputBuffer.Empty() || InputFileOpen || SciIdleArmed || idleLineWake;
}

bool TMachine::SciWakesOnInput() const {
    return !FlagI && (RegisterBlock[SCCR2] & (kRie | kRe)) == (kRie | kRe);
}

// The receiver looks at the line in `cycles` if it has anything to look for and is not
// counting already.
void TMachine::SciWakeReceiver(int32_t cycles) {
    if (SciReceiveLeft == 0 && SciReceiverBusy()) SciReceiveLeft = cycles;
}

// A frame after the last look. While the receiver sleeps (RWU) typed bytes wait in the
// queue: it wakes at an address mark (a byte with its top bit set, which in 9-bit mode
// is the ninth bit, always 1 here) or, by idle line, when the queue has stayed empty for
// a frame.
void TMachine::SciLookAtLine() {
    const int32_t late = -SciReceiveLeft;
    SciReceiveLeft = 0;
    uint8_t& control = RegisterBlock[SCCR2];
    if (!(control & kRe)) return;
    // A program asleep in WAI with an input file open gets its next line as one that polls.
    if (InputBuffer.Empty() && InputFileOpen && (RunState == RunWaiting || WaitLoop.ReadyForLine(CycleCount)))
        FeedNextLine();
    const bool nineBits = RegisterBlock[SCCR1] & kNineBits;
    uint8_t& status = RegisterBlock[SCSR];
    if (control & kRwu) {
        const bool addressMark = RegisterBlock[SCCR1] & kAddressMarkWake;
        const bool wakes = addressMark ? !InputBuffer.Empty() && (nineBits || (InputBuffer.Front() & 0x80))
                                       : InputBuffer.Empty();
        if (!wakes) {
            SciWakeReceiver(SciFrameCycles);
            return;
        }
        control &= uint8_t(~kRwu);
    }
    if (InputBuffer.Empty()) {
        if (std::exchange(SciIdleArmed, false)) status |= kIdle;
    } else if (!(status & kRdrf)) {
        RegisterBlock[SCDR] = uint8_t(InputBuffer.Front());
        InputBuffer.PopFront();
        FrontPanel.PanelChanged(TPanelItem::TypedInput);
        if (nineBits) RegisterBlock[SCCR1] |= kR8;
        status |= kRdrf;
        SciIdleArmed = true;
        SciReceiveLeft = std::max(1, SciFrameCycles - late);
    }
    // With RDRF still set the next byte waits for the program to read SCDR.
    SciRequest();
    if (SciReceiveLeft == 0 && InputFileOpen) SciWakeReceiver(SciFrameCycles);
}

void TMachine::AdvanceSci(int32_t cycles) {
    if (SciTransmitLeft != 0 && (SciTransmitLeft -= cycles) <= 0) SciFrameSent();
    if (SciReceiveLeft != 0 && (SciReceiveLeft -= cycles) <= 0) SciLookAtLine();
}

// --- The program's reads --------------------------------------------------------------

// An SCSR read with nothing received and nothing on its way is a poll for a key, as an
// empty read of the terminal status port is.
void TMachine::ReadScsr() {
    if ((RegisterBlock[SCCR2] & kRe) && !(RegisterBlock[SCSR] & kRdrf) && InputBuffer.Empty()) {
        WaitLoop.Polled({RegisterPC, RegisterX, RegisterY, RegisterSP, RegisterA, RegisterB}, CycleCount);
        if (InputFileOpen && WaitLoop.ReadyForLine(CycleCount)) FeedNextLine();
        if (InputBuffer.Empty()) FrontPanel.StatusFoundNoInput();
    }
    DataByte = RegisterBlock[SCSR];
    SciStatusSeen = DataByte;
}

// Reading SCDR after SCSR clears the receive flags that read saw; the receiver may then
// take the next byte, a frame after the last at the soonest.
void TMachine::ReadScdr() {
    DataByte = RegisterBlock[SCDR];
    const uint8_t cleared = SciStatusSeen & kReceiveFlags;
    if (cleared == 0) return;
    RegisterBlock[SCSR] &= uint8_t(~cleared);
    SciStatusSeen &= uint8_t(~kReceiveFlags);
    SciRequest();
    if (cleared & kRdrf) SciWakeReceiver(1);
}

// Typed bytes, an input file's line: the receiver hears them a frame later.
void TMachine::InputArrived() {
    FrontPanel.PanelChanged(TPanelItem::TypedInput);
    SciWakeReceiver(SciFrameCycles);
}

}  // namespace hexmoor

namespace hexmoor::rules {

void WriteSciRate(TMachine& m) { m.SciTiming(); }

// R8 is the receiver's; the program sets T8, M and WAKE.
void WriteSccr1(TMachine& m) {
    m.RegisterWriteByte = uint8_t((m.RegisterWriteByte & ~kR8) | (m.RegisterBlock[SCCR1] & kR8));
    m.WriteRegInfo("SCCR1");
    m.RegisterBlock[SCCR1] = m.RegisterWriteByte;
    m.SciTiming();
}

void WriteSccr2(TMachine& m) {
    m.WriteRegInfo("SCCR2");
    m.ApplySccr2(m.RegisterWriteByte);
}

void WriteScdr(TMachine& m) {
    m.WriteRegInfo("SCDR");
    m.SciTransmit(m.RegisterWriteByte);
}

}  // namespace hexmoor::rules
