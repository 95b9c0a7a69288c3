// The lines a command (an independent tool such as GNU objdump or nm) writes to its output.
#pragma once

#include <array>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace hexmoor::testing {

inline std::vector<std::string> CommandOutput(const std::string& command) {
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    std::vector<std::string> lines;
    std::string line;
    std::array<char, 4096> buffer;
    while (pipe && std::fgets(buffer.data(), int(buffer.size()), pipe.get())) {
        line += buffer.data();
        if (!line.ends_with('\n')) continue;
        line.pop_back();
        lines.push_back(std::move(line));
        line.clear();
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

}  // namespace hexmoor::testing
