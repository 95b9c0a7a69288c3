// Text files read line by line (programs and input files): lines end in LF, CRLF or CR,
// a line's length is bounded, and every failure comes with its reason. A program file may
// also be binary (ELF): its first bytes tell, and it is then read whole.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace hexmoor {

class TTextLineReader {
public:
    // Far beyond any S-record or program line; it keeps a file without line ends (a device
    // such as /dev/zero) from eating memory.
    static constexpr std::size_t kMaxLineLength = 65536;

    // False, with Error() set, when the path cannot be opened as a file for reading.
    bool Open(const std::string& path);
    void Close() { file_.reset(); }
    bool IsOpen() const { return file_ != nullptr; }

    // The next line without its end. False at the end of the file, and on a failure (a read
    // error, a line longer than kMaxLineLength), which sets Error().
    bool ReadLine(std::string& line);

    // Whether the file goes on with `prefix`. The bytes looked at are not used up: the next
    // ReadLine or ReadAll reads them, without going back in the file, so a pipe works.
    bool StartsWith(std::string_view prefix);

    // The rest of the file as bytes. False, with Error() set, on a read failure or when more
    // than `limit` bytes are left (a device such as /dev/zero never ends).
    bool ReadAll(std::vector<uint8_t>& bytes, std::size_t limit);

    const std::string& Error() const { return error_; }
    int LineNumber() const { return lineNumber_; }

private:
    int Get();
    void Unget(int c);

    struct TCloser {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };
    std::unique_ptr<std::FILE, TCloser> file_;
    std::string error_;
    int lineNumber_ = 0;
    std::string lookedAt_;  // bytes StartsWith read ahead, from lookedAtUsed_ on not yet read
    std::size_t lookedAtUsed_ = 0;
};

}  // namespace hexmoor
