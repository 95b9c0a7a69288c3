// Recognises a program that waits for a key in a loop polling the terminal status port.
//
// Such a loop reads the empty status port again and again from the same instruction with
// the same A, B, X, Y and SP, and between two reads leaves memory as it was and writes
// nothing to the terminal, the printer or a port. A computation that looks for an abort key
// between steps of its work fails that test: its progress shows in a register or in
// memory. What interrupt handlers do meanwhile does not count (a clock that ticks and
// prints while the program waits): it is forgotten when they return. Memory is never
// compared: every store adds what it changed to a sum, weighted by its address, so stores
// that undo each other between two reads (a task switch there and back) leave the sum as
// it was. The test itself runs only when the status port is read.
#pragma once

#include <cstdint>

namespace hexmoor {

struct TWaitLoop {
    bool operator==(const TWaitLoop&) const = default;

    // Empty status reads in a row, alike, before the loop counts as recognised.
    static constexpr uint32_t kLoopPolls = 3;
    // A recognised loop still runs while its last poll is this recent (10 ms of chip time).
    static constexpr int64_t kPollGap = 20'000;
    // Nothing written to the terminal for this long (100 ms of chip time) is a program that
    // waits in a loop too odd to be recognised, or a computation gone quiet.
    static constexpr int64_t kQuietCycles = 200'000;

    // The registers at an empty status read.
    struct TPoll {
        bool operator==(const TPoll&) const = default;
        uint16_t Pc = 0, X = 0, Y = 0, Sp = 0;
        uint8_t A = 0, B = 0;
    };

    TPoll LastPoll;
    uint32_t AlikePolls = 0;  // empty status reads in a row, alike, nothing done between them
    int64_t LoopStart = 0;    // the cycle of the first of them
    int64_t LastPollCycle = 0;
    int64_t LastOutput = 0;  // the cycle of the last byte to the terminal
    uint64_t StoreSum = 0;   // what the program's stores changed, summed by address weight
    uint64_t PollStoreSum = 0;  // StoreSum at the last empty status read
    bool Acted = false;  // a byte to the terminal, the printer or a port since then
    // StoreSum and Acted when the interrupt being handled came; restored when it returns.
    uint64_t StoreSumBeforeInterrupt = 0;
    bool ActedBeforeInterrupt = false;
    uint32_t InterruptDepth = 0;  // interrupts entered and not yet returned from

    // Everything forgotten, as at a reset at `cycle`.
    void Restart(int64_t cycle) {
        *this = TWaitLoop{};
        LastOutput = LastPollCycle = cycle;
    }

    void Polled(const TPoll& poll, int64_t cycle) {
        if (Still() && AlikePolls > 0 && poll == LastPoll) {
            ++AlikePolls;
        } else {
            AlikePolls = 1;
            LoopStart = cycle;
        }
        LastPoll = poll;
        LastPollCycle = cycle;
        PollStoreSum = StoreSum;
        Acted = false;
    }
    void Stored(uint16_t address, uint8_t oldByte, uint8_t newByte) {
        // An odd weight per address, so that no change vanishes from the sum by itself.
        const uint64_t weight = uint64_t(address) * 0x9E3779B97F4A7C15u | 1;
        StoreSum += (uint64_t(newByte) - oldByte) * weight;
    }
    void Wrote() { Acted = true; }  // to the printer or a port
    void Output(int64_t cycle) {        // to the terminal
        Acted = true;
        LastOutput = cycle;
    }
    void InterruptEntered() {
        if (InterruptDepth++ != 0) return;
        StoreSumBeforeInterrupt = StoreSum;
        ActedBeforeInterrupt = Acted;
    }
    // An RTI that is no interrupt's return (a monitor starting a program) changes nothing.
    void InterruptReturned() {
        if (InterruptDepth == 0 || --InterruptDepth != 0) return;
        StoreSum = StoreSumBeforeInterrupt;
        Acted = ActedBeforeInterrupt;
    }

    // Nothing done since the last empty status read.
    bool Still() const { return !Acted && StoreSum == PollStoreSum; }
    // The polls so far are a recognised wait loop, and nothing has happened since the last.
    bool Recognised() const { return AlikePolls >= kLoopPolls && Still(); }
    // A recognised loop that is still polling at `cycle`.
    bool Waiting(int64_t cycle) const { return Recognised() && cycle - LastPollCycle <= kPollGap; }
    // How long the recognised loop has run, in E cycles; 0 when there is none.
    int64_t LoopCycles(int64_t cycle) const { return Recognised() ? cycle - LoopStart : 0; }
    bool Quiet(int64_t cycle) const { return cycle - LastOutput >= kQuietCycles; }
    // The next typed line may go in: the program waits in a loop, or has long been quiet.
    bool ReadyForLine(int64_t cycle) const { return Recognised() || Quiet(cycle); }
};

}  // namespace hexmoor
