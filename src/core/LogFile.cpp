#include "core/LogFile.h"

#include <cerrno>
#include <cstring>

#include "core/OutputFile.h"

namespace hexmoor {

std::string TLogFile::Open(const std::string& path) {
    Close();
    std::string error;
    file_ = OpenOutputStream(path, false, error);
    if (!file_) return error;
    path_ = path;
    return "";
}

std::string TLogFile::Write(std::string_view text) {
    errno = 0;
    if (std::fwrite(text.data(), 1, text.size(), file_) != text.size() || std::fflush(file_) != 0)
        return std::strerror(errno ? errno : EIO);
    return "";
}

void TLogFile::Close() {
    if (file_) std::fclose(file_);
    file_ = nullptr;
}

}  // namespace hexmoor
