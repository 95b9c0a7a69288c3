// The operating modes: the mode pins, what HPRIO's RBOOT, SMOD and MDA make of the address
// space, and the boot ROM that special bootstrap mode maps in.
#include <array>

#include "core/Machine.h"
#include "registers/RegisterMap.h"

namespace hexmoor {

namespace {

constexpr uint8_t kRboot = 0x80, kSmod = 0x40, kMda = 0x20;
constexpr uint16_t kBootRomBegin = 0xBF40;
constexpr uint16_t kBootLoaderExit = 0xBF40;  // where the boot ROM's reset vector leads
constexpr uint16_t kFirstVector = 0xFFD6;     // the SCI's; the reset vector is the last
constexpr uint16_t kFirstPseudoVector = 0x00C4;

// Our own stand-in for the boot ROM, not Motorola's code: the download itself is not
// modelled, so the loader's entry only jumps to the program in RAM, as the loader does when
// a download ends. Each vector leads to a three-byte pseudo-vector in RAM ($00C4 for the
// SCI ... $00FD for the clock monitor) where the program puts a JMP to its handler.
constexpr std::array<uint8_t, 0x10000 - kBootRomBegin> MakeBootRom() {
    std::array<uint8_t, 0x10000 - kBootRomBegin> rom{};
    for (uint8_t& byte : rom) byte = 0xFF;
    const uint16_t exit = kBootLoaderExit - kBootRomBegin;
    rom[exit] = 0x7E;  // JMP $0000
    rom[exit + 1] = rom[exit + 2] = 0x00;
    for (int vector = 0; vector < 20; ++vector) {
        const int at = (kFirstVector & 0xBFFF) - kBootRomBegin + 2 * vector;
        const int pseudo = kFirstPseudoVector + 3 * vector;
        rom[at] = uint8_t(pseudo >> 8);
        rom[at + 1] = uint8_t(pseudo);
    }
    rom[0xBFFE - kBootRomBegin] = uint8_t(kBootLoaderExit >> 8);
    rom[0xBFFF - kBootRomBegin] = uint8_t(kBootLoaderExit);
    return rom;
}
constexpr auto kBootRom = MakeBootRom();

bool BootRomAt(const TMachine& m, uint16_t address) {
    return (m.RegisterBlock[HPRIO] & kRboot) && address >= kBootRomBegin && address <= 0xBFFF;
}

}  // namespace

void TMachine::ModeLedClick() {
    const bool expanded = !Panel.MODALed.Lit;
    for (TLed* led : {&Panel.MODALed, &Panel.MODBLed}) {
        Change(led->Lit, expanded, TPanelItem::RunControls);
        Change(led->Hint, expanded ? kExpandedPinsHint : kBootstrapPinsHint, TPanelItem::RunControls);
    }
    RecordInput(TInput::ModeLed);
}

// The memory answers where the bus is on (the expanded modes, MDA set) and in the on-chip
// RAM and the EEPROM always, except under the boot ROM.
bool TMachine::ExternalMemoryAt(uint16_t address) const {
    if (BootRomAt(*this, address)) return false;
    return (OperatingMode & 1) || (address >= IRamBeg && address <= IRamEnd) ||
           (address >= IEEPromBeg && address <= IEEPromEnd);
}

uint8_t TMachine::BusByteAt(uint16_t address) const {
    if (!(PageFlags[address >> 8] & kOffChipPage) || ExternalMemoryAt(address)) return MemoryImage[address];
    if (BootRomAt(*this, address)) return kBootRom[address - kBootRomBegin];
    return 0xFF;  // no device drives the data bus
}

uint16_t TMachine::ReadVector(uint16_t vector) const {
    const uint16_t at = SpecialMode() ? uint16_t(vector & 0xBFFF) : vector;
    return uint16_t(BusByteAt(at) << 8 | BusByteAt(uint16_t(at + 1)));
}

void TMachine::ApplyModeBits() {
    const uint8_t hprio = RegisterBlock[HPRIO];
    OperatingMode = uint8_t(((hprio & kSmod) ? 0 : 2) + ((hprio & kMda) ? 1 : 0));
    MapOffChipPages();
    SetPortConfiguration();
    UpdatePortCDirection();
    UpdatePortGDirection();
}

void TMachine::MapOffChipPages() {
    for (int page = 0; page < 256; ++page) {
        const uint16_t first = uint16_t(page << 8), last = uint16_t(first | 0xFF);
        // The RAM, the EEPROM and the boot ROM begin and end on page bounds or, for the
        // boot ROM, end on one: a page's two ends tell whether all of it is memory.
        const bool plain = ExternalMemoryAt(first) && ExternalMemoryAt(last);
        PageFlags[page] = uint8_t(plain ? PageFlags[page] & ~kOffChipPage : PageFlags[page] | kOffChipPage);
    }
}

}  // namespace hexmoor
