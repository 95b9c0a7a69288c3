#include "core/ShownText.h"

#include <algorithm>

#include "core/Hex.h"

namespace hexmoor {

namespace {

// The length of the valid UTF-8 character at the start of `bytes`, 0 when there is none:
// no overlong form, no surrogate, nothing past U+10FFFF.
std::size_t Utf8Length(std::string_view bytes) {
    const auto byte = [&](std::size_t i) { return uint8_t(bytes[i]); };
    const uint8_t lead = byte(0);
    std::size_t length = 0;
    uint8_t low = 0x80, high = 0xBF;  // the range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    }
    if (length == 0 || bytes.size() < length || byte(1) < low || byte(1) > high) return 0;
    for (std::size_t i = 2; i < length; ++i)
        if (byte(i) < 0x80 || byte(i) > 0xBF) return 0;
    return length;
}

bool IsControl(std::string_view character) {
    const uint8_t first = uint8_t(character[0]);
    // C1 controls are U+0080 to U+009F: C2 80 to C2 9F.
    return first < 0x20 || first == 0x7F || (first == 0xC2 && uint8_t(character[1]) < 0xA0);
}

}  // namespace

std::string ShownText(std::string_view bytes) {
    std::string shown;
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t length = uint8_t(bytes[i]) < 0x80 ? 1 : Utf8Length(bytes.substr(i));
        if (length == 0 || IsControl(bytes.substr(i, length))) {
            for (std::size_t end = i + std::max<std::size_t>(length, 1); i < end; ++i)
                shown += "\\x" + Hex2(uint8_t(bytes[i]));
            continue;
        }
        shown += bytes.substr(i, length);
        i += length;
    }
    return shown;
}

}  // namespace hexmoor
