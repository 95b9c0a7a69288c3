// The sections of a snapshot, in the order a state file holds them: each names a part of
// the machine, which a snapshot holds under the same name. Capture, restore, compare and
// the state file all go through this one table, so a part added to the machine is added
// here once (and to its struct's field list).
#pragma once

#include <tuple>
#include <type_traits>

#include "core/Machine.h"
#include "state/FieldLists.h"
#include "state/FieldVisit.h"
#include "state/MachineState.h"
#include "state/PanelFields.h"

namespace hexmoor {

// A base part of a machine or a snapshot, const when the whole is.
template <class P, class X>
constexpr auto& AsPart(X& x) {
    if constexpr (std::is_const_v<X>)
        return static_cast<const P&>(x);
    else
        return static_cast<P&>(x);
}

template <class Get>
struct TSection {
    const char* Name;
    bool Flat;  // a base part: its fields go by their own names (RegisterA, not CpuRegisters.RegisterA)
    Get Part;   // the part of a TMachine or a TMachineState, const or not
};
template <class Get>
TSection(const char*, bool, Get) -> TSection<Get>;

inline constexpr std::tuple kSections{
    TSection{"CpuRegisters", true, [](auto& x) -> auto& { return AsPart<TCpuRegisters>(x); }},
    TSection{"ConditionCodes", true, [](auto& x) -> auto& { return AsPart<TConditionCodes>(x); }},
    TSection{"Scratch", true, [](auto& x) -> auto& { return AsPart<TScratch>(x); }},
    TSection{"InterruptState", true, [](auto& x) -> auto& { return AsPart<TInterruptState>(x); }},
    TSection{"RunControlState", true, [](auto& x) -> auto& { return AsPart<TRunControlState>(x); }},
    TSection{"RunState", false, [](auto& x) -> auto& { return x.RunState; }},
    TSection{"OperatingMode", false, [](auto& x) -> auto& { return x.OperatingMode; }},
    TSection{"TimerState", true, [](auto& x) -> auto& { return AsPart<TTimerState>(x); }},
    TSection{"WriteOnceLatches", true, [](auto& x) -> auto& { return AsPart<TWriteOnceLatches>(x); }},
    TSection{"AdState", true, [](auto& x) -> auto& { return AsPart<TAdState>(x); }},
    TSection{"PortState", true, [](auto& x) -> auto& { return AsPart<TPortState>(x); }},
    TSection{"SciState", true, [](auto& x) -> auto& { return AsPart<TSciState>(x); }},
    TSection{"AddressWindows", true, [](auto& x) -> auto& { return AsPart<TAddressWindows>(x); }},
    TSection{"MemoryImages", true, [](auto& x) -> auto& { return AsPart<TMemoryImages>(x); }},
    TSection{"WaitLoop", false, [](auto& x) -> auto& { return x.WaitLoop; }},
    TSection{"CallStack", false, [](auto& x) -> auto& { return x.CallStack; }},
    TSection{"Transfers", false, [](auto& x) -> auto& { return x.Transfers; }},
    TSection{"TerminalLink", false,
             [](auto& x) -> auto& {
                 if constexpr (std::is_base_of_v<TTerminalState, std::remove_cvref_t<decltype(x)>>)
                     return AsPart<TTerminalState>(x);
                 else
                     return x.TerminalLink;
             }},
    TSection{"Screen", false, [](auto& x) -> auto& { return x.Screen; }},
    TSection{"Panel", false, [](auto& x) -> auto& { return x.Panel; }},
    TSection{"TraceText", false, [](auto& x) -> auto& { return x.TraceText; }},
};

template <class F>
void ForEachSection(F&& f) {
    std::apply([&](const auto&... section) { (f(section), ...); }, kSections);
}

}  // namespace hexmoor
