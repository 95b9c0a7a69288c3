// Accesses to the pages off the plain path: the register window's and watched ones.
#include "core/Machine.h"

namespace hexmoor {

const TStopMarks TMachine::kNoStopMarks{};

uint8_t TMachine::ReadFlaggedPage(uint16_t address) {
    const uint8_t value = InRegisterWindow(address) ? ReadRegisterAt(address) : MemoryImage[address];
    if ((PageFlags[address >> 8] & kWatchedPage) && Debugger) Debugger->Accessed(*this, address, value, value, false);
    return value;
}

void TMachine::WriteFlaggedPage(uint16_t address, uint8_t byte) {
    uint8_t before;
    if (InRegisterWindow(address)) {
        before = RegisterBlock[address - IRegBeg];
        WriteRegisterAt(address, byte);
    } else {
        before = MemoryImage[address];
        WaitLoop.Stored(address, before, byte);
        MemoryImage[address] = byte;
    }
    if ((PageFlags[address >> 8] & kWatchedPage) && Debugger) Debugger->Accessed(*this, address, before, byte, true);
}

void TMachine::StopAfterInstruction() {
    SettleSpan();
    Change(Panel.RunningLed.Lit, false, TPanelItem::RunControls);
}

}  // namespace hexmoor
