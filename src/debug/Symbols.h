// A program's names for addresses, for the debugger: the label lines of a code view, names
// in expressions, "name+offset" for an address past a label.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace hexmoor {

struct TSymbol {
    std::string Name;
    uint16_t Address = 0;
};

// Names are case-sensitive, as the GNU assembler and linker treat them: "Loop" and "loop"
// are two symbols. A name stands for one address, the first it was given.
class TSymbolTable {
public:
    // A name for a place in memory: a label, a routine, a variable. False when the name
    // already stands for another address (it keeps that one).
    bool Add(const std::string& name, uint16_t address);
    // A name for a value that need not be a place: an absolute symbol (an .equ constant, a
    // linker-script assignment). It is found by name but names no address, so a count of 10
    // never labels the code at $000A, nor do twenty unused vectors set to 0 crowd $0000.
    bool AddConstant(const std::string& name, uint16_t value);

    std::optional<uint16_t> Find(std::string_view name) const;
    // The names of the places that start at `address`, in the order they were added.
    const std::vector<std::string>& NamesAt(uint16_t address) const;
    // The place nearest at or below `address`, by its first name: the base of "name+offset".
    // None below the lowest place.
    std::optional<TSymbol> Nearest(uint16_t address) const;
    // Every name with its address or value, in name order.
    std::vector<TSymbol> All() const;
    bool Empty() const { return addresses_.empty(); }

private:
    std::map<std::string, uint16_t, std::less<>> addresses_;
    std::map<uint16_t, std::vector<std::string>> places_;
};

}  // namespace hexmoor
