// The listing form of instructions: names for addresses, absolute branch targets, data for
// bytes that are no instruction.
#include <gmock/gmock.h>

#include <map>

#include "core/ListingText.h"

namespace hexmoor::testing {
namespace {

class TNames : public TAddressNames {
public:
    const std::string* NameAt(uint16_t address) const override {
        const auto found = names_.find(address);
        return found == names_.end() ? nullptr : &found->second;
    }

private:
    std::map<uint16_t, std::string> names_{{0x1004, "PORTB"}, {0x0040, "count"}, {0xE010, "loop"}};
};

TEST(ListingText, AddressesByNameAndTargetsAbsolute) {
    struct TCase {
        uint16_t Address;
        std::vector<uint8_t> Code;
        const char* Text;
        int Length;
    };
    const TCase cases[] = {
        {0xE000, {0x86, 0x41}, "LDAA #$41", 2},
        {0xE000, {0xCE, 0x10, 0x04}, "LDX #$1004", 3},  // an immediate is a number, not an address
        {0xE000, {0xB7, 0x10, 0x04}, "STAA PORTB", 3},
        {0xE000, {0xB7, 0x10, 0x05}, "STAA $1005", 3},
        {0xE000, {0x96, 0x40}, "LDAA count", 2},
        {0xE000, {0x96, 0x41}, "LDAA $41", 2},
        {0xE000, {0xB6, 0x00, 0x41}, "LDAA >$0041", 3},
        {0xE000, {0xB6, 0x00, 0x40}, "LDAA >count", 3},
        {0xE000, {0xA6, 0x40}, "LDAA $40,X", 2},
        {0xE000, {0x18, 0xA6, 0x40}, "LDAA $40,Y", 3},
        {0xE020, {0x26, 0xEE}, "BNE loop", 2},
        {0xE020, {0x26, 0xF0}, "BNE $E012", 2},
        {0xFFFE, {0x20, 0x00}, "BRA $0000", 2},
        {0xE000, {0x12, 0x40, 0x80, 0x0C}, "BRSET count $80 loop", 4},
        {0xE000, {0x18, 0x1E, 0x05, 0x01, 0xFB}, "BRSET $05,Y $01 $E000", 5},
        {0xE000, {0x1D, 0x05, 0x34}, "BCLR $05,X $34", 3},
        {0xE000, {0x41}, "FCB $41", 1},
        {0xE000, {0x18, 0x41}, "FCB $18", 1},
        {0xE000, {0x00}, "FCB $00", 1},
    };
    const TNames names;
    for (const TCase& c : cases) {
        TInstructionBytes bytes{};
        std::copy(c.Code.begin(), c.Code.end(), bytes.begin());
        const TDecodedInstruction d = DecodeAt(c.Address, bytes);
        EXPECT_EQ(ListingText(d, &names), c.Text);
        EXPECT_EQ(d.Length, c.Length) << c.Text;
    }
}

}  // namespace
}  // namespace hexmoor::testing
