// An instruction as a listing of code shows it: addresses by their names, branch targets as
// addresses, no effective address (it depends on registers at run time); a byte that is no
// instruction as data.
#pragma once

#include <cstdint>
#include <string>

#include "core/Decoder.h"

namespace hexmoor {

// The name a program gives an address, where one of its symbols starts there.
class TAddressNames {
public:
    virtual ~TAddressNames() = default;
    virtual const std::string* NameAt(uint16_t address) const = 0;
};

// "LDAA #$41", "STAA PORTB", "BNE loop", "BRSET $25,X $80 wait", "FCB $41".
std::string ListingText(const TDecodedInstruction& instruction, const TAddressNames* names = nullptr);

}  // namespace hexmoor
