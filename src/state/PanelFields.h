// The field lists of the front panel's state: what the window shows of the machine (the
// status and mode LEDs, the read-outs, the memory map, the port LEDs, the slider read-outs)
// is in a snapshot. What the user chose (the View options, trace, the layout, hints) and
// the run controls (the Loaded, Running and Step LEDs, the run menus: whether a run is
// going on now) stay as they are when a snapshot is restored.
#pragma once

#include "core/PanelState.h"
#include "state/FieldLists.h"

namespace hexmoor {

constexpr TPortGroup LastValue(TPortGroup) { return TPortGroup(kPortGroupCount - 1); }

template <class V, PartOf<TMenuItem>... T>
void Fields(V& v, T&... t) {
    v.Field("Enabled", t.Enabled...);
    v.Field("Checked", t.Checked...);
}

template <class V, PartOf<TControl>... T>
void Fields(V& v, T&... t) {
    v.Field("Enabled", t.Enabled...);
    v.Field("Hint", t.Hint...);
}

template <class V, PartOf<TLed>... T>
void Fields(V& v, T&... t) {
    v.Field("Enabled", t.Enabled...);
    v.Field("Hint", t.Hint...);
    v.Field("Lit", t.Lit...);
    v.Field("LitColour", t.LitColour...);
    v.Field("UnlitColour", t.UnlitColour...);
}

template <class V, PartOf<TReadout>... T>
void Fields(V& v, T&... t) {
    v.Field("Text", t.Text...);
    v.Field("Colour", t.Colour...);
    v.Field("Visible", t.Visible...);
}

template <class V, PartOf<TRangeLabels>... T>
void Fields(V& v, T&... t) {
    v.Field("Begin", t.Begin...);
    v.Field("End", t.End...);
    v.Field("Colour", t.Colour...);
}

template <class V, PartOf<TLedGroup>... T>
void Fields(V& v, T&... t) {
    v.Field("Colour", t.Colour...);
    v.Field("Leds", t.Leds...);
}

template <class V, PartOf<TIoPanel>... T>
void Fields(V& v, T&... t) {
    v.Field("Visible", t.Visible...);
    v.Field("Pins", t.Pins...);
    v.Field("PortLabel", t.PortLabel...);
    v.Field("IOTypeLabel", t.IOTypeLabel...);
}

template <class V, PartOf<TPanelState>... T>
void Fields(V& v, T&... t) {
    v.Omit("LoadedLed", t.LoadedLed...);
    v.Omit("RunningLed", t.RunningLed...);
    v.Omit("StepLed", t.StepLed...);
    v.Field("StatusLed", t.StatusLed...);
    v.Field("MODALed", t.MODALed...);
    v.Field("MODBLed", t.MODBLed...);
    v.Field("IrqButton", t.IrqButton...);
    v.Field("XIrqButton", t.XIrqButton...);

    v.Omit("LoadMenu", t.LoadMenu...);
    v.Omit("StartMenu", t.StartMenu...);
    v.Omit("StopMenu", t.StopMenu...);
    v.Omit("TraceMenu", t.TraceMenu...);
    v.Omit("LoadingMenu", t.LoadingMenu...);
    v.Omit("InternalRegistersMenu", t.InternalRegistersMenu...);
    v.Omit("ADSamplingMenu", t.ADSamplingMenu...);
    v.Omit("IOOperationsMenu", t.IOOperationsMenu...);
    v.Omit("InterruptsMenu", t.InterruptsMenu...);
    v.Omit("WarningsMenu", t.WarningsMenu...);
    v.Omit("BreakPointMenu", t.BreakPointMenu...);
    v.Omit("ChipSpeedMenu", t.ChipSpeedMenu...);

    v.Field("RegisterADisplay", t.RegisterADisplay...);
    v.Field("RegisterBDisplay", t.RegisterBDisplay...);
    v.Field("RegisterXDisplay", t.RegisterXDisplay...);
    v.Field("RegisterYDisplay", t.RegisterYDisplay...);
    v.Field("RegisterSPDisplay", t.RegisterSPDisplay...);
    v.Field("RegisterPCDisplay", t.RegisterPCDisplay...);
    v.Field("RegisterCCRDisplay", t.RegisterCCRDisplay...);
    v.Field("MemoryAddressDisplay", t.MemoryAddressDisplay...);
    v.Field("MemoryByteDisplay", t.MemoryByteDisplay...);
    v.Field("MemoryWordDisplay", t.MemoryWordDisplay...);
    v.Field("CyclesValueLabel", t.CyclesValueLabel...);
    v.Field("InstructionLabel", t.InstructionLabel...);

    v.Field("IRamLabels", t.IRamLabels...);
    v.Field("IRegLabels", t.IRegLabels...);
    v.Field("IEEPromLabels", t.IEEPromLabels...);
    v.Field("EProgLabels", t.EProgLabels...);
    v.Field("EGenLabels", t.EGenLabels...);
    v.Field("EIo1Labels", t.EIo1Labels...);
    v.Field("EIo2Labels", t.EIo2Labels...);

    v.Field("PortGroups", t.PortGroups...);
    v.Field("IoPanel", t.IoPanel...);
    v.Field("InputConsoleColour", t.InputConsoleColour...);
    v.Omit("CloseMenu", t.CloseMenu...);  // the printer's
    v.Omit("BringtoFrontMenu", t.BringtoFrontMenu...);
    v.Omit("BringtoFrontCaption", t.BringtoFrontCaption...);
    v.Omit("ConsoleInFront", t.ConsoleInFront...);
    v.Field("AnalogDisplays", t.AnalogDisplays...);

    v.Omit("LayoutWidth", t.LayoutWidth...);
    v.Omit("N640x480Menu", t.N640x480Menu...);
    v.Omit("N800x600Menu", t.N800x600Menu...);
    v.Omit("HintsShown", t.HintsShown...);
    v.Omit("HintsMenuCaption", t.HintsMenuCaption...);
    v.Omit("Activated", t.Activated...);
}

}  // namespace hexmoor
