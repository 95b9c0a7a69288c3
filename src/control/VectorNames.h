// The 68HC11F1's vectors, $FFD6 to $FFFE, by the short names Motorola's manuals give their
// sources: what a debugger calls the interrupt that entered a handler.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace hexmoor {

struct TVectorName {
    uint16_t Vector;
    std::string_view Name;
};

inline constexpr std::array<TVectorName, 21> kVectorNames{{
    {0xFFD6, "SCI"},           {0xFFD8, "SPI"},           {0xFFDA, "PAI"},  {0xFFDC, "PAOV"},
    {0xFFDE, "TOF"},           {0xFFE0, "TI4O5"},         {0xFFE2, "TOC4"}, {0xFFE4, "TOC3"},
    {0xFFE6, "TOC2"},          {0xFFE8, "TOC1"},          {0xFFEA, "TIC3"}, {0xFFEC, "TIC2"},
    {0xFFEE, "TIC1"},          {0xFFF0, "RTI"},           {0xFFF2, "IRQ"},  {0xFFF4, "XIRQ"},
    {0xFFF6, "SWI"},           {0xFFF8, "illegal opcode"}, {0xFFFA, "COP"}, {0xFFFC, "clock monitor"},
    {0xFFFE, "reset"},
}};

// The vector's source, or empty for an address that is no vector.
constexpr std::string_view VectorName(uint16_t vector) {
    for (const TVectorName& name : kVectorNames)
        if (name.Vector == vector) return name.Name;
    return {};
}

}  // namespace hexmoor
