// What the machine tells a debugger attached to it, and asks it. The machine calls it only
// where the debugger has marked: an instruction's address in the stop marks, a page of
// memory as watched. A machine with nothing marked runs as if no debugger were attached.
#pragma once

#include <algorithm>
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
    // After every pass while the machine's FollowPasses is set (Step Over, Step Out, change
    // watchpoints): true ends the run there.
    virtual bool StopAfterPass(TMachine& machine) = 0;
    // After each instruction a traced run or a step executed (the one at `address`), with
    // the registers as it left them. Untraced runs never call it: they pay nothing for it.
    virtual void Traced(const TMachine& /*machine*/, uint16_t /*address*/) {}
    // A run or a step starts from the machine as it is now (the user may have changed it).
    virtual void RunStarts(TMachine& /*machine*/) {}
};

// The CPU registers as two words a run can test after every instruction at the cost of a
// compare: D, X, Y and SP (D in the low 16 bits, A its high byte, then X, Y, SP), and the
// eight flags a byte each (S in the low byte, C in the top).
struct TRegisterWords {
    uint64_t Registers = 0, Flags = 0;
    bool operator==(const TRegisterWords&) const = default;
};

// What stops a run before the instruction at an address, one byte an address: the
// Breakpoint menu's own address, and the addresses a debugger asks to be asked about.
enum TStopMark : uint8_t { kMenuBreakPoint = 1, kDebuggerStop = 2 };

// The marks, and how many addresses carry one: a run with none marked looks at no address.
class TStopMarks {
public:
    uint8_t operator[](uint16_t address) const { return marks_[address]; }
    bool Any() const { return marked_ != 0; }
    void Set(uint16_t address, TStopMark mark, bool on) {
        uint8_t& byte = marks_[address];
        const bool was = byte != 0;
        byte = on ? byte | mark : byte & uint8_t(~mark);
        marked_ += int(byte != 0) - int(was);
    }

private:
    std::array<uint8_t, 0x10000> marks_{};
    uint32_t marked_ = 0;
};

// The control transfers taken, newest last: enough to rebuild the instructions executed
// between them by decoding. Kept by the machine at the cost of one store a transfer (a
// conditional branch stores always and counts the entry only when taken: no host branch).
struct TTransfer {
    enum TKind : uint8_t { Instruction, Interrupt };
    uint16_t From = 0;  // the jumping instruction; for an interrupt, the next one not executed
    uint16_t To = 0;
    TKind Kind = Instruction;
};

struct TTransferLog {
    static constexpr uint32_t kSize = 1024;  // a power of two
    static constexpr uint32_t kInterruptSize = 64;
    std::array<uint32_t, kSize> Entries{};  // From << 16 | To
    uint64_t Count = 0;  // every transfer recorded; the newest is at (Count - 1) % kSize
    // Which of the recorded transfers were interrupt entries (rare): their numbers.
    std::array<uint64_t, kInterruptSize> Interrupts{};
    uint64_t InterruptCount = 0;

    void Record(uint16_t from, uint16_t to) { Entries[Count++ % kSize] = uint32_t(from) << 16 | to; }
    void RecordIf(bool taken, uint16_t from, uint16_t to) {
        if (taken) Record(from, to);
    }
    void RecordInterrupt(uint16_t from, uint16_t to) {
        Interrupts[InterruptCount++ % kInterruptSize] = Count;
        Record(from, to);
    }
    // The entry `age` transfers back (0: the newest); only for age < min(Count, kSize).
    TTransfer Back(uint64_t age) const {
        const uint64_t number = Count - 1 - age;
        const uint32_t entry = Entries[number % kSize];
        TTransfer transfer{uint16_t(entry >> 16), uint16_t(entry), TTransfer::Instruction};
        for (uint64_t i = 0; i < std::min<uint64_t>(InterruptCount, kInterruptSize); ++i)
            if (Interrupts[i] == number) transfer.Kind = TTransfer::Interrupt;
        return transfer;
    }
};

}  // namespace hexmoor
