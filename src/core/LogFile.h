// The trace log: a text file the core appends trace lines to while it is open.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace hexmoor {

class TLogFile {
public:
    TLogFile() = default;
    TLogFile(const TLogFile&) = delete;
    TLogFile& operator=(const TLogFile&) = delete;
    ~TLogFile() { Close(); }

    // Creates the file empty (truncating an existing regular one; a device, FIFO or link is
    // written where it points). Returns "" or the reason it failed.
    std::string Open(const std::string& path);
    // Appends and flushes. Returns "" or the reason it failed.
    std::string Write(std::string_view text);
    void Close();

    bool IsOpen() const { return file_ != nullptr; }
    const std::string& Path() const { return path_; }

private:
    std::FILE* file_ = nullptr;
    std::string path_;
};

}  // namespace hexmoor
