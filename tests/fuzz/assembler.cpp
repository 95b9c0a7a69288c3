// Arbitrary bytes as assembly sources: the assembler ends without a crash on any text and
// any web of INCLUDEs, every message points into a file it read, and a program it accepts
// comes out as S-records that read back as the bytes it placed.
#include <algorithm>
#include <filesystem>
#include <map>
#include <string>

#include "FuzzPanel.h"
#include "asm/Assembler.h"
#include "loader/S19Reader.h"

using namespace hexmoor;

namespace {

// The input split at NUL bytes: main.asm, then 1.inc, 2.inc, ... which any of them may
// INCLUDE (by that name, in any folder, since only the name is looked up).
class TFuzzSources : public TSourceFiles {
public:
    TFuzzSources(const uint8_t* data, std::size_t size) {
        const std::string_view input(reinterpret_cast<const char*>(data), size);
        std::size_t start = 0;
        for (int index = 0; start <= size; ++index) {
            std::size_t end = input.find('\0', start);
            if (end == std::string_view::npos) end = size;
            files_[index == 0 ? "main.asm" : std::to_string(index) + ".inc"] = input.substr(start, end - start);
            start = end + 1;
        }
    }
    std::optional<std::string> Read(const std::string& path, std::string& error) override {
        const auto file = files_.find(std::filesystem::path(path).filename().string());
        if (file != files_.end()) return file->second;
        error = "No such file or directory";
        return std::nullopt;
    }

private:
    std::map<std::string, std::string, std::less<>> files_;
};

void CheckMessages(const TAssembly& assembly) {
    for (const TAsmDiagnostic& diagnostic : assembly.Diagnostics) {
        if (diagnostic.Message.empty()) fuzz::Fail("a message without words");
        if (diagnostic.Line < 0 || diagnostic.Column < 0) fuzz::Fail("a message before the start of its file");
        if (std::find(assembly.Files.begin(), assembly.Files.end(), diagnostic.File) == assembly.Files.end())
            fuzz::Fail("a message about " + diagnostic.File + ", a file not read");
    }
}

// The S-records hold exactly the bytes of the chunks, the later of two at one address.
void CheckSRecords(const TAssembly& assembly) {
    std::map<uint16_t, uint8_t> placed, written;
    for (const TAsmChunk& chunk : assembly.Chunks)
        for (std::size_t i = 0; i < chunk.Bytes.size(); ++i) placed[uint16_t(chunk.Address + i)] = chunk.Bytes[i];
    const std::string text = S19Text(assembly);
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        const TS19Line line = ReadS19Line(std::string_view(text).substr(start, end - start));
        if (!line.Message.empty()) fuzz::Fail("an S-record the loader refuses: " + line.Message);
        for (const TS19Byte& byte : line.Bytes) written[byte.Address] = byte.Value;
        start = end + 1;
    }
    if (written != placed) fuzz::Fail("the S-records differ from the bytes placed");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    TFuzzSources sources(data, size);
    const TAssembly assembly = Assemble("main.asm", sources);
    CheckMessages(assembly);
    if (!assembly.Failed()) CheckSRecords(assembly);
    return 0;
}
