#include "core/TextLineReader.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace hexmoor {

bool TTextLineReader::Open(const std::string& path) {
    error_.clear();
    lineNumber_ = 0;
    lookedAt_.clear();
    lookedAtUsed_ = 0;
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

int TTextLineReader::Get() {
    if (lookedAtUsed_ < lookedAt_.size()) return uint8_t(lookedAt_[lookedAtUsed_++]);
    lookedAt_.clear();
    lookedAtUsed_ = 0;
    return std::getc(file_.get());
}

// Puts back the byte Get just returned: into the looked-at bytes when it came from them.
void TTextLineReader::Unget(int c) {
    if (lookedAtUsed_ > 0)
        --lookedAtUsed_;
    else
        std::ungetc(c, file_.get());
}

bool TTextLineReader::StartsWith(std::string_view prefix) {
    if (!file_ || !error_.empty()) return false;
    while (lookedAt_.size() - lookedAtUsed_ < prefix.size()) {
        const int c = std::getc(file_.get());
        if (c == EOF) {
            if (std::ferror(file_.get())) error_ = std::strerror(errno);
            break;
        }
        lookedAt_ += char(c);
    }
    return std::string_view(lookedAt_).substr(lookedAtUsed_).starts_with(prefix);
}

bool TTextLineReader::ReadAll(std::vector<uint8_t>& bytes, std::size_t limit) {
    bytes.assign(lookedAt_.begin() + std::ptrdiff_t(lookedAtUsed_), lookedAt_.end());
    lookedAt_.clear();
    lookedAtUsed_ = 0;
    if (!file_ || !error_.empty()) return false;
    std::FILE* file = file_.get();
    constexpr std::size_t kChunk = 65536;
    // One byte past the limit tells a file of exactly `limit` bytes from a longer one.
    while (bytes.size() <= limit) {
        const std::size_t had = bytes.size();
        bytes.resize(had + std::min(kChunk, limit + 1 - had));
        const std::size_t read = std::fread(bytes.data() + had, 1, bytes.size() - had, file);
        bytes.resize(had + read);
        if (read > 0) continue;
        if (!std::ferror(file)) return true;
        error_ = std::strerror(errno);
        return false;
    }
    error_ = "the file is longer than " + std::to_string(limit) + " bytes";
    return false;
}

bool TTextLineReader::ReadLine(std::string& line) {
    line.clear();
    if (!file_ || !error_.empty()) return false;
    std::FILE* file = file_.get();
    int c = Get();
    if (c == EOF) {
        if (std::ferror(file)) error_ = std::strerror(errno);
        return false;
    }
    ++lineNumber_;
    for (; c != EOF && c != '\n'; c = Get()) {
        if (c == '\r') {
            const int next = Get();
            if (next != '\n' && next != EOF) Unget(next);
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
