#include "state/StateFile.h"

#include <memory>
#include <vector>

#include "core/Crc32.h"
#include "core/OutputFile.h"
#include "core/TextLineReader.h"
#include "state/Sections.h"
#include "state/StateChecks.h"
#include "state/StateCodec.h"

namespace hexmoor {

namespace {

// The end of line and the DOS end of file catch a file that went through a text-mode copy.
constexpr std::string_view kMagic{"HEXMOOR STATE\r\n\x1A\n", 16};
// Magic, format version, layout digest, file length.
constexpr std::size_t kHeaderSize = kMagic.size() + 4 + 4 + 8;
constexpr std::size_t kChecksumSize = 4;

// The digest of every section's fields, names and widths: a build whose snapshot holds
// other fields than this one's cannot read this one's files, whatever its version says.
uint32_t LayoutDigest() {
    static const uint32_t digest = [] {
        const auto state = std::make_unique<TMachineState>();
        std::string layout;
        TLayoutWriter writer(layout);
        ForEachSection([&](const auto& section) {
            layout += section.Name;
            writer.Value(section.Part(*state));
        });
        return Crc32(layout);
    }();
    return digest;
}

std::string Sized(std::size_t bytes) { return std::to_string(bytes) + (bytes == 1 ? " byte" : " bytes"); }
std::string TooLarge() { return "too large (more than " + Sized(kMaxStateFileSize) + ")"; }

}  // namespace

uint32_t ProgramDigest(const TMemoryImages& images) {
    auto bytes = [](const auto& image) {
        return std::string_view(reinterpret_cast<const char*>(image.data()), image.size());
    };
    uint32_t crc = Crc32(bytes(images.MemoryImage));
    crc = Crc32(bytes(images.ExternalImage), crc);
    crc = Crc32(bytes(images.SavedRam), crc);
    return Crc32(bytes(images.EepromImage), crc);
}

std::string StateFileBytes(const TStateFile& file, std::string& error) {
    std::string bytes(kMagic);
    TStateWriter writer(bytes);
    writer.Number(kStateFormatVersion, 4);
    writer.Number(LayoutDigest(), 4);
    const std::size_t lengthAt = bytes.size();
    writer.Number(0, 8);  // the length, once known
    writer.Text(file.Program);
    writer.Number(file.ProgramDigest, 4);
    ForEachSection([&](const auto& section) {
        writer.Text(section.Name);
        const std::size_t sizeAt = bytes.size();
        writer.Number(0, 4);
        writer.Value(section.Part(file.State));
        const uint64_t size = bytes.size() - sizeAt - 4;
        for (int i = 0; i < 4; ++i) bytes[sizeAt + i] = char(size >> (8 * i));
    });
    const uint64_t length = bytes.size() + kChecksumSize;
    for (int i = 0; i < 8; ++i) bytes[lengthAt + i] = char(length >> (8 * i));
    writer.Number(Crc32(bytes), 4);
    error.clear();
    if (bytes.size() > kMaxStateFileSize)
        error = "the state is too large (" + Sized(bytes.size()) + ", more than " + Sized(kMaxStateFileSize) + ")";
    return bytes;
}

std::string ParseStateFile(std::string_view bytes, TStateFile& into) {
    if (bytes.size() > kMaxStateFileSize) return TooLarge();
    if (!bytes.starts_with(kMagic.substr(0, std::min(bytes.size(), kMagic.size()))) || bytes.empty())
        return "not a Hexmoor state file";
    if (bytes.size() < kHeaderSize + kChecksumSize) return "truncated (" + Sized(bytes.size()) + ")";
    TStateReader header(bytes.substr(kMagic.size(), kHeaderSize - kMagic.size()));
    const uint64_t version = header.Number(4), layout = header.Number(4), length = header.Number(8);
    if (version != kStateFormatVersion)
        return "from another version of Hexmoor (state format " + std::to_string(version) +
               "; this one reads format " + std::to_string(kStateFormatVersion) + ")";
    if (layout != LayoutDigest()) return "from another build of Hexmoor (its state holds other fields)";
    if (length > bytes.size()) return "truncated (" + Sized(bytes.size()) + " of " + std::to_string(length) + ")";
    if (length < bytes.size()) return "damaged (" + Sized(bytes.size() - length) + " past its end)";
    const std::string_view body = bytes.substr(0, bytes.size() - kChecksumSize);
    if (TStateReader(bytes.substr(body.size())).Number(4) != Crc32(body))
        return "damaged (its checksum does not match)";

    // A file with the right checksum that still does not read was made wrongly: damaged.
    TStateReader reader(body.substr(kHeaderSize));
    into.Program = reader.Text();
    into.ProgramDigest = uint32_t(reader.Number(4));
    ForEachSection([&](const auto& section) {
        if (!reader.Error().empty()) return;
        if (reader.Text() != section.Name) return reader.Fail(std::string("no ") + section.Name + " section where due");
        const std::size_t size = reader.Number(4);
        const std::string_view content = reader.Bytes(size);
        TStateReader part(content);
        part.Value(section.Part(into.State), section.Name);
        if (part.Error().empty() && !part.AtEnd()) part.Fail("bytes left over");
        if (!part.Error().empty()) reader.Fail(std::string(section.Name) + ": " + part.Error());
    });
    if (reader.Error().empty() && !reader.AtEnd()) reader.Fail("bytes after the last section");
    if (!reader.Error().empty()) return "damaged (" + reader.Error() + ")";
    if (const std::string impossible = ImpossibleValue(into.State); !impossible.empty())
        return "damaged (" + impossible + ")";
    return "";
}

std::string WriteStateFile(const std::string& path, const TStateFile& file) {
    std::string error;
    const std::string bytes = StateFileBytes(file, error);
    if (error.empty()) error = WriteOutputFile(path, bytes);
    return error.empty() ? "" : path + ": " + error;
}

std::string ReadStateFile(const std::string& path, TStateFile& into) {
    TTextLineReader file;
    std::vector<uint8_t> bytes;
    if (!file.Open(path) || !file.ReadAll(bytes, kMaxStateFileSize))
        return path + ": " + (bytes.size() > kMaxStateFileSize ? TooLarge() : file.Error());
    const std::string error =
        ParseStateFile(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), into);
    return error.empty() ? "" : path + ": " + error;
}

}  // namespace hexmoor
