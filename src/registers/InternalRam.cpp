// The on-chip RAM and register windows: the RAM's 1 KB lives in MemoryImage at its window,
// with the external memory beneath it kept in ExternalImage.
#include "core/Hex.h"
#include "core/Machine.h"

namespace hexmoor {

void TMachine::SaveInternalRam() {
    for (int i = 0; i < kInternalRamSize; ++i) {
        const uint16_t address = uint16_t(IRamBeg + i);
        SavedRam[i] = MemoryImage[address];
        MemoryImage[address] = ExternalImage[address];
    }
}

void TMachine::RestoreInternalRam() {
    for (int i = 0; i < kInternalRamSize; ++i) {
        const uint16_t address = uint16_t(IRamBeg + i);
        ExternalImage[address] = MemoryImage[address];
        MemoryImage[address] = SavedRam[i];
    }
}

// The RAM contents travel with the window; the external memory at the old place reappears.
void TMachine::RelocateWindows(int32_t registerBegin, int32_t ramBegin) {
    SaveInternalRam();
    MoveRegisterWindow(registerBegin);
    IRamBeg = ramBegin;
    IRamEnd = ramBegin + kInternalRamSize - 1;
    RestoreInternalRam();
    MapOffChipPages();
    ShowWindowLabels();
}

void TMachine::ShowWindowLabels() {
    const TPanelItem item = TPanelItem::MemoryMap;
    Change(Panel.IRamLabels.Begin, Hex4(uint16_t(IRamBeg)), item);
    Change(Panel.IRamLabels.End, Hex4(uint16_t(IRamEnd)), item);
    Change(Panel.IRegLabels.Begin, Hex4(uint16_t(IRegBeg)), item);
    Change(Panel.IRegLabels.End, Hex4(uint16_t(IRegEnd)), item);
}

}  // namespace hexmoor
