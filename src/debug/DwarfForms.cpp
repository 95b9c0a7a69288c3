#include "debug/DwarfForms.h"

namespace hexmoor {

namespace {

// Forms by their DWARF codes.
enum : uint64_t {
    kAddr = 0x01,
    kBlock2 = 0x03,
    kBlock4 = 0x04,
    kData2 = 0x05,
    kData4 = 0x06,
    kData8 = 0x07,
    kString = 0x08,
    kBlock = 0x09,
    kBlock1 = 0x0A,
    kData1 = 0x0B,
    kFlag = 0x0C,
    kSdata = 0x0D,
    kStrp = 0x0E,
    kUdata = 0x0F,
    kRefAddr = 0x10,
    kRef1 = 0x11,
    kRef2 = 0x12,
    kRef4 = 0x13,
    kRef8 = 0x14,
    kRefUdata = 0x15,
    kIndirect = 0x16,
    kSecOffset = 0x17,
    kExprloc = 0x18,
    kFlagPresent = 0x19,
    kStrx = 0x1A,
    kAddrx = 0x1B,
    kRefSup4 = 0x1C,
    kStrpSup = 0x1D,
    kData16 = 0x1E,
    kLineStrp = 0x1F,
    kRefSig8 = 0x20,
    kLoclistx = 0x22,
    kRnglistx = 0x23,
    kRefSup8 = 0x24,
    kStrx1 = 0x25,
    kStrx4 = 0x28,
    kAddrx1 = 0x29,
    kAddrx4 = 0x2C,
};

// The string at `offset` of a string section; nothing when it does not lie
// there whole.
std::optional<std::string_view> StringAt(std::span<const uint8_t> strings, uint64_t offset) {
    if (offset >= strings.size()) return std::nullopt;
    TDwarfCursor cursor(strings.subspan(std::size_t(offset)), true);
    const std::string_view text = cursor.String();
    if (cursor.Failed()) return std::nullopt;
    return text;
}

// Bytes of a fixed-size form (offsets are 32-bit); 0 for the others.
uint64_t FixedSize(uint64_t form, const TDwarfUnitShape &shape) {
    switch (form) {
        case kData1:
        case kRef1:
        case kFlag:
        case kStrx1:
        case kAddrx1:
            return 1;
        case kData2:
        case kRef2:
            return 2;
        case kData4:
        case kRef4:
        case kSecOffset:
        case kRefSup4:
        case kStrpSup:
        case kStrp:
        case kLineStrp:
            return 4;
        case kData8:
        case kRef8:
        case kRefSig8:
        case kRefSup8:
            return 8;
        case kData16:
            return 16;
        case kAddr:
            return shape.AddressSize;
        case kRefAddr:
            return shape.Version == 2 ? shape.AddressSize : 4;
        default:
            // strx2-4 and addrx2-4 follow strx1 and addrx1.
            if (form > kStrx1 && form <= kStrx4) return form - kStrx1 + 1;
            if (form > kAddrx1 && form <= kAddrx4) return form - kAddrx1 + 1;
            return 0;
    }
}

}  // namespace

std::optional<TDwarfValue> ReadDwarfForm(TDwarfCursor &cursor, uint64_t form, const TDwarfUnitShape &shape) {
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
            case kString:
                value.Text = cursor.String();
                break;
            case kUdata:
            case kRefUdata:
            case kStrx:
            case kAddrx:
            case kLoclistx:
            case kRnglistx:
                value.Number = cursor.Unsigned();
                break;
            case kSdata:
                value.Number = uint64_t(cursor.Signed());
                break;
            case kFlagPresent:
                value.Number = 1;
                break;
            case kFormImplicitConst:
                break;  // the caller has the value from the abbreviation
            case kBlock1:
                cursor.Skip(cursor.Byte());
                break;
            case kBlock2:
                cursor.Skip(cursor.Half());
                break;
            case kBlock4:
                cursor.Skip(cursor.Word());
                break;
            case kBlock:
            case kExprloc:
                cursor.Skip(cursor.Unsigned());
                break;
            default:
                return std::nullopt;
        }
    }
    if (cursor.Failed()) return std::nullopt;
    return value;
}

}  // namespace hexmoor
