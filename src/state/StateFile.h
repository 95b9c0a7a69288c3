// State files: a machine's snapshot on disk, with the program it ran. A file starts with a
// magic text, the format version and the layout of its fields, and its length; then the
// program's name and digest, then the snapshot's sections (each with its name and length),
// and it ends with a CRC-32 of everything before it. A file is read and checked whole
// before anything uses it: one that is not a state file, truncated, damaged, from another
// format or too large is refused with the reason.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "state/MachineState.h"

namespace hexmoor {

struct TMemoryImages;

inline constexpr uint32_t kStateFormatVersion = 1;
// Far beyond any state (its memory is 130 KiB): typed-ahead input is all that can grow.
inline constexpr std::size_t kMaxStateFileSize = std::size_t(64) << 20;

struct TStateFile {
    std::string Program;         // the program's file name as it was given
    uint32_t ProgramDigest = 0;  // of its bytes as loaded (see ProgramDigest)
    TMachineState State;
};

// The memory images right after a program has loaded: what tells one program from another.
uint32_t ProgramDigest(const TMemoryImages& images);

// The whole file's bytes; the reason it cannot be written ("" when it can) in `error`.
std::string StateFileBytes(const TStateFile& file, std::string& error);
// Reads a whole file's bytes into `into`: "" or why they are no state file. `into` is
// meaningful only when "" is returned.
std::string ParseStateFile(std::string_view bytes, TStateFile& into);

// Both return "" or a message naming the file and the cause.
std::string WriteStateFile(const std::string& path, const TStateFile& file);
std::string ReadStateFile(const std::string& path, TStateFile& into);

}  // namespace hexmoor
