// What a breakpoint condition or a typed address sees: the registers as they are, memory
// through peeks (reading never disturbs the machine), the program's symbols.
#pragma once

#include "core/Machine.h"
#include "debug/Peek.h"
#include "debug/Symbols.h"
#include "expr/Expression.h"

namespace hexmoor {

class TMachineScope : public TExpressionScope {
public:
    TMachineScope(const TMachine& machine, const TSymbolTable& symbols) : m_(machine), symbols_(symbols) {}
    std::optional<int32_t> Symbol(std::string_view name) const override {
        if (std::optional<uint16_t> address = symbols_.Find(name)) return *address;
        return std::nullopt;
    }
    int32_t Register(TRegisterName name) const override {
        switch (name) {
        case TRegisterName::A: return m_.RegisterA;
        case TRegisterName::B: return m_.RegisterB;
        case TRegisterName::D: return m_.RegisterD;
        case TRegisterName::X: return m_.RegisterX;
        case TRegisterName::Y: return m_.RegisterY;
        case TRegisterName::SP: return m_.RegisterSP;
        case TRegisterName::PC: return m_.RegisterPC;
        case TRegisterName::CCR: return m_.PackedCcr();
        }
        return 0;
    }
    uint8_t Memory(uint16_t address) const override { return PeekByte(m_, address); }

private:
    const TMachine& m_;
    const TSymbolTable& symbols_;
};

}  // namespace hexmoor
