// Keys typed at a real terminal, turned into the bytes the window's keyboard gives: the
// Backspace key's DEL as BS, and characters (which a UTF-8 terminal sends as several
// bytes) as their Windows-1252 byte. A character Windows-1252 lacks gives no byte.
#pragma once

#include <cstdint>
#include <optional>

namespace hexmoor {

class TTerminalKeys {
public:
    // The byte for the key so far, or nothing while a character is incomplete or has no
    // byte (then Unmapped() says so). Bytes that are no UTF-8 pass as they are.
    std::optional<uint8_t> Key(uint8_t byte);
    bool Unmapped() const { return unmapped_; }

private:
    char32_t codePoint_ = 0;
    int missing_ = 0;  // continuation bytes still to come
    bool unmapped_ = false;
};

}  // namespace hexmoor
