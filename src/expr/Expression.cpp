// Parsing expressions into postfix nodes by precedence climbing, and running those nodes.
#include "expr/Expression.h"

#include <array>
#include <climits>

#include "core/Hex.h"

namespace hexmoor {

enum class TExpression::TOp : uint8_t {
    Number, Register, Flag, Symbol, LocationCounter,
    Byte, Word, Negate, Complement, Not, ToBool,
    // && and ||: decide on the left value and jump past the right side when it settles the result
    AndThen, OrElse,
    Multiply, Divide, Remainder, Add, Subtract, ShiftLeft, ShiftRight,
    Less, LessEqual, Greater, GreaterEqual, Equal, NotEqual, And, Xor, Or,
};

using TOp = TExpression::TOp;

namespace {

struct TBinaryOperator {
    std::string_view Text;
    TOp Op;
    int Level;  // C's precedence: higher binds tighter
    bool Comparison;
};

// Two-character operators first, so that << is not read as <.
constexpr TBinaryOperator kBinaryOperators[] = {
    {"<<", TOp::ShiftLeft, 8, false},   {">>", TOp::ShiftRight, 8, false},  {"<=", TOp::LessEqual, 7, true},
    {">=", TOp::GreaterEqual, 7, true}, {"==", TOp::Equal, 6, true},        {"!=", TOp::NotEqual, 6, true},
    {"&&", TOp::AndThen, 2, true},      {"||", TOp::OrElse, 1, true},       {"*", TOp::Multiply, 10, false},
    {"/", TOp::Divide, 10, false},      {"%", TOp::Remainder, 10, false},   {"+", TOp::Add, 9, false},
    {"-", TOp::Subtract, 9, false},     {"<", TOp::Less, 7, true},          {">", TOp::Greater, 7, true},
    {"&", TOp::And, 5, false},          {"^", TOp::Xor, 4, false},          {"|", TOp::Or, 3, false},
};

struct TRegisterWord {
    std::string_view Name;
    TRegisterName Register;
};
constexpr TRegisterWord kRegisterWords[] = {
    {"A", TRegisterName::A},   {"B", TRegisterName::B},   {"D", TRegisterName::D},
    {"X", TRegisterName::X},   {"Y", TRegisterName::Y},   {"SP", TRegisterName::SP},
    {"PC", TRegisterName::PC}, {"CCR", TRegisterName::CCR},
};
constexpr std::string_view kFlagLetters = "CVZNIHXS";  // by bit number in CCR

bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsNameStart(char c) { return IsLetter(c) || c == '_' || c == '.'; }
bool IsNameChar(char c) { return IsNameStart(c) || IsDigit(c); }
char Upper(char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; }

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Upper(a[i]) != Upper(b[i])) return false;
    return true;
}

int DigitValue(char c) {
    if (IsDigit(c)) return c - '0';
    if (IsLetter(c)) return Upper(c) - 'A' + 10;
    return INT_MAX;
}

bool AllHexDigits(std::string_view text) {
    for (char c : text)
        if (DigitValue(c) >= 16) return false;
    return true;
}

// The digits' value, or nullopt when one is not of the base; values past 32 bits come back as
// 2^32, which no 32-bit number is.
std::optional<uint64_t> DigitsValue(std::string_view digits, int base) {
    uint64_t value = 0;
    for (char c : digits) {
        const int digit = DigitValue(c);
        if (digit >= base) return std::nullopt;
        value = std::min<uint64_t>(value * base + digit, uint64_t(1) << 32);
    }
    return value;
}

struct TParseFailure {
    TExpressionMessage Message;
};

// Where an operand came from, for the mixed-precedence warning: the operator at its top when
// it is an unparenthesised binary expression.
struct TOperand {
    const TBinaryOperator* Top = nullptr;
    std::size_t Column = 0;
};

}  // namespace

class TExpressionParser {
public:
    TExpressionParser(std::string_view text, const TExpressionSyntax& syntax, const TExpressionScope& scope,
                      std::vector<TExpressionMessage>* warnings)
        : text_(text), syntax_(syntax), scope_(scope), warnings_(warnings) {}

