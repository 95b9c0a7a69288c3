// Capture and restore: section by section, each part copied whole into the snapshot (plain
// structs and arrays: copies as fast as memcpy) and back field by field, so that what a
// field list omits stays as the live machine has it.
#include "state/MachineState.h"

#include <stdexcept>

#include "state/Sections.h"

namespace hexmoor {

namespace {

template <class P>
void CapturePart(const P& machine, P& state) {
    state = machine;
}

template <class P>
void RestorePart(const P& state, P& machine) {
    TFieldRestorer{}.Restore(machine, state);
}

// The watched bits of the page flags are the debugger's: never in a snapshot, kept live.
void CapturePart(const TAddressWindows& machine, TAddressWindows& state) {
    state = machine;
    for (uint8_t& flags : state.PageFlags) flags &= uint8_t(~kWatchedPage);
}

void RestorePart(const TAddressWindows& state, TAddressWindows& machine) {
    std::array<uint8_t, 256> watched;
    for (std::size_t page = 0; page < watched.size(); ++page) watched[page] = machine.PageFlags[page] & kWatchedPage;
    TFieldRestorer{}.Restore(machine, state);
    for (std::size_t page = 0; page < watched.size(); ++page) machine.PageFlags[page] |= watched[page];
}

void RequireBetweenInstructions(const TMachine& machine, const char* what) {
    if (!BetweenInstructions(machine))
        throw std::logic_error(std::string(what) + " in the middle of an instruction");
}

}  // namespace

bool BetweenInstructions(const TMachine& machine) {
    return !machine.SpanOpen && !machine.WaitingForInput && !machine.Panel.IoPanel.Visible;
}

void CaptureState(const TMachine& machine, TMachineState& state) {
    RequireBetweenInstructions(machine, "a snapshot taken");
    ForEachSection([&](const auto& section) { CapturePart(section.Part(machine), section.Part(state)); });
}

TMachineState CaptureState(const TMachine& machine) {
    TMachineState state;
    CaptureState(machine, state);
    return state;
}

void RestoreState(TMachine& machine, const TMachineState& state) {
    RequireBetweenInstructions(machine, "a snapshot restored");
    ForEachSection([&](const auto& section) { RestorePart(section.Part(state), section.Part(machine)); });
    for (int item = 0; item < int(TPanelItem::Count); ++item) machine.FrontPanel.PanelChanged(TPanelItem(item));
}

}  // namespace hexmoor
