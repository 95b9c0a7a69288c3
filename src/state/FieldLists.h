// The field lists of the machine's plain parts: every field by name, in order, for the
// snapshot's visitors (restore, compare, the state file). A list names each field of its
// struct once: with Field when a snapshot holds it, with Omit when it stays as the live
// machine has it (a test checks that no field of a struct is left out of its list).
//
// A list visits one part, or two of the same type side by side (restore, compare):
// v.Field("RegisterA", a.RegisterA, b.RegisterA). Lists are found by argument-dependent
// lookup, so a visitor recurses into a field that has a list of its own.
#pragma once

#include <concepts>
#include <type_traits>

#include "control/ControlState.h"
#include "control/TimerState.h"
#include "core/CallStack.h"
#include "core/ConditionCodes.h"
#include "core/CpuRegisters.h"
#include "core/DebugHooks.h"
#include "core/MemoryState.h"
#include "io/PortState.h"
#include "io/SciState.h"
#include "io/WaitLoop.h"
#include "registers/AdState.h"

namespace hexmoor {

// T, const or not, is S: a list's parameters are all of its struct.
template <class T, class S>
concept PartOf = std::same_as<std::remove_const_t<T>, S>;

template <class V, PartOf<TCpuRegisters>... T>
void Fields(V& v, T&... t) {
    v.Field("RegisterA", t.RegisterA...);  // A and B are D's bytes
    v.Field("RegisterB", t.RegisterB...);
    v.Field("RegisterX", t.RegisterX...);
    v.Field("RegisterY", t.RegisterY...);
    v.Field("RegisterSP", t.RegisterSP...);
    v.Field("RegisterPC", t.RegisterPC...);
}

template <class V, PartOf<TConditionCodes>... T>
void Fields(V& v, T&... t) {
    v.Field("FlagS", t.FlagS...);
    v.Field("FlagX", t.FlagX...);
    v.Field("FlagH", t.FlagH...);
    v.Field("FlagI", t.FlagI...);
    v.Field("FlagN", t.FlagN...);
    v.Field("FlagZ", t.FlagZ...);
    v.Field("FlagV", t.FlagV...);
    v.Field("FlagC", t.FlagC...);
    v.Field("MaskDelay", t.MaskDelay...);
}

template <class V, PartOf<TMemoryImages>... T>
void Fields(V& v, T&... t) {
    v.Field("MemoryImage", t.MemoryImage...);
    v.Field("ExternalImage", t.ExternalImage...);
    v.Field("SavedRam", t.SavedRam...);
    v.Field("RegisterBlock", t.RegisterBlock...);
    v.Field("EepromImage", t.EepromImage...);
}

// PageFlags without the watched bit: which pages a debugger watches is the debugger's.
template <class V, PartOf<TAddressWindows>... T>
void Fields(V& v, T&... t) {
    v.Field("PageFlags", t.PageFlags...);
    v.Field("IRamBeg", t.IRamBeg...);
    v.Field("IRamEnd", t.IRamEnd...);
    v.Field("IRegBeg", t.IRegBeg...);
    v.Field("IRegEnd", t.IRegEnd...);
    v.Field("IEEPromBeg", t.IEEPromBeg...);
    v.Field("IEEPromEnd", t.IEEPromEnd...);
    v.Field("IEEPromEnabled", t.IEEPromEnabled...);
    v.Field("EProgBeg", t.EProgBeg...);
    v.Field("EProgEnd", t.EProgEnd...);
    v.Field("CsPrgEnabled", t.CsPrgEnabled...);
    v.Field("EIo1Beg", t.EIo1Beg...);
    v.Field("EIo1End", t.EIo1End...);
    v.Field("CsIo1Enabled", t.CsIo1Enabled...);
    v.Field("EIo2Beg", t.EIo2Beg...);
    v.Field("EIo2End", t.EIo2End...);
    v.Field("CsIo2Enabled", t.CsIo2Enabled...);
    v.Field("EGenBeg", t.EGenBeg...);
    v.Field("EGenEnd", t.EGenEnd...);
    v.Field("CsGenEnabled", t.CsGenEnabled...);
}

template <class V, PartOf<TScratch>... T>
void Fields(V& v, T&... t) {
    v.Field("EffectiveAddress", t.EffectiveAddress...);
    v.Field("DataByte", t.DataByte...);
    v.Field("OperandWord", t.OperandWord...);
    v.Field("RegisterOffset", t.RegisterOffset...);
    v.Field("RegisterWriteByte", t.RegisterWriteByte...);
    v.Field("InstructionLength", t.InstructionLength...);
    v.Field("InstructionCycles", t.InstructionCycles...);
    v.Field("CycleCount", t.CycleCount...);
    v.Field("ChangeMask", t.ChangeMask...);
    v.Field("BitMask", t.BitMask...);
    v.Field("BranchOffset", t.BranchOffset...);
}

template <class V, PartOf<TInterruptState>... T>
void Fields(V& v, T&... t) {
    v.Field("PendingInterrupts", t.PendingInterrupts...);
    v.Field("EnabledInterrupts", t.EnabledInterrupts...);
    v.Field("XirqLatch", t.XirqLatch...);
    v.Field("InterruptVector", t.InterruptVector...);
}

template <class V, PartOf<TRunControlState>... T>
void Fields(V& v, T&... t) {
    v.Field("ResetRequest", t.ResetRequest...);
    // The Breakpoint menu's address is the user's, like a debugger's breakpoints.
    v.Omit("BreakPointAddress", t.BreakPointAddress...);
    v.Field("InstructionCount", t.InstructionCount...);
    v.Field("StopExecuted", t.StopExecuted...);
}

template <class V, PartOf<TTimerState>... T>
void Fields(V& v, T&... t) {
    v.Field("TimerCount", t.TimerCount...);
    v.Field("PrescalerCount", t.PrescalerCount...);
    v.Field("PrescalerShift", t.PrescalerShift...);
    v.Field("PrescalerMask", t.PrescalerMask...);
    v.Field("RtiAccumulator", t.RtiAccumulator...);
    v.Field("RtiTicks", t.RtiTicks...);
    v.Field("RtiRate", t.RtiRate...);
    v.Field("Oc2Action", t.Oc2Action...);
    v.Field("Oc3Action", t.Oc3Action...);
    v.Field("Oc4Action", t.Oc4Action...);
    v.Field("Oc1Action", t.Oc1Action...);
    v.Field("Ic1Edge", t.Ic1Edge...);
    v.Field("Ic2Edge", t.Ic2Edge...);
    v.Field("Ic3Edge", t.Ic3Edge...);
    v.Field("Ic4Edge", t.Ic4Edge...);
    v.Field("PulseMode", t.PulseMode...);
    v.Field("PulseGate", t.PulseGate...);
    v.Field("PulseDivider", t.PulseDivider...);
    v.Field("ChipConfig", t.ChipConfig...);
    v.Field("ConfigValue", t.ConfigValue...);
    v.Field("CopDisabled", t.CopDisabled...);
    v.Field("CopCycles", t.CopCycles...);
    v.Field("CopBlocks", t.CopBlocks...);
}

template <class V, PartOf<TWriteOnceLatches>... T>
void Fields(V& v, T&... t) {
    v.Field("FirstInitWrite", t.FirstInitWrite...);
    v.Field("FirstOptionWrite", t.FirstOptionWrite...);
    v.Field("FirstTmsk2Write", t.FirstTmsk2Write...);
    v.Field("FirstOpt2Write", t.FirstOpt2Write...);
    v.Field("FirstHprioWrite", t.FirstHprioWrite...);
}

template <class V, PartOf<TAdState>... T>
void Fields(V& v, T&... t) {
    v.Field("AdChannel", t.AdChannel...);
    v.Field("AdResultIndex", t.AdResultIndex...);
    v.Field("AdConversionDelay", t.AdConversionDelay...);
    v.Field("AdStabilizeBlocks", t.AdStabilizeBlocks...);
    v.Field("AdStabilizeCycles", t.AdStabilizeCycles...);
    v.Field("AnalogInputValue", t.AnalogInputValue...);
}

template <class V, PartOf<TPortState>... T>
void Fields(V& v, T&... t) {
    v.Field("PortAPins", t.PortAPins...);
    v.Field("PortCPins", t.PortCPins...);
    v.Field("PortDPins", t.PortDPins...);
    v.Field("PortGPins", t.PortGPins...);
}

template <class V, PartOf<TSciState>... T>
void Fields(V& v, T&... t) {
    v.Field("SciFrameCycles", t.SciFrameCycles...);
    v.Field("SciTransmitLeft", t.SciTransmitLeft...);
    v.Field("SciReceiveLeft", t.SciReceiveLeft...);
    v.Field("SciTransmitData", t.SciTransmitData...);
    v.Field("SciTransmitQueued", t.SciTransmitQueued...);
    v.Field("SciShiftData", t.SciShiftData...);
    v.Field("SciStatusSeen", t.SciStatusSeen...);
    v.Field("SciIdleArmed", t.SciIdleArmed...);
}

template <class V, PartOf<TWaitLoop::TPoll>... T>
void Fields(V& v, T&... t) {
    v.Field("Pc", t.Pc...);
    v.Field("X", t.X...);
    v.Field("Y", t.Y...);
    v.Field("Sp", t.Sp...);
    v.Field("A", t.A...);
    v.Field("B", t.B...);
}

template <class V, PartOf<TWaitLoop>... T>
void Fields(V& v, T&... t) {
    v.Field("LastPoll", t.LastPoll...);
    v.Field("AlikePolls", t.AlikePolls...);
    v.Field("LoopStart", t.LoopStart...);
    v.Field("LastPollCycle", t.LastPollCycle...);
    v.Field("LastOutput", t.LastOutput...);
    v.Field("StoreSum", t.StoreSum...);
    v.Field("PollStoreSum", t.PollStoreSum...);
    v.Field("Acted", t.Acted...);
    v.Field("StoreSumBeforeInterrupt", t.StoreSumBeforeInterrupt...);
    v.Field("ActedBeforeInterrupt", t.ActedBeforeInterrupt...);
    v.Field("InterruptDepth", t.InterruptDepth...);
}

template <class V, PartOf<TCallFrame>... T>
void Fields(V& v, T&... t) {
    v.Field("From", t.From...);
    v.Field("To", t.To...);
    v.Field("Vector", t.Vector...);
    v.Field("Sp", t.Sp...);
}

template <class V, PartOf<TCallStack>... T>
void Fields(V& v, T&... t) {
    v.Field("Frames", t.Frames...);
    v.Field("Top", t.Top...);
    v.Field("Bottom", t.Bottom...);
    v.Field("Limit", t.Limit...);
    v.Field("Lost", t.Lost...);
    v.Field("LostSp", t.LostSp...);
}

template <class V, PartOf<TTransferLog>... T>
void Fields(V& v, T&... t) {
    v.Field("Entries", t.Entries...);
    v.Field("Count", t.Count...);
    v.Field("Interrupts", t.Interrupts...);
    v.Field("InterruptCount", t.InterruptCount...);
}

}  // namespace hexmoor
