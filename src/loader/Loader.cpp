// Loading a program: the Load control, reading the file into the images, and the on-chip
// parts a new program expects.
#include "core/Hex.h"
#include "core/Machine.h"
#include "core/TextLineReader.h"
#include "io/PortLatches.h"
#include "loader/S19Reader.h"
#include "registers/RegisterMap.h"

namespace hexmoor {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

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
    TLoadResult result = TLoadResult::Loaded;
    if (std::optional<std::string> path = FrontPanel.AskFileName(question)) result = LoadFile(*path);

    ResetRequest = true;
    InstructionCycles = 0;
    Change(Panel.LoadedLed.Lit, true, leds);
    Change(Panel.BreakPointMenu.Enabled, true, menus);
    SetRunControlsIdle();
    if (result == TLoadResult::PartlyRead) {
        // A damaged or cut-off program is never run: Run and Step wait for one that loads whole.
        Change(Panel.StartMenu.Enabled, false, menus);
        Change(Panel.StopMenu.Enabled, false, menus);
        for (TLed* led : {&Panel.RunningLed, &Panel.StepLed}) {
            Change(led->Enabled, false, leds);
            SetLed(*led, kDisabledScheme, " You must Load a Program First ", leds);
        }
    }
    ClrScr();
}

TLoadResult TMachine::LoadFile(const std::string& path) {
    TTextLineReader file;
    LoadLineNumber = 0;
    if (!file.Open(path)) {
        FrontPanel.ShowMessage(TMessageKind::Warning, TMessageButtons::Ok,
                               "Cannot load " + path + ": " + file.Error());
        return TLoadResult::NotRead;
    }
    const TPanelItem readouts = TPanelItem::Readouts;
    const TReadout shownAddress = Panel.MemoryAddressDisplay, shownByte = Panel.MemoryByteDisplay,
                   shownWord = Panel.MemoryWordDisplay;
    Change(Panel.MemoryAddressDisplay, TReadout{"LOAD", kLime, true}, readouts);
    Change(Panel.MemoryByteDisplay.Colour, kLime, readouts);
    Change(Panel.MemoryByteDisplay.Visible, true, readouts);
    Change(Panel.MemoryWordDisplay.Visible, false, readouts);

    std::optional<TS19Byte> last;
    bool whole = true;  // every record arrived intact and the user let the load finish
    std::string line;
    while (file.ReadLine(line)) {
        LoadLineNumber = file.LineNumber();
        // Editors on some systems start a UTF-8 file with a byte-order mark.
        if (LoadLineNumber == 1 && line.starts_with(kByteOrderMark)) line.erase(0, kByteOrderMark.size());
        const TS19Line read = ReadS19Line(line);
        if (read.Damaged) whole = false;
        // A damaged record stores nothing; OK goes on with the next line, Cancel ends the load.
        if (!read.Message.empty() &&
            FrontPanel.ShowMessage(TMessageKind::Warning, TMessageButtons::OkCancel, read.Message) ==
                TMessageResult::Cancel) {
            whole = false;
            break;
        }
        for (const TS19Byte& byte : read.Bytes) {
            if (Panel.LoadingMenu.Checked) {
                Change(Panel.MemoryAddressDisplay.Text, Hex4(byte.Address), readouts);
                Change(Panel.MemoryByteDisplay.Text, Hex2(byte.Value), readouts);
                FrontPanel.PumpEvents();
            }
            MemoryImage[byte.Address] = ExternalImage[byte.Address] = byte.Value;
            last = byte;
        }
        FrontPanel.PumpEvents();
    }
    if (!file.Error().empty()) {
        FrontPanel.ShowMessage(TMessageKind::Warning, TMessageButtons::Ok,
                               "Cannot load " + path + ": " + file.Error());
        whole = false;
    }
    if (!last) {
        // Nothing was stored, so the machine stays as it was, read-outs included.
        Change(Panel.MemoryAddressDisplay, shownAddress, readouts);
        Change(Panel.MemoryByteDisplay, shownByte, readouts);
        Change(Panel.MemoryWordDisplay, shownWord, readouts);
        if (!whole) return TLoadResult::NotRead;
        FrontPanel.ShowMessage(TMessageKind::Warning, TMessageButtons::Ok,
                               "Cannot load " + path + ": no S1 record with data");
        return TLoadResult::NoData;
    }
    Change(Panel.MemoryAddressDisplay.Text, Hex4(last->Address), readouts);
    Change(Panel.MemoryByteDisplay.Text, Hex2(last->Value), readouts);

    // The on-chip RAM is cleared where it is now, so nothing of the old program reaches the
    // new one and the loaded bytes beneath it stay in ExternalImage.
    SavedRam.fill(0);
    for (int i = 0; i < kInternalRamSize; ++i) MemoryImage[uint16_t(IRamBeg + i)] = 0;
    for (std::size_t offset = 0; offset < RegisterBlock.size(); ++offset)
        RegisterBlock[offset] = kRegisterMap[offset].Reset;
    ShowPortLatches(*this);
    EepromImage.fill(0xFF);
    return whole ? TLoadResult::Loaded : TLoadResult::PartlyRead;
}

}  // namespace hexmoor