    std::optional<TExpression> Run(bool wholeText, TExpressionMessage& error) {
        try {
            if (wholeText) SkipBlanks(true);
            ParseBinary(1);
            if (wholeText) {
                SkipBlanks(true);
                if (!AtEnd()) Fail(pos_, Unexpected());
            }
        } catch (TParseFailure& failure) {
            error = std::move(failure.Message);
            return std::nullopt;
        }
        expression_.length_ = end_;
        return std::move(expression_);
    }

private:
    bool AtEnd() const { return pos_ >= text_.size(); }
    char Next(std::size_t ahead = 0) const { return pos_ + ahead < text_.size() ? text_[pos_ + ahead] : '\0'; }
    bool IsBlank(char c) const { return c == ' ' || c == '\t'; }

    void SkipBlanks(bool always = false) {
        if (syntax_.Blanks || always)
            while (!AtEnd() && IsBlank(text_[pos_])) ++pos_;
    }

    // Moves past a token's characters.
    void Take(std::size_t count) {
        pos_ += count;
        end_ = pos_;
    }

    [[noreturn]] void Fail(std::size_t offset, std::string text) { throw TParseFailure{{offset + 1, std::move(text)}}; }

    void Warn(std::size_t offset, std::string text) {
        if (warnings_) warnings_->push_back({offset + 1, std::move(text)});
    }

    std::string Unexpected() const {
        const char c = Next();
        if (AtEnd() || IsBlank(c)) return "expected an operand";
        if (c > ' ' && c < 0x7F) return std::string("unexpected '") + c + "'";
        return "unexpected byte $" + Hex2(uint8_t(c));
    }

    void Emit(TOp op, std::size_t offset, int32_t value = 0, uint32_t nameLength = 0) {
        expression_.nodes_.push_back({op, uint32_t(offset + 1), value, nameLength});
    }

    // Values pushed onto the evaluation stack: counted so that Evaluate's fixed stack is enough.
    void EmitValue(TOp op, std::size_t offset, int32_t value = 0, uint32_t nameLength = 0) {
        if (++stackDepth_ > TExpression::kMaxStack) Fail(offset, "expression too deeply nested");
        Emit(op, offset, value, nameLength);
    }

    void Nest(std::size_t offset) {
        if (++nesting_ > TExpression::kMaxNesting) Fail(offset, "expression too deeply nested");
    }

    const TBinaryOperator* PeekBinary() {
        SkipBlanks();
        for (const TBinaryOperator& op : kBinaryOperators)
            if (text_.substr(pos_).starts_with(op.Text) && (syntax_.Comparisons || !op.Comparison)) return &op;
        return nullptr;
    }

    TOperand ParseBinary(int minLevel) {
        TOperand left = ParseUnary();
        while (const TBinaryOperator* op = PeekBinary()) {
            if (op->Level < minLevel) break;
            const std::size_t offset = pos_;
            Take(op->Text.size());
            const bool shortCircuit = op->Op == TOp::AndThen || op->Op == TOp::OrElse;
            const std::size_t jump = expression_.nodes_.size();
            if (shortCircuit) {
                Emit(op->Op, offset);
                --stackDepth_;
            }
            const TOperand right = ParseBinary(op->Level + 1);
            if (syntax_.WarnMixedPrecedence) {
                if (left.Top && left.Top->Level != op->Level) WarnMixed(*left.Top, *op, offset);
                if (right.Top && right.Top->Level != op->Level) WarnMixed(*right.Top, *op, right.Column);
            }
            if (shortCircuit) {
                Emit(TOp::ToBool, offset);
                expression_.nodes_[jump].Value = int32_t(expression_.nodes_.size());
            } else {
                --stackDepth_;
                Emit(op->Op, offset);
            }
            left = {op, offset};
        }
        return left;
    }

    void WarnMixed(const TBinaryOperator& tighter, const TBinaryOperator& looser, std::size_t offset) {
        Warn(offset, "'" + std::string(tighter.Text) + "' and '" + std::string(looser.Text) +
                         "' without parentheses: '" + std::string(tighter.Text) +
                         "' binds tighter here, classic assemblers go left to right");
    }

