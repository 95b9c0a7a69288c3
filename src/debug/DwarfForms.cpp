#include "debug/DwarfForms.h"

namespace hexmoor {

namespace {

// The forms read by kind; the others have a fixed size.
enum : uint64_t {
    kAddr = 0x01, kBlock2 = 0x03, kBlock4 = 0x04, kString = 0x08, kBlock = 0x09, kBlock1 = 0x0A, kSdata = 0x0D,
    kStrp = 0x0E, kUdata = 0x0F, kRefAddr = 0x10, kRefUdata = 0x15, kIndirect = 0x16, kExprloc = 0x18,
    kFlagPresent = 0x19, kStrx = 0x1A, kAddrx = 0x1B, kLineStrp = 0x1F, kLoclistx = 0x22, kRnglistx = 0x23,
};

// The bytes of each form of a fixed size, by its code; 0 for the others. Offsets are 32-bit.
constexpr uint8_t kFixedSizes[] = {
    // -, addr, -, block2, block4, data2, data4, data8, string, block, block1, data1, flag, sdata, strp, udata
    0, 0, 0, 0, 0, 2, 4, 8, 0, 0, 0, 1, 1, 0, 4, 0,
    // ref_addr, ref1, ref2, ref4, ref8, ref_udata, indirect, sec_offset, exprloc, flag_present, strx,
    // addrx, ref_sup4, strp_sup, data16, line_strp
    0, 1, 2, 4, 8, 0, 0, 4, 0, 0, 0, 0, 4, 4, 16, 4,
    // ref_sig8, implicit_const, loclistx, rnglistx, ref_sup8, strx1 to strx4, addrx1 to addrx4
    8, 0, 0, 0, 8, 1, 2, 3, 4, 1, 2, 3, 4,
};

uint64_t FixedSize(uint64_t form, const TDwarfUnitShape& shape) {
    if (form == kAddr) return shape.AddressSize;
    if (form == kRefAddr) return shape.Version == 2 ? shape.AddressSize : 4;
    return form < std::size(kFixedSizes) ? kFixedSizes[form] : 0;
}

// The string at `offset` of a string section; nothing when it does not lie there whole.
std::optional<std::string_view> StringAt(std::span<const uint8_t> strings, uint64_t offset) {
    if (offset >= strings.size()) return std::nullopt;
    TDwarfCursor cursor(strings.subspan(std::size_t(offset)), true);
    const std::string_view text = cursor.String();
    if (cursor.Failed()) return std::nullopt;
    return text;
}

}  // namespace

std::optional<TDwarfValue> ReadDwarfForm(TDwarfCursor& cursor, uint64_t form, const TDwarfUnitShape& shape) {
    // An indirect form names the real one in the entry; every round takes a byte.
    while (form == kIndirect && !cursor.Failed()) form = cursor.Unsigned();
    TDwarfValue value;
    if (const uint64_t size = FixedSize(form, shape); size > 0) {
        if (size > 8)
            cursor.Skip(size);
        else
            value.Number = cursor.Fixed(std::size_t(size));
        if (form == kStrp) value.Text = StringAt(shape.Strings, value.Number);
        if (form == kLineStrp) value.Text = StringAt(shape.LineStrings, value.Number);
    } else {
        switch (form) {
            case kString: value.Text = cursor.String(); break;
            case kUdata: case kRefUdata: case kStrx: case kAddrx: case kLoclistx: case kRnglistx:
                value.Number = cursor.Unsigned();
                break;
            case kSdata: value.Number = uint64_t(cursor.Signed()); break;
            case kFlagPresent: value.Number = 1; break;
            case kFormImplicitConst: break;  // the caller has the value from the abbreviation
            case kBlock1: cursor.Skip(cursor.Byte()); break;
            case kBlock2: cursor.Skip(cursor.Half()); break;
            case kBlock4: cursor.Skip(cursor.Word()); break;
            case kBlock: case kExprloc: cursor.Skip(cursor.Unsigned()); break;
            default: return std::nullopt;
        }
    }
    if (cursor.Failed()) return std::nullopt;
    return value;
}

}  // namespace hexmoor
