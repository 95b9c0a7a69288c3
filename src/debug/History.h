// How the program got where it is: the instructions executed last, rebuilt from the
// machine's log of control transfers by decoding the code between them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/ListingText.h"
#include "debug/Symbols.h"
#include "debug/TracedPasses.h"

namespace hexmoor {

class TMachine;

// A symbol table as names for a listing: an address's first name.
class TSymbolNames : public TAddressNames {
public:
    explicit TSymbolNames(const TSymbolTable& symbols) : symbols_(symbols) {}
    const std::string* NameAt(uint16_t address) const override {
        const std::vector<std::string>& names = symbols_.NamesAt(address);
        return names.empty() ? nullptr : &names.front();
    }

private:
    const TSymbolTable& symbols_;
};

struct THistoryLine {
    uint16_t Address = 0;
    std::string Text;        // the listing form; "interrupt" where one was entered
    bool Interrupt = false;  // the line marks an interrupt's entry, not an instruction
    std::optional<TRegisterValues> Registers;  // after it, where it ran traced or stepped
};

// The last `limit` instructions executed before PC, oldest first, as far back as the log
// reaches. Code changed since it ran is shown as it is now. The newest is instruction number
// InstructionCount, the one before it InstructionCount - 1, ...: those found in `traced`
// show their registers.
std::vector<THistoryLine> ExecutionHistory(const TMachine& machine, const TAddressNames* names,
                                           std::size_t limit = 1000, const TTracedPasses* traced = nullptr);

}  // namespace hexmoor
