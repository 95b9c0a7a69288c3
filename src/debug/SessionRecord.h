// What a person set up to debug a program, kept between uses of the window: breakpoints and
// watchpoints as they were typed, so that they read again against the program as it is when
// it is loaded next (a label may have moved). Plain data; the window stores it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "debug/Breakpoints.h"

namespace hexmoor {

class TDebugSession;

struct TSessionRecord {
    struct TBreak {
        std::string Where;  // a source line's breakpoint as FILE:LINE, so it follows its line
        std::string Condition;
        uint64_t StopAtHit = 1;
        bool Enabled = true;
    };
    struct TWatch {
        std::string Where;
        TWatchAccess Access = TWatchAccess::Write;
        std::optional<uint8_t> Value;
        bool Enabled = true;
    };
    std::vector<TBreak> Breakpoints;
    std::vector<TWatch> Watchpoints;
};

TSessionRecord RecordSession(const TDebugSession& session);
// Adds the recorded points to the session's; one that no longer reads (its label is gone) is
// left out and said, "breakpoint at loop: unknown name loop".
std::vector<std::string> RestoreSession(TDebugSession& session, const TSessionRecord& record);

}  // namespace hexmoor
