// The test programs written again in the classic syntax assemble to the very bytes, at the
// very addresses, that the GNU toolchain makes of the originals.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <optional>

#include "asm/Assembler.h"
#include "core/Hex.h"
#include "core/TextLineReader.h"
#include "loader/S19Reader.h"

namespace hexmoor {
namespace {

using TImage = std::map<uint16_t, uint8_t>;

// Every program in the folder; the files it includes are .inc, not programs of their own.
std::vector<std::string> ClassicPrograms() {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(HEXMOOR_CLASSIC_PROGRAMS_DIR))
        if (entry.path().extension() == ".asm") names.push_back(entry.path().stem().string());
    std::sort(names.begin(), names.end());
    return names;
}

TImage ImageOf(const TAssembly& assembly) {
    TImage image;
    for (const TAsmChunk& chunk : assembly.Chunks)
        for (std::size_t i = 0; i < chunk.Bytes.size(); ++i) image[uint16_t(chunk.Address + i)] = chunk.Bytes[i];
    return image;
}

TImage ReadS19File(const std::string& path) {
    TTextLineReader reader;
    EXPECT_TRUE(reader.Open(path)) << reader.Error();
    TImage image;
    std::string line;
    while (reader.ReadLine(line)) {
        const TS19Line record = ReadS19Line(line);
        EXPECT_EQ(record.Message, "") << path << ":" << reader.LineNumber();
        for (const TS19Byte& byte : record.Bytes) image[byte.Address] = byte.Value;
    }
    return image;
}

// The lowest address where one image has a byte the other lacks, or a different byte.
std::optional<uint16_t> FirstDifference(const TImage& a, const TImage& b) {
    auto i = a.begin();
    auto j = b.begin();
    for (; i != a.end() && j != b.end(); ++i, ++j)
        if (*i != *j) return std::min(i->first, j->first);
    if (i != a.end()) return i->first;
    if (j != b.end()) return j->first;
    return std::nullopt;
}

std::string ByteAt(const TImage& image, uint16_t address) {
    const auto found = image.find(address);
    return found == image.end() ? "none" : "$" + Hex2(found->second);
}

class ClassicProgram : public ::testing::TestWithParam<std::string> {};

TEST_P(ClassicProgram, GivesTheBytesOfTheGnuBuild) {
    const std::string name = GetParam();
    const TAssembly assembly = Assemble(std::string(HEXMOOR_CLASSIC_PROGRAMS_DIR) + "/" + name + ".asm");
    // A warning here too means a line did not read as it was meant.
    for (const TAsmDiagnostic& diagnostic : assembly.Diagnostics) ADD_FAILURE() << FormatDiagnostic(diagnostic);
    const TImage classic = ImageOf(assembly);
    const TImage gnu = ReadS19File(std::string(HEXMOOR_TEST_PROGRAMS_DIR) + "/" + name + ".s19");
    ASSERT_FALSE(gnu.empty());
    if (const std::optional<uint16_t> address = FirstDifference(classic, gnu))
        ADD_FAILURE() << "first difference at $" << Hex4(*address) << ": classic " << ByteAt(classic, *address)
                      << ", GNU " << ByteAt(gnu, *address);
}

INSTANTIATE_TEST_SUITE_P(Programs, ClassicProgram, ::testing::ValuesIn(ClassicPrograms()),
                         [](const ::testing::TestParamInfo<std::string>& info) { return info.param; });

}  // namespace
}  // namespace hexmoor
