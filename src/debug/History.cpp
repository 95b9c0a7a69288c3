#include "debug/History.h"

#include <algorithm>

#include "core/Machine.h"

namespace hexmoor {

namespace {

// The straight-line instructions from `start` up to `end` (and `end` itself when it
// executed); false when decoding from `start` never lands on `end` (the code changed).
bool Segment(const TMachine& m, uint16_t start, uint16_t end, bool withEnd, std::vector<uint16_t>& addresses) {
    constexpr int kLongest = 4096;  // straight-line code between two transfers
    uint16_t address = start;
    for (int i = 0; i < kLongest; ++i) {
        if (address == end) {
            if (withEnd) addresses.push_back(end);
            return true;
        }
        addresses.push_back(address);
        address = uint16_t(address + DecodeAt(address, InstructionBytesAt(m.MemoryImage, address)).Length);
    }
    return false;
}

}  // namespace

std::vector<THistoryLine> ExecutionHistory(const TMachine& m, const TAddressNames* names, std::size_t limit,
                                           const TTracedPasses* traced) {
    std::vector<THistoryLine> newestFirst;
    const uint64_t logged = std::min<uint64_t>(m.Transfers.Count, TTransferLog::kSize);
    uint16_t end = m.RegisterPC;
    bool withEnd = false;
    uint64_t number = m.InstructionCount;
    for (uint64_t age = 0; age < logged && newestFirst.size() < limit; ++age) {
        const TTransfer transfer = m.Transfers.Back(age);
        std::vector<uint16_t> addresses;
        if (!Segment(m, transfer.To, end, withEnd, addresses)) break;
        for (auto a = addresses.rbegin(); a != addresses.rend() && newestFirst.size() < limit; ++a, --number) {
            std::string text = ListingText(DecodeAt(*a, InstructionBytesAt(m.MemoryImage, *a)), names);
            THistoryLine& line = newestFirst.emplace_back(THistoryLine{*a, std::move(text), false, std::nullopt});
            if (const TTracedPass* pass = traced ? traced->Find(number, *a) : nullptr) line.Registers = pass->After;
        }
        if (transfer.Kind == TTransfer::Interrupt && newestFirst.size() < limit)
            newestFirst.push_back({transfer.From, "interrupt", true, std::nullopt});
        end = transfer.From;
        withEnd = transfer.Kind == TTransfer::Instruction;
    }
    return {newestFirst.rbegin(), newestFirst.rend()};
}

}  // namespace hexmoor
