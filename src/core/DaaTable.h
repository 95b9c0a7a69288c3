// The decimal-adjust correction for every (C, H, A): which of five cases DAA applies.
#pragma once

#include <array>
#include <cstdint>

namespace hexmoor {

enum TDaaCase : uint8_t {
    DaaInvalid = 0,   // A and C unchanged, warned about
    DaaKeep = 1,      // A unchanged, C cleared
    DaaAdd06 = 2,     // A + $06, C cleared
    DaaAdd60 = 3,     // A + $60, C set
    DaaAdd66 = 4,     // A + $66, C set
};

using TDaaTables = std::array<std::array<uint8_t, 256>, 4>;

// Selected by C * 2 + H, indexed by A.
consteval TDaaTables MakeDaaTable() {
    TDaaTables tables{};
    for (int a = 0; a < 256; ++a) {
        const int u = a >> 4, l = a & 0xF;
        auto& noCarry = tables[0][a];
        if (u <= 9 && l <= 9) noCarry = DaaKeep;
        else if (u <= 8 && l >= 0xA) noCarry = DaaAdd06;
        else if (u >= 0xA && l <= 9) noCarry = DaaAdd60;
        else if (u >= 9 && l >= 0xA) noCarry = DaaAdd66;
        if (l <= 3) tables[1][a] = u <= 9 ? DaaAdd06 : DaaAdd66;
        if (u <= 2) tables[2][a] = l <= 9 ? DaaAdd60 : DaaAdd66;
        if (u <= 3 && l <= 3) tables[3][a] = DaaAdd66;
    }
    return tables;
}

inline constexpr TDaaTables DaaTable = MakeDaaTable();

}  // namespace hexmoor
