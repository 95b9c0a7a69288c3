// Reading the fields of a DWARF section one after another, in the ELF file's byte order. A
// read past the end of the bytes gives 0 (or an empty string) and leaves the cursor failed,
// so a damaged section is found by one check after the fields, never by a read past it.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace hexmoor {

class TDwarfCursor {
public:
    TDwarfCursor(std::span<const uint8_t> bytes, bool bigEndian) : bytes_(bytes), bigEndian_(bigEndian) {}

    bool Failed() const { return failed_; }
    bool AtEnd() const { return position_ >= bytes_.size(); }
    std::size_t Position() const { return position_; }
    std::size_t Left() const { return bytes_.size() - position_; }

    // An unsigned field of `size` bytes (1 to 8).
    uint64_t Fixed(std::size_t size) {
        if (!Has(size)) return 0;
        uint64_t value = 0;
        for (std::size_t i = 0; i < size; ++i) value = value << 8 | bytes_[position_ + (bigEndian_ ? i : size - 1 - i)];
        position_ += size;
        return value;
    }
    uint8_t Byte() { return uint8_t(Fixed(1)); }
    uint16_t Half() { return uint16_t(Fixed(2)); }
    uint32_t Word() { return uint32_t(Fixed(4)); }

    // LEB128 numbers: the bits past 64 are dropped.
    uint64_t Unsigned() { return Leb(false); }
    int64_t Signed() { return int64_t(Leb(true)); }

    // A NUL-terminated string, without its NUL.
    std::string_view String() {
        std::size_t end = position_;
        while (end < bytes_.size() && bytes_[end] != 0) ++end;
        if (end == bytes_.size()) {
            failed_ = true;
            position_ = end;
            return {};
        }
        const std::string_view text(reinterpret_cast<const char*>(bytes_.data()) + position_, end - position_);
        position_ = end + 1;
        return text;
    }

    void Skip(uint64_t size) {
        if (Has(size)) position_ += std::size_t(size);
    }

    // The next `size` bytes as a cursor of their own; this one goes past them.
    TDwarfCursor Part(uint64_t size) {
        if (!Has(size)) return {{}, bigEndian_};
        TDwarfCursor part(bytes_.subspan(position_, std::size_t(size)), bigEndian_);
        position_ += std::size_t(size);
        return part;
    }

private:
    bool Has(uint64_t size) {
        if (!failed_ && size <= Left()) return true;
        failed_ = true;
        position_ = bytes_.size();
        return false;
    }

    uint64_t Leb(bool sign) {
        uint64_t value = 0;
        unsigned shift = 0;
        for (;;) {
            if (!Has(1)) return 0;
            const uint8_t byte = bytes_[position_++];
            if (shift < 64) value |= uint64_t(byte & 0x7F) << shift;
            shift += 7;
            if (!(byte & 0x80)) break;
        }
        if (sign && shift < 64 && (bytes_[position_ - 1] & 0x40)) value |= ~uint64_t(0) << shift;
        return value;
    }

    std::span<const uint8_t> bytes_;
    bool bigEndian_;
    std::size_t position_ = 0;
    bool failed_ = false;
};

}  // namespace hexmoor