    TOperand ParseUnary() {
        SkipBlanks();
        while (syntax_.ImmediateMarks && Next() == '#') Take(1);
        const std::size_t offset = pos_;
        TOp op;
        switch (Next()) {
        case '-': op = TOp::Negate; break;
        case '~': op = TOp::Complement; break;
        case '!':
            if (!syntax_.Comparisons) return ParsePrimary();
            op = TOp::Not;
            break;
        default: return ParsePrimary();
        }
        Take(1);
        Nest(offset);
        ParseUnary();
        --nesting_;
        Emit(op, offset);
        return {};
    }

    TOperand ParsePrimary() {
        const char c = Next();
        if (AtEnd()) Fail(pos_, Unexpected());
        if (c == '(') return ParseBracketed("(", ")", std::nullopt);
        if (c == '[' && syntax_.Memory)
            return Next(1) == '[' ? ParseBracketed("[[", "]]", TOp::Word) : ParseBracketed("[", "]", TOp::Byte);
        if (c == '$') return ParseNumber(1, 16, "hex");
        if (c == '%') return ParseNumber(1, 2, "binary");
        if (c == '@' && syntax_.Octal) return ParseNumber(1, 8, "octal");
        if (syntax_.Radix == 16) {
            if (c == '0' && (Next(1) == 'x' || Next(1) == 'X')) return ParseNumber(2, 16, "hex");
            if (c == '#') return ParseNumber(1, 10, "decimal");
            if (IsDigit(c)) return ParseNumber(0, 16, "hex");
        }
        if (IsDigit(c)) return ParseNumber(0, 10, "decimal");
        if (c == '\'' && syntax_.CharConstants) return ParseCharacter();
        if (c == '*' && syntax_.LocationCounter) {
            EmitValue(TOp::LocationCounter, pos_);
            Take(1);
            return {};
        }
        if (IsNameStart(c)) return ParseName();
        Fail(pos_, Unexpected());
    }

    TOperand ParseBracketed(std::string_view open, std::string_view close, std::optional<TOp> op) {
        const std::size_t offset = pos_;
        Take(open.size());
        Nest(offset);
        ParseBinary(1);
        --nesting_;
        SkipBlanks();
        if (!text_.substr(pos_).starts_with(close)) Fail(pos_, "expected '" + std::string(close) + "'");
        Take(close.size());
        if (op) Emit(*op, offset);
        return {};
    }

    // A number's digits run on over every character a name may hold, so that 12AB or %102 is
    // one bad number rather than a number followed by something unexpected.
    TOperand ParseNumber(std::size_t prefix, int base, std::string_view kind) {
        const std::size_t offset = pos_;
        std::size_t stop = pos_ + prefix;
        while (stop < text_.size() && IsNameChar(text_[stop])) ++stop;
        Take(stop - pos_);
        const std::string_view token = text_.substr(offset, stop - offset);
        const std::string_view digits = token.substr(prefix);
        if (digits.empty())
            Fail(offset, "expected " + std::string(kind) + " digits after '" + std::string(token) + "'");
        const std::optional<uint64_t> value = DigitsValue(digits, base);
        if (!value) Fail(offset, "bad " + std::string(kind) + " number " + std::string(token));
        if (*value > UINT32_MAX) Fail(offset, std::string(token) + " does not fit in 32 bits");
        EmitValue(TOp::Number, offset, int32_t(uint32_t(*value)));
        return {};
    }

    TOperand ParseCharacter() {
        const std::size_t offset = pos_;
        if (pos_ + 1 >= text_.size()) Fail(offset, "expected a character after '");
        EmitValue(TOp::Number, offset, uint8_t(text_[pos_ + 1]));
        Take(Next(2) == '\'' ? 3 : 2);
        return {};
    }

