// A front panel that answers everything at once and shows nothing, and a machine with a
// benchmark program loaded and reset into it: what the benchmarks run on.
#pragma once

#include <memory>
#include <stdexcept>
#include <string>

#include "core/Machine.h"

namespace hexmoor {

class TSilentPanel : public TFrontPanel {
public:
    void PanelChanged(TPanelItem) override {}
    TMessageResult ShowMessage(TMessageKind, TMessageButtons, std::string_view) override {
        return TMessageResult::Ok;
    }
    std::optional<std::string> AskFileName(const TFileQuestion&) override { return {}; }
    std::optional<std::string> AskBreakPointAddress(const std::string&) override { return {}; }
    void PumpEvents() override {}
    TMessageResult WaitForIoPause() override { return TMessageResult::Ok; }
    void WaitForEvents() override {}
    void Beep() override {}
    void FocusTerminal() override {}
    void HardCopy(const std::vector<std::string>&) override {}
    std::string PrinterWrite(uint8_t) override { return ""; }
    void PrinterClose() override {}
};

// A machine with the program loaded and reset into it.
inline std::unique_ptr<TMachine> LoadedMachine(TSilentPanel& panel, const std::string& name) {
    auto machine = std::make_unique<TMachine>(panel);
    machine->LoadFile(std::string(HEXMOOR_BENCH_PROGRAMS_DIR) + "/" + name + ".s19");
    machine->ResetMoor(ExternalReset);
    if (machine->RegisterPC != 0x2000) throw std::runtime_error(name + " did not load");
    return machine;
}

}  // namespace hexmoor
