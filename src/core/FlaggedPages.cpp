// Where a debugger meets the machine: accesses to the pages off the plain path (the
// register window's, watched ones, and where the external memory gives way), the stop marks.
#include "core/Machine.h"

namespace hexmoor {

uint8_t TMachine::ReadFlaggedPage(uint16_t address, TReadKind kind) {
    uint8_t value;
    if (!InRegisterWindow(address)) value = BusByteAt(address);
    else if (kind == TReadKind::ForStore) value = ReadRegisterForStore(address);
    else value = ReadRegisterAt(address);
    if ((PageFlags[address >> 8] & kWatchedPage) && Debugger) Debugger->Accessed(*this, address, value, value, false);
    return value;
}

void TMachine::WriteFlaggedPage(uint16_t address, uint8_t byte) {
    uint8_t before;
    if (InRegisterWindow(address)) {
        before = RegisterBlock[address - IRegBeg];
        WriteRegisterAt(address, byte);
    } else if (!(PageFlags[address >> 8] & kOffChipPage) || ExternalMemoryAt(address)) {
        before = MemoryImage[address];
        WaitLoop.Stored(address, before, byte);
        MemoryImage[address] = byte;
    } else {
        before = BusByteAt(address);  // the boot ROM, or nothing, takes no write
    }
    if ((PageFlags[address >> 8] & kWatchedPage) && Debugger) Debugger->Accessed(*this, address, before, byte, true);
}

// An address past $FFFF is kept as typed and never reached.
void TMachine::SetBreakPointAddress(int32_t address) {
    if (BreakPointAddress >= 0 && BreakPointAddress <= 0xFFFF) StopMarks.Set(BreakPointAddress, kMenuBreakPoint, false);
    BreakPointAddress = address;
    if (address >= 0 && address <= 0xFFFF) StopMarks.Set(address, kMenuBreakPoint, true);
}

void TMachine::StopAfterInstruction() {
    SettleSpan();
    Change(Panel.RunningLed.Lit, false, TPanelItem::RunControls);
}

}  // namespace hexmoor
