// The memory images and the address windows of the on-chip resources.
#pragma once

#include <array>
#include <cstdint>

namespace hexmoor {

inline constexpr int kRegisterCount = 96;
inline constexpr int kInternalRamSize = 1024;
inline constexpr int kEepromSize = 512;

struct TMemoryImages {
    bool operator==(const TMemoryImages&) const = default;
    // The address space as the CPU sees it; the on-chip RAM lives here while mapped.
    std::array<uint8_t, 0x10000> MemoryImage{};
    // External memory as loaded: what lies underneath the on-chip RAM window.
    std::array<uint8_t, 0x10000> ExternalImage{};
    // The on-chip RAM's contents while they are out of MemoryImage.
    std::array<uint8_t, kInternalRamSize> SavedRam{};
    std::array<uint8_t, kRegisterCount> RegisterBlock{};
    std::array<uint8_t, kEepromSize> EepromImage;  // erased ($FF) at creation

    TMemoryImages() { EepromImage.fill(0xFF); }
};

// Where the windows sit after reset: RAM, register block, IO1, IO2 and program chip
// select, as begin/end pairs.
inline constexpr std::array<int32_t, 10> kWindowResetTable{0,    1023, 4096, 4191, 4192,
                                                           6143, 6144, 8191, 0,    65535};

// Inclusive address ranges. Only the register window changes where a CPU access goes;
// the RAM window decides what is swapped, the others are shown on the panel.
// Pages of memory whose accesses leave the plain path: the register window's, pages a
// debugger watches, and pages where the external memory does not answer (in whole or in
// part): nothing does in a single-chip mode, the boot ROM covers $BF40-$BFFF while RBOOT
// is set.
enum TPageFlag : uint8_t { kRegisterPage = 1, kWatchedPage = 2, kOffChipPage = 4 };

struct TAddressWindows {
    bool operator==(const TAddressWindows&) const = default;
    std::array<uint8_t, 256> PageFlags{};  // TPageFlag bits for each 256-byte page
    int32_t IRamBeg = 0, IRamEnd = 0;
    int32_t IRegBeg = 0, IRegEnd = 0;
    int32_t IEEPromBeg = 0x0E00, IEEPromEnd = 0x0FFF;
    bool IEEPromEnabled = false;
    int32_t EProgBeg = 0, EProgEnd = 0;
    bool CsPrgEnabled = true;
    int32_t EIo1Beg = 0, EIo1End = 0;
    bool CsIo1Enabled = false;
    int32_t EIo2Beg = 0, EIo2End = 0;
    bool CsIo2Enabled = false;
    int32_t EGenBeg = 0, EGenEnd = 0;  // derived from the chip-select registers
    bool CsGenEnabled = false;

    TAddressWindows() { ResetWindows(); }

    // The register block's 96 bytes from `begin` on, and the pages they cover.
    void MoveRegisterWindow(int32_t begin) {
        for (uint8_t& flags : PageFlags) flags &= uint8_t(~kRegisterPage);
        IRegBeg = begin;
        IRegEnd = begin + kRegisterCount - 1;
        for (int32_t page = IRegBeg >> 8; page <= IRegEnd >> 8; ++page) PageFlags[page & 0xFF] |= kRegisterPage;
    }

    void ResetWindows() {
        const auto& t = kWindowResetTable;
        IRamBeg = t[0], IRamEnd = t[1];
        MoveRegisterWindow(t[2]);
        EIo1Beg = t[4], EIo1End = t[5];
        EIo2Beg = t[6], EIo2End = t[7];
        EProgBeg = t[8], EProgEnd = t[9];
    }
};

// Values carried between the instruction code, the memory primitives and the register
// handlers while one instruction executes; the panel reads some of them afterwards.
struct TScratch {
    bool operator==(const TScratch&) const = default;
    uint16_t EffectiveAddress = 0;
    uint8_t DataByte = 0;
    uint16_t OperandWord = 0;  // high byte at EffectiveAddress, low byte at +1
    int32_t RegisterOffset = 0;
    uint8_t RegisterWriteByte = 0;
    uint16_t InstructionLength = 0;
    int32_t InstructionCycles = 0;
    // 64-bit: a 32-bit count would overflow after minutes of simulated time.
    int64_t CycleCount = 0;
    uint16_t ChangeMask = 0;
    uint8_t BitMask = 0;      // mask byte of BSET, BCLR, BRSET, BRCLR
    int8_t BranchOffset = 0;  // offset byte of BRSET, BRCLR
};

}  // namespace hexmoor
