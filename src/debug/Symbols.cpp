#include "debug/Symbols.h"

namespace hexmoor {

bool TSymbolTable::Add(const std::string& name, uint16_t address) {
    const auto [at, added] = addresses_.try_emplace(name, address);
    if (added) places_[address].push_back(name);
    return added || at->second == address;
}

bool TSymbolTable::AddConstant(const std::string& name, uint16_t value) {
    const auto [at, added] = addresses_.try_emplace(name, value);
    return added || at->second == value;
}

std::optional<uint16_t> TSymbolTable::Find(std::string_view name) const {
    const auto at = addresses_.find(name);
    if (at == addresses_.end()) return std::nullopt;
    return at->second;
}

const std::vector<std::string>& TSymbolTable::NamesAt(uint16_t address) const {
    static const std::vector<std::string> kNone;
    const auto at = places_.find(address);
    return at == places_.end() ? kNone : at->second;
}

std::optional<TSymbol> TSymbolTable::Nearest(uint16_t address) const {
    auto above = places_.upper_bound(address);
    if (above == places_.begin()) return std::nullopt;
    --above;
    return TSymbol{above->second.front(), above->first};
}

std::vector<TSymbol> TSymbolTable::All() const {
    std::vector<TSymbol> symbols;
    for (const auto& [name, address] : addresses_) symbols.push_back({name, address});
    return symbols;
}

}  // namespace hexmoor
