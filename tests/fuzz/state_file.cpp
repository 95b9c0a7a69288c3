// Arbitrary bytes as a state file: the reader never crashes, refuses what is no whole and
// undamaged state in words a user is meant to read, and a machine runs on from a state it
// takes. Inputs with an odd last byte get their checksum made right first, so that the
// fuzzer reaches the sections and the values in them.
#include <memory>
#include <string>

#include "FuzzPanel.h"
#include "core/Crc32.h"
#include "state/StateFile.h"

using namespace hexmoor;

namespace {

constexpr int kPasses = 5'000;

const char* const kRefusals[] = {"not a Hexmoor state file", "truncated (", "damaged (", "from another version ",
                                 "from another build ", "too large ("};

void Reseal(std::string& bytes) {
    const uint32_t crc = Crc32(std::string_view(bytes).substr(0, bytes.size() - 4));
    for (int i = 0; i < 4; ++i) bytes[bytes.size() - 4 + i] = char(crc >> (8 * i));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    std::string bytes(reinterpret_cast<const char*>(data), size);
    if (size >= 4 && data[size - 1] & 1) Reseal(bytes);
    const auto file = std::make_unique<TStateFile>();
    const std::string error = ParseStateFile(bytes, *file);
    if (!error.empty()) {
        for (const char* refusal : kRefusals)
            if (error.starts_with(refusal)) return 0;
        fuzz::Fail("unexpected refusal " + error);
    }
    fuzz::TFuzzPanel panel;
    auto machine = std::make_unique<TMachine>(panel);
    panel.Attach(*machine);
    TMachine& m = *machine;
    RestoreState(m, file->State);
    if (!StateDifferences(file->State, CaptureState(m), 1).empty()) fuzz::Fail("a restore that changed the state");
    m.Panel.RunningLed.Lit = true;
    for (int pass = 0; pass < kPasses && m.Panel.RunningLed.Lit; ++pass) m.RunPass();
    return 0;
}
