// State files: a snapshot comes back from its file as it went in, and a file that is not
// one, or not whole, or not as written, is refused with the reason.
#include <gmock/gmock.h>

#include <fstream>
#include <memory>

#include "core/Crc32.h"
#include "state/StateFile.h"
#include "support/TempFolder.h"
#include "support/TestMachine.h"

namespace hexmoor::testing {
namespace {

using ::testing::IsEmpty;

std::unique_ptr<TStateFile> RanHello() {
    TTestMachine t;
    t.LoadThroughPanel("hello");
    t.Machine->Panel.RunningLed.Lit = true;
    t.Machine->RunSlice(TRunLimits{200}, 1000);
    auto file = std::make_unique<TStateFile>();
    file->Program = "hello.s19";
    file->ProgramDigest = 0x12345678;
    file->State = CaptureState(*t.Machine);
    return file;
}

std::string Bytes(const TStateFile& file) {
    std::string error;
    std::string bytes = StateFileBytes(file, error);
    EXPECT_EQ(error, "");
    return bytes;
}

// The checksum made right again after a change.
std::string Resealed(std::string bytes) {
    const uint32_t crc = Crc32(std::string_view(bytes).substr(0, bytes.size() - 4));
    for (int i = 0; i < 4; ++i) bytes[bytes.size() - 4 + i] = char(crc >> (8 * i));
    return bytes;
}

TEST(StateFile, ASnapshotComesBackAsItWent) {
    const auto written = RanHello();
    const std::string path = TempPath("hello.state");
    ASSERT_EQ(WriteStateFile(path, *written), "");
    const auto read = std::make_unique<TStateFile>();
    ASSERT_EQ(ReadStateFile(path, *read), "");
    EXPECT_EQ(read->Program, "hello.s19");
    EXPECT_EQ(read->ProgramDigest, 0x12345678u);
    EXPECT_THAT(StateDifferences(written->State, read->State), IsEmpty());
    EXPECT_EQ(read->State.Screen.Cells[0][0].Char, 'H');
    // Pages of zeros are left out: a small program's state is small.
    EXPECT_LT(std::ifstream(path, std::ios::binary | std::ios::ate).tellg(), 64 * 1024);
}

TEST(StateFile, DamagedFilesAreRefused) {
    const auto file = RanHello();
    const std::string good = Bytes(*file);
    file->State.RunState = 20;
    const std::string impossible = Bytes(*file);
    file->State.RunState = RunNormal;
    file->State.Panel.IoPanel.Pins = TPortGroup(kPortGroupCount);
    const std::string noSuchGroup = Bytes(*file);
    std::string otherVersion = good, otherLayout = good, flipped = good;
    otherVersion[16] = 2;
    otherLayout[20] ^= 1;
    flipped[good.size() / 2] ^= 0x40;
    std::string headerAlone = good.substr(0, 32);  // its length field: 32
    headerAlone.replace(24, 8, std::string("\x20\0\0\0\0\0\0\0", 8));
    struct TCase {
        const char* Name;
        std::string Bytes;
        std::string Refusal;
    };
    const TCase cases[] = {
        {"empty", "", "not a Hexmoor state file"},
        {"S-records", "S1130000285F245F2212226A000424290008237C2A\n", "not a Hexmoor state file"},
        {"cut in its magic", good.substr(0, 10), "truncated (10 bytes)"},
        {"a header saying it is all", headerAlone, "truncated (32 bytes)"},
        {"cut in half", good.substr(0, good.size() / 2),
         "truncated (" + std::to_string(good.size() / 2) + " bytes of " + std::to_string(good.size()) + ")"},
        {"one byte flipped", flipped, "damaged (its checksum does not match)"},
        {"a byte past its end", good + '\0', "damaged (1 byte past its end)"},
        {"another version", otherVersion, "from another version of Hexmoor (state format 2; this one reads format 1)"},
        {"another layout", otherLayout, "from another build of Hexmoor (its state holds other fields)"},
        {"a value no machine holds", impossible, "damaged (RunState is out of range)"},
        {"a value past an enumeration's", noSuchGroup, "damaged (Panel: Pins is out of range)"},
        {"a section renamed", Resealed(std::string(good).replace(good.find("Scratch"), 7, "Scrotch")),
         "damaged (no Scratch section where due)"},
        {"too large", good + std::string(kMaxStateFileSize, '\0'), "too large (more than 67108864 bytes)"},
    };
    for (const TCase& c : cases) {
        const auto into = std::make_unique<TStateFile>();
        EXPECT_EQ(ParseStateFile(c.Bytes, *into), c.Refusal) << c.Name;
    }
    const auto into = std::make_unique<TStateFile>();
    EXPECT_EQ(ReadStateFile(TempPath(""), *into), TempPath("") + ": Is a directory");
}

}  // namespace
}  // namespace hexmoor::testing