    TOperand ParseName() {
        const std::size_t offset = pos_;
        std::size_t stop = pos_;
        while (stop < text_.size() && IsNameChar(text_[stop])) ++stop;
        Take(stop - pos_);
        const std::string_view name = text_.substr(offset, stop - offset);
        if (syntax_.Registers && ParseRegister(name, offset)) return {};
        const bool hex = AllHexDigits(name);
        const bool hexRadix = syntax_.Radix == 16;
        if (!hexRadix || scope_.Symbol(name)) {
            if (hexRadix && hex)
                Warn(offset, std::string(name) + " is the symbol; write $" + std::string(name) + " for the number");
            EmitValue(TOp::Symbol, offset, int32_t(expression_.names_.size()), uint32_t(name.size()));
            expression_.names_ += name;
            return {};
        }
        if (!hex) Fail(offset, "unknown name " + std::string(name));
        const std::optional<uint64_t> value = DigitsValue(name, 16);
        if (*value > UINT32_MAX) Fail(offset, std::string(name) + " does not fit in 32 bits");
        EmitValue(TOp::Number, offset, int32_t(uint32_t(*value)));
        return {};
    }

    bool ParseRegister(std::string_view name, std::size_t offset) {
        for (const TRegisterWord& word : kRegisterWords) {
            if (SameIgnoringCase(name, word.Name)) {
                EmitValue(TOp::Register, offset, int32_t(word.Register));
                return true;
            }
        }
        if (name.size() == 5 && SameIgnoringCase(name.substr(0, 4), "CCR.")) {
            const std::size_t bit = kFlagLetters.find(Upper(name[4]));
            if (bit != std::string_view::npos) {
                EmitValue(TOp::Flag, offset, int32_t(bit));
                return true;
            }
        }
        return false;
    }

    std::string_view text_;
    const TExpressionSyntax& syntax_;
    const TExpressionScope& scope_;
    std::vector<TExpressionMessage>* warnings_;
    TExpression expression_;
    std::size_t pos_ = 0;
    std::size_t end_ = 0;  // just past the last token taken
    std::size_t nesting_ = 0;
    std::size_t stackDepth_ = 0;
};

std::optional<TExpression> TExpression::Parse(std::string_view text, const TExpressionSyntax& syntax,
                                              const TExpressionScope& scope, TExpressionMessage& error,
                                              std::vector<TExpressionMessage>* warnings) {
    return TExpressionParser(text, syntax, scope, warnings).Run(true, error);
}

std::optional<TExpression> TExpression::ParsePrefix(std::string_view text, const TExpressionSyntax& syntax,
                                                    const TExpressionScope& scope, TExpressionMessage& error,
                                                    std::vector<TExpressionMessage>* warnings) {
    return TExpressionParser(text, syntax, scope, warnings).Run(false, error);
}

namespace {

// A binary operator on 32-bit values that wrap; nullopt for division by zero.
std::optional<uint32_t> Apply(TOp op, uint32_t left, uint32_t right) {
    const int32_t l = int32_t(left), r = int32_t(right);
    switch (op) {
    case TOp::Multiply: return left * right;
    case TOp::Divide:
        if (r == 0) return std::nullopt;
        return r == -1 ? 0u - left : uint32_t(l / r);  // INT_MIN / -1 wraps to INT_MIN
    case TOp::Remainder:
        if (r == 0) return std::nullopt;
        return r == -1 ? 0u : uint32_t(l % r);
    case TOp::Add: return left + right;
    case TOp::Subtract: return left - right;
    case TOp::ShiftLeft: return right >= 32 ? 0u : left << right;
    case TOp::ShiftRight: return right >= 32 ? (l < 0 ? ~0u : 0u) : uint32_t(l >> right);
    case TOp::Less: return l < r;
    case TOp::LessEqual: return l <= r;
    case TOp::Greater: return l > r;
    case TOp::GreaterEqual: return l >= r;
    case TOp::Equal: return l == r;
    case TOp::NotEqual: return l != r;
    case TOp::And: return left & right;
    case TOp::Xor: return left ^ right;
    default: return left | right;
    }
}

int32_t Failed(TExpressionMessage* error, const TExpression::TNode& node, std::string text) {
    if (error) *error = {node.Column, std::move(text)};
    return 0;
}

}  // namespace

