// An arbitrary 64 KiB memory image, then register writes, run for a bounded number of
// passes: whatever the program does to the chip, the simulator neither crashes nor hangs.
#include <algorithm>
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
    const std::size_t imageSize = std::min<std::size_t>(size, 0x10000);
    std::copy(data, data + imageSize, m.MemoryImage.begin());
    std::copy(data, data + imageSize, m.ExternalImage.begin());
    m.ResetMoor(PowerOnReset);

    // What follows the image: register writes, an offset and a byte each.
    for (std::size_t i = imageSize; i + 1 < size; i += 2) {
        m.EffectiveAddress = uint16_t(m.IRegBeg + data[i] % 0x60);
        m.DataByte = data[i + 1];
        m.StoreByte();
    }
    m.Panel.RunningLed.Lit = true;
    for (int pass = 0; pass < kPasses && m.Panel.RunningLed.Lit; ++pass) m.RunPass();
    return 0;
}
