// An arbitrary 64 KiB memory image, then register writes, run for a bounded number of
// passes: whatever the program does to the chip, the simulator neither crashes nor hangs.
#include <memory>

#include "FuzzPanel.h"

using namespace hexmoor;

namespace {

constexpr int kPasses = 20'000;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    fuzz::TFuzzPanel panel;
    auto machine = std::make_unique<TMachine>(panel);
    panel.Attach(*machine);
    TMachine& m = *machine;
    fuzz::LoadImageAndRegisterWrites(m, data, size);
    m.Panel.RunningLed.Lit = true;
    for (int pass = 0; pass < kPasses && m.Panel.RunningLed.Lit; ++pass) m.RunPass();
    return 0;
}
