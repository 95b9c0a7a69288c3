// What the machine tells a debugger attached to it, and asks it. The machine calls it only
// where the debugger has marked: an instruction's address in the stop marks, a page of
// memory as watched. A machine with nothing marked runs as if no debugger were attached.
#pragma once

#include <array>
#include <cstdint>

namespace hexmoor {

class TMachine;

class TDebugHooks {
public:
    virtual ~TDebugHooks() = default;
    // The next instruction's address is marked: true stops the run before it.
    virtual bool StopBefore(TMachine& machine) = 0;
    // A program read or wrote a byte of a watched page (the access is done; `before` is the
    // byte as it was, `value` the byte read or written).
    virtual void Accessed(TMachine& machine, uint16_t address, uint8_t before, uint8_t value, bool write) = 0;
};

// Addresses where the run must ask the debugger before executing: one byte an address.
using TStopMarks = std::array<uint8_t, 0x10000>;

// The control transfers taken, newest last: enough to rebuild the instructions executed
// between them by decoding. Kept by the machine at the cost of one store a transfer.
struct TTransfer {
    enum TKind : uint8_t { Instruction, Interrupt };
    uint16_t From = 0;  // the jumping instruction; for an interrupt, the next one not executed
    uint16_t To = 0;
    TKind Kind = Instruction;
};

struct TTransferLog {
    static constexpr uint32_t kSize = 1024;  // a power of two
    std::array<TTransfer, kSize> Entries{};
    uint64_t Count = 0;  // every transfer recorded; the newest is at (Count - 1) % kSize

    void Record(uint16_t from, uint16_t to, TTransfer::TKind kind = TTransfer::Instruction) {
        Entries[Count++ % kSize] = {from, to, kind};
    }
};

}  // namespace hexmoor
