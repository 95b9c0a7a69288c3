// Writing the files the user names without ever replacing what is not ours to replace: a
// device, a FIFO or standard output is written in place, a symbolic link is followed and
// stays a link, and a regular file is replaced whole (written beside it, then renamed
// over it, keeping its mode and, for root, its owner) so a failure leaves no half file.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace hexmoor {

// One file written whole. Open, Write, then Commit; an output dropped before Commit
// leaves a regular destination as it was. Each step returns "" or the reason it failed.
class TOutputFile {
public:
    TOutputFile() = default;
    TOutputFile(const TOutputFile&) = delete;
    TOutputFile& operator=(const TOutputFile&) = delete;
    ~TOutputFile();

    std::string Open(const std::string& path);
    // Standard output, written in place and left open.
    void OpenStandardOutput();
    std::string Write(std::string_view bytes);
    std::string Commit();

private:
    void Discard();

    int fd_ = -1;
    bool ownsFd_ = false;
    std::string temporary_;    // the file renamed over destination_, when replacing one
    std::string destination_;  // the file a chain of links finally names
};

// Writes `bytes` as the whole file at `path`. Returns "" or the reason it failed.
std::string WriteOutputFile(const std::string& path, std::string_view bytes);

// Opens a file written while a run goes on (a log, the printer): a device, FIFO or link
// is opened where it points, a regular file is emptied unless `append`. Returns the
// stream, or nullptr with `error` set to the reason.
std::FILE* OpenOutputStream(const std::string& path, bool append, std::string& error);

}  // namespace hexmoor