TExpression::TValueKind TExpression::ValueKind() const {
    if (nodes_.empty()) return TValueKind::Number;
    const TNode& last = nodes_.back();
    switch (last.Op) {
    case TOp::Byte: return TValueKind::Byte;
    case TOp::Word: return TValueKind::Word;
    case TOp::Register:
        switch (TRegisterName(last.Value)) {
        case TRegisterName::A:
        case TRegisterName::B:
        case TRegisterName::CCR: return TValueKind::Byte;
        default: return TValueKind::Word;
        }
    case TOp::Flag:
    case TOp::Not:
    case TOp::ToBool:
    case TOp::Less:
    case TOp::LessEqual:
    case TOp::Greater:
    case TOp::GreaterEqual:
    case TOp::Equal:
    case TOp::NotEqual: return TValueKind::Truth;
    default: return TValueKind::Number;
    }
}

uint8_t TExpression::RegistersRead() const {
    uint8_t registers = 0;
    for (const TNode& node : nodes_) {
        if (node.Op == TOp::Register) registers |= uint8_t(1u << node.Value);
        if (node.Op == TOp::Flag) registers |= uint8_t(1u << int(TRegisterName::CCR));
    }
    return registers;
}

uint8_t TExpression::FlagsRead() const {
    uint8_t flags = 0;
    for (const TNode& node : nodes_) {
        if (node.Op == TOp::Register && TRegisterName(node.Value) == TRegisterName::CCR) flags = 0xFF;
        if (node.Op == TOp::Flag) flags |= uint8_t(1u << node.Value);
    }
    return flags;
}

int32_t TExpression::Evaluate(const TExpressionScope& scope, TExpressionMessage* error) const {
    std::array<uint32_t, kMaxStack> stack;
    std::size_t top = 0;  // values on the stack
    std::size_t next = 0;
    while (next < nodes_.size()) {
        const TNode& node = nodes_[next++];
        switch (node.Op) {
        case TOp::Number: stack[top++] = uint32_t(node.Value); break;
        case TOp::Register: stack[top++] = uint32_t(scope.Register(TRegisterName(node.Value))); break;
        case TOp::Flag: stack[top++] = uint32_t(scope.Register(TRegisterName::CCR)) >> node.Value & 1; break;
        case TOp::LocationCounter: stack[top++] = uint32_t(scope.LocationCounter()); break;
        case TOp::Symbol: {
            const std::string_view name = std::string_view(names_).substr(node.Value, node.NameLength);
            const std::optional<int32_t> value = scope.Symbol(name);
            if (!value) return Failed(error, node, "unknown name " + std::string(name));
            stack[top++] = uint32_t(*value);
            break;
        }
        case TOp::Byte: stack[top - 1] = scope.Memory(uint16_t(stack[top - 1])); break;
        case TOp::Word: {
            const uint16_t address = uint16_t(stack[top - 1]);
            stack[top - 1] = uint32_t(scope.Memory(address)) << 8 | scope.Memory(uint16_t(address + 1));
            break;
        }
        case TOp::Negate: stack[top - 1] = 0u - stack[top - 1]; break;
        case TOp::Complement: stack[top - 1] = ~stack[top - 1]; break;
        case TOp::Not: stack[top - 1] = stack[top - 1] == 0; break;
        case TOp::ToBool: stack[top - 1] = stack[top - 1] != 0; break;
        case TOp::AndThen:
        case TOp::OrElse: {
            const bool settled = (stack[top - 1] != 0) == (node.Op == TOp::OrElse);
            if (settled) {
                stack[top - 1] = node.Op == TOp::OrElse;
                next = std::size_t(node.Value);
            } else {
                --top;
            }
            break;
        }
        default: {
            const std::optional<uint32_t> value = Apply(node.Op, stack[top - 2], stack[top - 1]);
            if (!value) return Failed(error, node, "division by zero");
            stack[--top - 1] = *value;
        }
        }
    }
    return int32_t(stack[0]);
}

}  // namespace hexmoor
