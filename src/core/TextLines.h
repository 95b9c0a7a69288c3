// The lines of a text file read whole (an assembly source, a symbol list), as the editors of
// every system wrote them.
#pragma once

#include <string_view>
#include <vector>

namespace hexmoor {

// A UTF-8 byte-order mark is dropped, a line ends at LF, CR LF or a CR alone, and a DOS
// end-of-file mark (Ctrl-Z) ends the text. Every other byte stays as it is, so Latin-1 and
// Windows-1252 text in comments and strings reaches FCC unchanged.
std::vector<std::string_view> TextLines(std::string_view text);

}  // namespace hexmoor
