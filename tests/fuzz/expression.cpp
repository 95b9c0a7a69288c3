// Arbitrary text as an expression under any mix of syntax options: parsing and evaluation end
// without a crash, messages point into the text, and an expression taken from the start of a
// text reads the same on its own.
#include <string>

#include "FuzzPanel.h"
#include "expr/Expression.h"

using namespace hexmoor;

namespace {

// Names of odd length are known; memory and registers are made up from the address or name.
class TFuzzScope : public TExpressionScope {
public:
    std::optional<int32_t> Symbol(std::string_view name) const override {
        if (name.size() % 2 == 0) return std::nullopt;
        return int32_t(name.size() * 0x10001);
    }
    int32_t Register(TRegisterName name) const override { return 0x1111 * int32_t(name); }
    uint8_t Memory(uint16_t address) const override { return uint8_t(address ^ address >> 8); }
    int32_t LocationCounter() const override { return 0xE000; }
};

// The first two bytes choose the options.
TExpressionSyntax SyntaxFrom(uint8_t flags, uint8_t more) {
    return {.Radix = uint8_t(flags & 32 ? 16 : 10),
            .Registers = bool(flags & 1),
            .Memory = bool(flags & 2),
            .LocationCounter = bool(flags & 4),
            .CharConstants = bool(flags & 8),
            .Octal = bool(flags & 16),
            .WarnMixedPrecedence = bool(flags & 64),
            .Comparisons = bool(flags & 128),
            .Blanks = bool(more & 1)};
}

void CheckMessage(const TExpressionMessage& message, std::size_t size, const char* what) {
    if (message.Column < 1 || message.Column > size + 1) fuzz::Fail(std::string(what) + " outside the text");
    if (message.Text.empty()) fuzz::Fail(std::string(what) + " without words");
}

struct TOutcome {
    int32_t Value;
    TExpressionMessage Error;
};

TOutcome Evaluated(const TExpression& expression, const TExpressionScope& scope, std::size_t size) {
    TOutcome outcome{0, {}};
    outcome.Value = expression.Evaluate(scope, &outcome.Error);
    if (!outcome.Error.Text.empty()) CheckMessage(outcome.Error, size, "evaluation error");
    return outcome;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const TExpressionSyntax syntax = SyntaxFrom(data[0], data[1]);
    const std::string_view text(reinterpret_cast<const char*>(data + 2), size - 2);
    const TFuzzScope scope;

    TExpressionMessage error;
    std::vector<TExpressionMessage> warnings;
    const auto whole = TExpression::Parse(text, syntax, scope, error, &warnings);
    for (const TExpressionMessage& warning : warnings) CheckMessage(warning, text.size(), "warning");
    if (whole) {
        if (whole->Length() > text.size() || text.substr(whole->Length()).find_first_not_of(" \t") != text.npos)
            fuzz::Fail("a whole text parsed short of its end");
        Evaluated(*whole, scope, text.size());
    } else {
        CheckMessage(error, text.size(), "parse error");
    }

    const auto prefix = TExpression::ParsePrefix(text, syntax, scope, error);
    if (!prefix) {
        CheckMessage(error, text.size(), "parse error");
        return 0;
    }
    if (prefix->Length() == 0 || prefix->Length() > text.size()) fuzz::Fail("prefix length outside the text");
    const TOutcome fromPrefix = Evaluated(*prefix, scope, text.size());
    const auto alone = TExpression::Parse(text.substr(0, prefix->Length()), syntax, scope, error);
    if (!alone) fuzz::Fail("a prefix that does not parse on its own: " + error.Text);
    const TOutcome fromAlone = Evaluated(*alone, scope, text.size());
    if (fromAlone.Value != fromPrefix.Value || fromAlone.Error.Text != fromPrefix.Error.Text)
        fuzz::Fail("a prefix that reads differently on its own");
    return 0;
}
