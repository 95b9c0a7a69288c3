// Registers as a debugger edits them: by the name the panel's read-out shows, with the
// width it shows. An edit takes every bit as typed (X in the CCR included, which a program
// can only clear), and the machine then shows the registers and the next instruction again.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace hexmoor {

class TMachine;

enum class TCpuRegister : uint8_t { A, B, X, Y, SP, PC, CCR };

struct TEditableRegister {
    TCpuRegister Register;
    const char* Name;  // as the read-outs caption it
    uint16_t Largest;  // $FF or $FFFF
};

// The register a read-out's caption names ("A", "IX", "CCR", ...), if any.
std::optional<TEditableRegister> RegisterNamed(std::string_view caption);

uint16_t RegisterValue(const TMachine& machine, TCpuRegister which);
// An empty string when done; otherwise why not (the value is wider than the register).
std::string SetRegister(TMachine& machine, const TEditableRegister& which, uint32_t value);

}  // namespace hexmoor
