// Destinations a program must write through rather than replace: a FIFO read while the
// program runs, and a symbolic link to a file in another folder.
#pragma once

#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

namespace hexmoor::testing {

inline std::string FileText(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

// What a new FIFO at `path` receives while `run` runs. The reader gives up after a
// generous deadline, so an output that never arrives fails the test instead of hanging it.
inline std::string ReadFifoDuring(const std::string& path, const std::function<void()>& run) {
    std::filesystem::remove(path);
    if (mkfifo(path.c_str(), 0600) != 0) return "(no FIFO)";
    const std::string received = path + ".received";
    std::FILE* reader = popen(("timeout 30 cat " + path + " > " + received).c_str(), "w");
    run();
    if (reader) pclose(reader);
    return FileText(received);
}

// A link at `path` to `folder/target`, given relative to the link; the target holds "old".
inline std::string MakeLinkToFileElsewhere(const std::string& path, const std::string& target) {
    const std::filesystem::path link(path);
    std::filesystem::remove(link);
    std::filesystem::create_directories(link.parent_path() / "elsewhere");
    const std::filesystem::path file = link.parent_path() / "elsewhere" / target;
    std::ofstream(file, std::ios::binary) << "old";
    std::filesystem::create_symlink(std::filesystem::path("elsewhere") / target, link);
    return file.string();
}

}  // namespace hexmoor::testing
