// Loading a program: the Load control, reading the file into the images, and the on-chip
// parts a new program expects.
#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

#include "core/Hex.h"
#include "core/Machine.h"
#include "loader/S19Reader.h"
#include "registers/RegisterMap.h"

namespace hexmoor {

namespace {

// The whole file, or the reason it could not be read.
bool ReadWholeFile(const std::string& path, std::string& text, std::string& error) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = std::strerror(errno);
        return false;
    }
    std::ostringstream contents;
    contents << file.rdbuf();
    if (file.bad()) {
        error = std::strerror(errno);
        return false;
    }
    text = contents.str();
    return true;
}

}  // namespace

void TMachine::LoadClick() {
    if (!Panel.LoadMenu.Enabled) return;
    const TPanelItem leds = TPanelItem::RunControls, menus = TPanelItem::Menus;
    Change(Panel.LoadMenu.Enabled, false, menus);
    Change(Panel.LoadedLed.Lit, false, leds);
    Change(Panel.LoadedLed.Hint, " Loading in Progress ", leds);
    Change(Panel.StartMenu.Enabled, false, menus);
    Change(Panel.StopMenu.Enabled, false, menus);
    for (TLed* led : {&Panel.RunningLed, &Panel.StepLed}) {
        Change(led->Enabled, false, leds);
        SetLed(*led, kDisabledScheme, led->Hint, leds);
    }

    const TFileQuestion question{"Load S19 File", "S19 Files (*.s19)|*.s19|All  (*.*)|*.*",
                                 "S19", "", true};
    if (std::optional<std::string> path = FrontPanel.AskFileName(question)) LoadFile(*path);

    ResetRequest = true;
    InstructionCycles = 0;
    Change(Panel.LoadedLed.Lit, true, leds);
    SetRunControlsIdle();
    ClrScr();
}

bool TMachine::LoadFile(const std::string& path) {
    std::string text, error;
    if (!ReadWholeFile(path, text, error)) {
        FrontPanel.ShowMessage(TMessageKind::Warning, TMessageButtons::Ok,
                               "Cannot load " + path + ": " + error);
        return false;
    }
    const TPanelItem readouts = TPanelItem::Readouts;
    Change(Panel.MemoryAddressDisplay, TReadout{"LOAD", kLime, true}, readouts);
    Change(Panel.MemoryByteDisplay.Colour, kLime, readouts);
    Change(Panel.MemoryByteDisplay.Visible, true, readouts);
    Change(Panel.MemoryWordDisplay.Visible, false, readouts);

    std::optional<TS19Byte> last;
    for (std::string_view line : SplitLines(text)) {
        if (line.empty()) continue;
        const TS19Line read = ReadS19Line(line);
        for (const TS19Byte& byte : read.Bytes) {
            if (Panel.LoadingMenu.Checked) {
                Change(Panel.MemoryAddressDisplay.Text, Hex4(byte.Address), readouts);
                Change(Panel.MemoryByteDisplay.Text, Hex2(byte.Value), readouts);
                FrontPanel.PumpEvents();
            }
            MemoryImage[byte.Address] = ExternalImage[byte.Address] = byte.Value;
            last = byte;
        }
        bool abandoned = false;
        for (const std::string& message : read.Messages) {
            abandoned = FrontPanel.ShowMessage(TMessageKind::Warning, TMessageButtons::OkCancel,
                                               message) == TMessageResult::Cancel;
            if (abandoned) break;  // what was read stays loaded
        }
        if (abandoned) break;
        FrontPanel.PumpEvents();
    }
    if (last) {
        Change(Panel.MemoryAddressDisplay.Text, Hex4(last->Address), readouts);
        Change(Panel.MemoryByteDisplay.Text, Hex2(last->Value), readouts);
    }

    // The on-chip RAM is cleared where it is now, so nothing of the old program reaches the
    // new one and the loaded bytes beneath it stay in ExternalImage.
    SavedRam.fill(0);
    for (int i = 0; i < kInternalRamSize; ++i) MemoryImage[uint16_t(IRamBeg + i)] = 0;
    for (std::size_t offset = 0; offset < RegisterBlock.size(); ++offset)
        RegisterBlock[offset] = kRegisterMap[offset].Reset;
    EepromImage.fill(0xFF);
    return true;
}

}  // namespace hexmoor
