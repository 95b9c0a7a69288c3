// Text files read line by line (programs and input files): lines end in LF, CRLF or CR,
// a line's length is bounded, and every failure comes with its reason.
#pragma once

#include <cstdio>
#include <memory>
#include <string>

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

    const std::string& Error() const { return error_; }
    int LineNumber() const { return lineNumber_; }

private:
    struct TCloser {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };
    std::unique_ptr<std::FILE, TCloser> file_;
    std::string error_;
    int lineNumber_ = 0;
};

}  // namespace hexmoor
