// Temporary files of one test process: each process (CTest runs one test per process) has
// its own folder, so tests running side by side never share a file.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <stdexcept>
#include <string>

namespace hexmoor::testing {

class TTempFolder {
public:
    TTempFolder() {
        std::string pattern = ::testing::TempDir() + "hexmoor_test_XXXXXX";
        if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot create a temporary folder");
        path_ = pattern + "/";
    }
    ~TTempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TTempFolder(const TTempFolder&) = delete;
    TTempFolder& operator=(const TTempFolder&) = delete;
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

// A path in this process's folder, removed with it when the process ends.
inline std::string TempPath(const std::string& name) {
    static const TTempFolder folder;
    return folder.Path() + name;
}

}  // namespace hexmoor::testing
