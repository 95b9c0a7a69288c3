#include "loader/ProgramLoad.h"

#include "core/Hex.h"
#include "io/PortLatches.h"

namespace hexmoor {

namespace {

constexpr TPanelItem kReadouts = TPanelItem::Readouts;

}  // namespace

TProgramLoad::TProgramLoad(TMachine& machine, std::string path)
    : Machine(machine),
      path_(std::move(path)),
      shownAddress_(machine.Panel.MemoryAddressDisplay),
      shownByte_(machine.Panel.MemoryByteDisplay),
      shownWord_(machine.Panel.MemoryWordDisplay) {
    TPanelState& p = Machine.Panel;
    Machine.Change(p.MemoryAddressDisplay, TReadout{"LOAD", kLime, true}, kReadouts);
    Machine.Change(p.MemoryByteDisplay.Colour, kLime, kReadouts);
    Machine.Change(p.MemoryByteDisplay.Visible, true, kReadouts);
    Machine.Change(p.MemoryWordDisplay.Visible, false, kReadouts);
}

std::string TProgramLoad::CannotLoad(std::string_view reason) const {
    return "Cannot load " + path_ + ": " + std::string(reason);
}

void TProgramLoad::Store(uint16_t address, uint8_t value) {
    TPanelState& p = Machine.Panel;
    if (p.LoadingMenu.Checked) {
        Machine.Change(p.MemoryAddressDisplay.Text, Hex4(address), kReadouts);
        Machine.Change(p.MemoryByteDisplay.Text, Hex2(value), kReadouts);
        Machine.FrontPanel.PumpEvents();
    }
    Machine.MemoryImage[address] = Machine.ExternalImage[address] = value;
    const bool runGoesOn = lastAddress_ && uint16_t(*lastAddress_ + 1) == address && UnderOnChipRam(*lastAddress_);
    if (UnderOnChipRam(address) && !runGoesOn) onChipRamRuns_.push_back({address, Machine.LoadLineNumber});
    lastAddress_ = address;
    if (address < kInternalRamSize) ramBytes_.set(address);
    else onlyRamBytes_ = false;
}

bool TProgramLoad::Report(std::string_view message, bool damaged) {
    if (damaged) whole_ = false;
    if (Machine.FrontPanel.ShowMessage(TMessageKind::Warning, TMessageButtons::OkCancel, message) !=
        TMessageResult::Cancel)
        return true;
    whole_ = false;
    return false;
}

void TProgramLoad::Fail(std::string_view reason) {
    Machine.FrontPanel.ShowMessage(TMessageKind::Warning, TMessageButtons::Ok, CannotLoad(reason));
    whole_ = false;
}

TLoadResult TProgramLoad::Finish(std::string_view noData) {
    TMachine& m = Machine;
    if (!lastAddress_) {
        m.Change(m.Panel.MemoryAddressDisplay, shownAddress_, kReadouts);
        m.Change(m.Panel.MemoryByteDisplay, shownByte_, kReadouts);
        m.Change(m.Panel.MemoryWordDisplay, shownWord_, kReadouts);
        if (!whole_) return TLoadResult::NotRead;
        m.FrontPanel.ShowMessage(TMessageKind::Warning, TMessageButtons::Ok, CannotLoad(noData));
        return TLoadResult::NoData;
    }
    m.Change(m.Panel.MemoryAddressDisplay.Text, Hex4(*lastAddress_), kReadouts);
    m.Change(m.Panel.MemoryByteDisplay.Text, Hex2(m.ExternalImage[*lastAddress_]), kReadouts);

    // The on-chip RAM is cleared where it is now, so nothing of the old program reaches the
    // new one and the loaded bytes beneath it stay in ExternalImage. In bootstrap mode the
    // RAM holds what a download put there: the program's bytes for $0000-$03FF.
    const bool bootstrap = m.BootstrapPins();
    m.SavedRam.fill(0);
    for (int i = 0; i < kInternalRamSize; ++i)
        m.MemoryImage[uint16_t(m.IRamBeg + i)] = bootstrap && ramBytes_[i] ? m.ExternalImage[i] : 0;
    const bool looksLikeBootstrap = !bootstrap && onlyRamBytes_;
    if (looksLikeBootstrap)
        m.FrontPanel.ShowMessage(TMessageKind::Note, TMessageButtons::Ok,
                                 path_ + " looks like a program for bootstrap mode: all its bytes lie in the on-chip "
                                         "RAM ($0000-$03FF), which a load in expanded mode leaves empty, and it has "
                                         "no reset vector. Click a mode LED (MODA or MODB) for special bootstrap "
                                         "mode, or run it with hexmoor-run --mode bootstrap.");
    m.LoadRegisterResetImage();
    ShowPortLatches(m);
    m.EepromImage.fill(0xFF);
    if (WarnOnChipRam && !bootstrap && !looksLikeBootstrap) WarnOnChipRamRuns();
    return whole_ ? TLoadResult::Loaded : TLoadResult::PartlyRead;
}

bool TProgramLoad::UnderOnChipRam(uint16_t address) const {
    return address >= Machine.IRamBeg && address < Machine.IRamBeg + kInternalRamSize;
}

// The loader clears the on-chip RAM after the load, so a program's bytes there are lost in
// this mode; each run of them is told once, at the line of the file where it starts.
void TProgramLoad::WarnOnChipRamRuns() {
    const std::string ram = "$" + Hex4(uint16_t(Machine.IRamBeg)) + "-$" +
                            Hex4(uint16_t(Machine.IRamBeg + kInternalRamSize - 1));
    for (const TOnChipRamRun& run : onChipRamRuns_) {
        Machine.LoadLineNumber = run.Line;
        Machine.Warning("The bytes from $" + Hex4(run.Address) + " on are in the on-chip RAM (" + ram +
                        "), which a load in expanded mode does not fill: they read as 0 after loading. Load "
                        "the program in bootstrap mode (a mode LED, or hexmoor-run --mode bootstrap) to keep them.");
    }
}

}  // namespace hexmoor
