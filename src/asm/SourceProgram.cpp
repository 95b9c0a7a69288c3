#include "asm/SourceProgram.h"

namespace hexmoor {

std::optional<std::vector<TProgramAssembler::TBytes>> TSourceProgram::Assemble(const std::string& path) {
    ++attempts_;
    TAssembly assembly = hexmoor::Assemble(path);
    if (!assembly.Diagnostics.empty() && report_) report_(assembly);
    if (assembly.Failed()) return std::nullopt;
    std::vector<TBytes> program;
    for (const TAsmChunk& chunk : assembly.Chunks) program.push_back({chunk.Address, chunk.Bytes});
    loaded_ = std::move(assembly);
    loadedPath_ = path;
    ++loads_;
    return program;
}

}  // namespace hexmoor
