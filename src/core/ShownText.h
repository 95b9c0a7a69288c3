// Bytes of a file quoted in a message: whatever the file holds, the message stays text that
// reaches a terminal or a dialog whole and harmless.
#pragma once

#include <string>
#include <string_view>

namespace hexmoor {

// UTF-8 characters are kept; a control byte (an escape sequence's start, a NUL, a C1 control
// such as the one-byte CSI) and each byte that is not part of a valid UTF-8 character
// appear as \xNN.
std::string ShownText(std::string_view bytes);

}  // namespace hexmoor
