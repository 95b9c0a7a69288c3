// Sources for the assembler tests, given from a table instead of the file system, and the
// assembly's bytes and messages as short text to compare.
#pragma once

#include <map>
#include <string>

#include "asm/Assembler.h"
#include "core/Hex.h"

namespace hexmoor::testing {

class TTableSources : public TSourceFiles {
public:
    explicit TTableSources(std::map<std::string, std::string> files) : files_(std::move(files)) {}
    std::optional<std::string> Read(const std::string& path, std::string& error) override {
        const auto found = files_.find(path);
        if (found == files_.end()) {
            error = "no such file";
            return std::nullopt;
        }
        return found->second;
    }

private:
    std::map<std::string, std::string> files_;
};

inline TAssembly AssembleText(const std::string& text) {
    TTableSources sources({{"t.asm", text}});
    return Assemble("t.asm", sources);
}

// "2000: 86 41 | 2004: 01": each chunk's address and bytes.
inline std::string ChunksText(const TAssembly& assembly) {
    std::string text;
    for (const TAsmChunk& chunk : assembly.Chunks) {
        text += (text.empty() ? "" : " | ") + Hex4(chunk.Address) + ":";
        for (uint8_t byte : chunk.Bytes) text += " " + Hex2(byte);
    }
    return text;
}

inline std::string DiagnosticsText(const TAssembly& assembly) {
    std::string text;
    for (const TAsmDiagnostic& diagnostic : assembly.Diagnostics) text += FormatDiagnostic(diagnostic) + "\n";
    return text;
}

}  // namespace hexmoor::testing
