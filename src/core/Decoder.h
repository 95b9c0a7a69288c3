// One instruction as its bytes say it, at any address of any memory: what the trace line,
// a listing of code and the execution history are made from.
#pragma once

#include <array>
#include <cstdint>

#include "core/Opcode.h"

namespace hexmoor {

// The longest instruction: a prebyte, the opcode and three operand bytes (BRSET n,Y).
inline constexpr int kMaxInstructionBytes = 5;
using TInstructionBytes = std::array<uint8_t, kMaxInstructionBytes>;

struct TDecodedInstruction {
    uint16_t Address = 0;
    int Page = 0;                    // the opcode page its prebyte selects
    const TOpcode* Opcode = nullptr;  // its entry in the opcode table
    // An opcode that is no instruction (the CPU traps on it) or TEST, which only runs in
    // the chip's test mode: a listing shows its first byte as data.
    bool Legal = false;
    int Length = 1;                  // bytes, with the prebyte; 1 for one that is not Legal
    uint8_t Operand = 0;             // the first operand byte: immediate, direct, offset
    uint16_t Word = 0;               // the 16-bit immediate or extended operand
    uint8_t Mask = 0;                // the bit instructions' mask
    uint16_t Target = 0;             // where a branch (relative or BRSET/BRCLR) goes
    TInstructionBytes Bytes{};
};

// `bytes` are those at `address` and the four after it.
TDecodedInstruction DecodeAt(uint16_t address, const TInstructionBytes& bytes);

// The bytes from `address` on in a 64 KiB image, wrapping past $FFFF.
template <class Image>
TInstructionBytes InstructionBytesAt(const Image& image, uint16_t address) {
    TInstructionBytes bytes;
    for (int i = 0; i < kMaxInstructionBytes; ++i) bytes[i] = image[uint16_t(address + i)];
    return bytes;
}

// BSET, BCLR, BRSET and BRCLR: an address and a mask.
bool IsBitInstruction(const TOpcode& opcode);

// The instruction branches to Target: relative branches, BSR, BRSET and BRCLR.
bool HasBranchTarget(const TDecodedInstruction& instruction);

}  // namespace hexmoor
