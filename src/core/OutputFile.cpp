#include "core/OutputFile.h"

#include <fcntl.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace hexmoor {

namespace {

std::string Reason(int error) { return std::strerror(error); }

// The file a chain of symbolic links finally names: the path itself when it is no link,
// and a file that does not exist yet when the last link dangles.
std::string FinalTarget(std::string path, std::string& error) {
    for (int hops = 0; hops < 40; ++hops) {
        char target[PATH_MAX];
        const ssize_t length = readlink(path.c_str(), target, sizeof target);
        if (length < 0) {
            if (errno != EINVAL && errno != ENOENT) error = Reason(errno);
            return path;
        }
        if (std::size_t(length) == sizeof target) {
            error = Reason(ENAMETOOLONG);
            return path;
        }
        path = (std::filesystem::path(path).parent_path() / std::string(target, std::size_t(length))).string();
    }
    error = Reason(ELOOP);
    return path;
}

mode_t NewFileMode() {
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

}  // namespace

TOutputFile::~TOutputFile() { Discard(); }

void TOutputFile::Discard() {
    if (ownsFd_ && fd_ >= 0) close(fd_);
    if (!temporary_.empty()) unlink(temporary_.c_str());
    fd_ = -1;
    ownsFd_ = false;
    temporary_.clear();
}

// A regular file with one name is replaced whole; one with several names (hard links) is
// written in place so every name sees the new bytes, as is one in a folder we may not add
// to; anything else is written in place because it is not a file we may replace.
std::string TOutputFile::Open(const std::string& path) {
    Discard();
    std::string error;
    destination_ = FinalTarget(path, error);
    if (!error.empty()) return error;
    struct stat existing;
    const bool exists = stat(destination_.c_str(), &existing) == 0;
    if (!exists && errno != ENOENT) return Reason(errno);
    if (!exists || (S_ISREG(existing.st_mode) && existing.st_nlink == 1)) {
        std::string pattern = destination_ + ".XXXXXX";
        fd_ = mkostemp(pattern.data(), O_CLOEXEC);
        if (fd_ < 0 && !(exists && errno == EACCES)) return Reason(errno);
        if (fd_ >= 0) {
            ownsFd_ = true;
            temporary_ = pattern;
            // The owner first: changing it clears the set-user-ID bits the mode then
            // restores. Only root may give a file away; anyone else's copy becomes theirs,
            // without the set-ID bits that were another owner's.
            const bool ownerKept = !exists || fchown(fd_, existing.st_uid, existing.st_gid) == 0;
            if (!ownerKept && geteuid() == 0) error = Reason(errno);
            const mode_t mode = exists ? existing.st_mode & (ownerKept ? 07777 : 0777) : NewFileMode();
            if (error.empty() && fchmod(fd_, mode) != 0) error = Reason(errno);
            if (!error.empty()) Discard();
            return error;
        }
    }
    fd_ = open(destination_.c_str(), O_WRONLY | O_CLOEXEC | (S_ISREG(existing.st_mode) ? O_TRUNC : 0));
    if (fd_ < 0) return Reason(errno);
    ownsFd_ = true;
    return "";
}

void TOutputFile::OpenStandardOutput() {
    Discard();
    fd_ = STDOUT_FILENO;
}

std::string TOutputFile::Write(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = write(fd_, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return Reason(written < 0 ? errno : ENOSPC);
        bytes.remove_prefix(std::size_t(written));
    }
    return "";
}

// The bytes reach the disk before the rename, so a crash leaves the old file or the new
// one, never an empty one.
std::string TOutputFile::Commit() {
    std::string error;
    if (!temporary_.empty() && fsync(fd_) != 0) error = Reason(errno);
    if (ownsFd_ && close(fd_) != 0 && error.empty()) error = Reason(errno);
    fd_ = -1;
    ownsFd_ = false;
    if (error.empty() && !temporary_.empty() && rename(temporary_.c_str(), destination_.c_str()) != 0)
        error = Reason(errno);
    if (error.empty()) temporary_.clear();
    Discard();
    return error;
}

std::string WriteOutputFile(const std::string& path, std::string_view bytes) {
    TOutputFile file;
    std::string error = file.Open(path);
    if (error.empty()) error = file.Write(bytes);
    return error.empty() ? file.Commit() : error;
}

std::FILE* OpenOutputStream(const std::string& path, bool append, std::string& error) {
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | (append ? O_APPEND : 0), 0666);
    struct stat status;
    std::FILE* file = nullptr;
    if (fd >= 0 && fstat(fd, &status) == 0 && (append || !S_ISREG(status.st_mode) || ftruncate(fd, 0) == 0))
        file = fdopen(fd, append ? "ab" : "wb");
    if (file) return file;
    error = Reason(errno);
    if (fd >= 0) close(fd);
    return nullptr;
}

}  // namespace hexmoor
