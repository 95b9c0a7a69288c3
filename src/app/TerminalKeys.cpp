#include "app/TerminalKeys.h"

#include "io/Lumocrt/Windows1252.h"

namespace hexmoor {

namespace {

constexpr uint8_t kDelete = 0x7F, kBackspace = 0x08;

}  // namespace

std::optional<uint8_t> TTerminalKeys::Key(uint8_t byte) {
    unmapped_ = false;
    if (missing_ > 0 && (byte & 0xC0) == 0x80) {
        codePoint_ = codePoint_ << 6 | (byte & 0x3F);
        if (--missing_ > 0) return std::nullopt;
        const std::optional<uint8_t> mapped = Windows1252Byte(codePoint_);
        unmapped_ = !mapped;
        return mapped;
    }
    missing_ = 0;
    if (byte == kDelete) return kBackspace;
    const int length = (byte & 0xE0) == 0xC0 ? 2 : (byte & 0xF0) == 0xE0 ? 3 : (byte & 0xF8) == 0xF0 ? 4 : 1;
    if (length == 1) return byte;
    missing_ = length - 1;
    codePoint_ = byte & (0x7F >> length);
    return std::nullopt;
}

}  // namespace hexmoor
