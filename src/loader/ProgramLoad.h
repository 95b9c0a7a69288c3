// One load of a program file into the machine, whatever the file's format: where its bytes
// go, what the read-outs show meanwhile, how problems are told, and what a new program
// finds on the chip.
#pragma once

#include <bitset>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/Machine.h"

namespace hexmoor {

class TProgramLoad {
public:
    // The memory read-outs say LOAD from now on.
    TProgramLoad(TMachine& machine, std::string path);

    // The message for a file that cannot be loaded (whole), naming it and the reason.
    std::string CannotLoad(std::string_view reason) const;

    // A program byte into both images, shown on the read-outs under the Loading option.
    void Store(uint16_t address, uint8_t value);
    // Tells of a part of the file; a damaged part, of which nothing is stored, makes the
    // load partial. False when the user ends the load there (Cancel).
    bool Report(std::string_view message, bool damaged);
    // Tells why the file cannot be read on; the load is partial.
    void Fail(std::string_view reason);

    // With bytes stored: the read-outs show the last one, the on-chip parts are made ready
    // for the new program, and each run of bytes that went under the on-chip RAM draws a
    // warning (they read as 0 there). With none, the machine stays as it was; `noData` says
    // why a file read whole held nothing.
    TLoadResult Finish(std::string_view noData);

    TMachine& Machine;
    // False where the program's maker has told of bytes under the on-chip RAM already.
    bool WarnOnChipRam = true;

private:
    struct TOnChipRamRun {
        uint16_t Address;
        int Line;  // of the file, where it has lines
    };
    bool UnderOnChipRam(uint16_t address) const;
    void WarnOnChipRamRuns();

    std::string path_;
    TReadout shownAddress_, shownByte_, shownWord_;
    std::optional<uint16_t> lastAddress_;
    std::bitset<kInternalRamSize> ramBytes_;  // which of $0000-$03FF the program gives
    // (in bootstrap mode they go into the RAM)
    bool onlyRamBytes_ = true;
    std::vector<TOnChipRamRun> onChipRamRuns_;
    bool whole_ = true;  // every part arrived intact and the user let the load finish
};

}  // namespace hexmoor
