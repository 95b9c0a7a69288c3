// Compares two machines in full: everything a program or the panel's LEDs can show.
#pragma once

#include <string>
#include <utility>

#include "core/Machine.h"

namespace hexmoor::testing {

// The first part of the state in which two machines differ; empty when none does.
inline std::string Difference(const TMachine& a, const TMachine& b) {
    auto same = [&]<class T>(const T*) { return static_cast<const T&>(a) == static_cast<const T&>(b); };
    const std::pair<const char*, bool> parts[] = {
        {"CPU registers", same((const TCpuRegisters*)nullptr)},
        {"condition codes", same((const TConditionCodes*)nullptr)},
        {"memory and register block", same((const TMemoryImages*)nullptr)},
        {"address windows", same((const TAddressWindows*)nullptr)},
        {"scratch fields, cycle count", same((const TScratch*)nullptr)},
        {"interrupts", same((const TInterruptState*)nullptr)},
        {"timer, RTI, COP, pulse accumulator", same((const TTimerState*)nullptr)},
        {"write-once latches", same((const TWriteOnceLatches*)nullptr)},
        {"A/D converter", same((const TAdState*)nullptr)},
        {"ports", same((const TPortState*)nullptr)},
        {"serial port", same((const TSciState*)nullptr)},
        {"run state", a.RunState == b.RunState},
        {"instruction count", a.InstructionCount == b.InstructionCount},
        {"wait-loop test", a.WaitLoop == b.WaitLoop},
        {"call stack", a.CallStack == b.CallStack},
    };
    for (const auto& [name, equal] : parts)
        if (!equal) return name;
    for (int group = 0; group < kPortGroupCount; ++group)
        for (int bit = 0; bit < 8; ++bit)
            if (a.Panel.PortGroups[group].Leds[bit].Lit != b.Panel.PortGroups[group].Leds[bit].Lit)
                return "port LED " + std::to_string(group) + "." + std::to_string(bit);
    return "";
}

}  // namespace hexmoor::testing
