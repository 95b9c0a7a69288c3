#include "core/LogFile.h"

#include <cerrno>
#include <cstring>

namespace hexmoor {

std::string TLogFile::Open(const std::string& path) {
    Close();
    file_ = std::fopen(path.c_str(), "w");
    if (!file_) return std::strerror(errno);
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
