// Sources read from the file system, for the command and the window.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "asm/Assembler.h"

namespace hexmoor {

namespace {

// Far beyond any source for a 64 KiB machine.
constexpr std::size_t kLargestSource = std::size_t(64) << 20;

class TFileSystemSources : public TSourceFiles {
public:
    std::optional<std::string> Read(const std::string& path, std::string& error) override {
        // A device or a pipe (INCLUDE /dev/zero) could be read for ever.
        std::error_code code;
        if (!std::filesystem::is_regular_file(path, code)) {
            error = std::filesystem::exists(path, code) ? "not a regular file" : std::strerror(ENOENT);
            return std::nullopt;
        }
        std::FILE* file = std::fopen(path.c_str(), "rb");
        if (!file) {
            error = std::strerror(errno);
            return std::nullopt;
        }
        std::string text;
        char buffer[65536];
        while (const std::size_t count = std::fread(buffer, 1, sizeof buffer, file)) {
            text.append(buffer, count);
            if (text.size() > kLargestSource) break;
        }
        const bool failed = std::ferror(file);
        std::fclose(file);
        if (failed || text.size() > kLargestSource) {
            error = failed ? "read error" : "larger than " + std::to_string(kLargestSource >> 20) + " MiB";
            return std::nullopt;
        }
        return text;
    }
};

}  // namespace

TAssembly Assemble(const std::string& path) {
    TFileSystemSources files;
    return Assemble(path, files);
}

}  // namespace hexmoor
