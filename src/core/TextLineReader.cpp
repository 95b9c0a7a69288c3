#include "core/TextLineReader.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

namespace hexmoor {

bool TTextLineReader::Open(const std::string& path) {
    error_.clear();
    lineNumber_ = 0;
    file_.reset(std::fopen(path.c_str(), "rb"));
    if (!file_) {
        error_ = std::strerror(errno);
        return false;
    }
    struct stat status;
    if (fstat(fileno(file_.get()), &status) == 0 && S_ISDIR(status.st_mode)) {
        error_ = std::strerror(EISDIR);
        file_.reset();
        return false;
    }
    return true;
}

bool TTextLineReader::ReadLine(std::string& line) {
    line.clear();
    if (!file_ || !error_.empty()) return false;
    std::FILE* file = file_.get();
    int c = std::getc(file);
    if (c == EOF) {
        if (std::ferror(file)) error_ = std::strerror(errno);
        return false;
    }
    ++lineNumber_;
    for (; c != EOF && c != '\n'; c = std::getc(file)) {
        if (c == '\r') {
            const int next = std::getc(file);
            if (next != '\n' && next != EOF) std::ungetc(next, file);
            break;
        }
        if (line.size() == kMaxLineLength) {
            error_ = "line " + std::to_string(lineNumber_) + " is longer than " +
                     std::to_string(kMaxLineLength) + " characters";
            return false;
        }
        line += char(c);
    }
    if (c == EOF && std::ferror(file)) {
        error_ = std::strerror(errno);
        return false;
    }
    return true;
}

}  // namespace hexmoor
