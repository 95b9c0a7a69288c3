// Expressions of breakpoint conditions, go-to fields and assembler operands.
#include <gmock/gmock.h>

#include <map>

#include "expr/Expression.h"

namespace hexmoor::testing {
namespace {

constexpr const TExpressionSyntax& C = kConditionSyntax;
constexpr const TExpressionSyntax& M = kAssemblerSyntax;

class TTestScope : public TExpressionScope {
public:
    std::optional<int32_t> Symbol(std::string_view name) const override {
        const auto found = Symbols.find(name);
        return found == Symbols.end() ? std::nullopt : std::optional(found->second);
    }
    int32_t Register(TRegisterName name) const override { return Registers[std::size_t(name)]; }
    uint8_t Memory(uint16_t address) const override {
        const auto found = Bytes.find(address);
        return found == Bytes.end() ? 0 : found->second;
    }
    int32_t LocationCounter() const override { return 0xE010; }

    // A symbol A, to show that registers win in conditions.
    std::map<std::string, int32_t, std::less<>> Symbols{{"PORTA", 0x1000}, {"FACE", 0x0ACE}, {"A", 7}, {"COUNT", 3}};
    // A B D X Y SP PC CCR; CCR has S, X, I and C set.
    std::array<int32_t, 8> Registers{0x12, 0x34, 0x1234, 0x1004, 0x2000, 0x00FF, 0xE000, 0xD1};
    std::map<uint16_t, uint8_t> Bytes{{0x1000, 0x80}, {0x1004, 0x10}, {0x1005, 0x00}, {0x0010, 0x5A},
                                      {0xFFFF, 0xAB}, {0x0000, 0xCD}};
};

std::string Describe(const TExpressionMessage& message) {
    return std::to_string(message.Column) + ": " + message.Text;
}

std::string Nested(int depth) { return std::string(depth, '(') + "1" + std::string(depth, ')'); }

TEST(Expression, Values) {
    const TTestScope scope;
    struct Case {
        const TExpressionSyntax& syntax;
        std::string text;
        int32_t value;
    } cases[] = {
        {C, "([PORTA] & $80) != 0", 1},
        {C, "a == $12 && B == $34", 1},
        {C, "D + x + Y + sp + Pc", 0x1234 + 0x1004 + 0x2000 + 0xFF + 0xE000},
        {C, "A", 0x12},  // the register, though a symbol A exists
        {C, "CCR.C + ccr.z * 2 + CCR.I * 4 + CCR.S * 8 + CCR.H * 16", 1 + 4 + 8},
        {C, "[[X]]", 0x1000},
        {C, "[ [X] ]", 0x5A},      // byte at (byte at X)
        {C, "[[[X]]]", 0x5A00},    // word at (byte at X)
        {C, "[[$FFFF]]", 0xABCD},   // the word's second byte wraps to $0000
        {C, "[$10010]", 0x5A},      // addresses are 16 bits
        {C, "E000", 0xE000},
        {C, "FACE", 0x0ACE},  // the symbol
        {C, "$FACE", 0xFACE},
        {C, "%1010 + 10 + #10", 10 + 0x10 + 10},  // digits alone are hex in a condition
        {C, "0x1F + 0012AB", 0x1F + 0x12AB},
        {M, "%1010+10", 20},
        {C, "1 + 2 * 3", 7},
        {C, "5 - 3 - 1", 1},
        {C, "1 | 2 ^ 3 & 6", 1 | (2 ^ (3 & 6))},
        {C, "1 << 2 + 1", 8},
        {C, "3 > 2 == 1", 1},
        {C, "0 || 1 && 0", 0},
        {C, "-2 * -3", 6},
        {C, "~0", -1},
        {C, "!5 + !0", 1},
        {C, "2 && 3", 1},
        {C, "0 && 1 / 0", 0},  // the right side is not evaluated
        {C, "1 || 1 / 0", 1},
        {C, "-1 < 0", 1},
        {C, "$7FFFFFFF + 1", INT32_MIN},
        {C, "$80000000 / -1", INT32_MIN},
        {C, "$80000000 % -1", 0},
        {C, "-7 / 2", -3},
        {C, "-7 % 2", -1},
        {C, "1 << 32", 0},
        {C, "1 << -1", 0},
        {C, "-8 >> 1", -4},
        {C, "-1 >> 40", -1},
        {C, Nested(TExpression::kMaxNesting), 1},
        {M, "*+2", 0xE012},
        {M, "**2", 0xE010 * 2},
        {M, "2**", 0xE010 * 2},
        {M, "'A", 65},
        {M, "'A'+1", 66},
        {M, "' ", 32},
        {M, "@17", 15},
        {M, "%101", 5},
        {M, "7%%11", 1},
        {M, "A+COUNT", 10},  // no registers: A is a symbol
    };
    for (const Case& c : cases) {
        TExpressionMessage error;
        const auto expression = TExpression::Parse(c.text, c.syntax, scope, error);
        ASSERT_TRUE(expression) << c.text << " fails: " << Describe(error);
        EXPECT_EQ(expression->Length(), c.text.size()) << c.text;
        TExpressionMessage failure;
        EXPECT_EQ(expression->Evaluate(scope, &failure), c.value) << c.text << " " << Describe(failure);
        EXPECT_EQ(failure.Text, "") << c.text;
    }
}

TEST(Expression, Failures) {
    const TTestScope scope;
    const std::string tooMuchPending = [] {
        std::string text;
        for (int i = 0; i < 40; ++i) text += "1|1^1&1==1<1<<1+1*(";
        return text + "1" + std::string(40, ')');
    }();
    struct Case {
        const TExpressionSyntax& syntax;
        std::string text;
        std::string message;  // column: text
        bool parses = false;  // fails at evaluation
    } cases[] = {
        {C, "", "1: expected an operand"},
        {C, "1 +  ", "6: expected an operand"},
        {C, "(1 + 2", "7: expected ')'"},
        {C, "[X", "3: expected ']'"},
        {C, "[[X]+1]", "4: expected ']]'"},
        {C, "1 2", "3: unexpected '2'"},
        {C, "1 +\x80", "4: unexpected byte $80"},
        {C, "FOO + 1", "1: unknown name FOO"},
        {C, "CCR.Q", "1: unknown name CCR.Q"},
        {C, "FACEFACE1", "1: FACEFACE1 does not fit in 32 bits"},
        {C, "4294967296", "1: 4294967296 does not fit in 32 bits"},
        {C, "1 + $", "5: expected hex digits after '$'"},
        {C, "$12G", "1: bad hex number $12G"},
        {C, "12G", "1: bad hex number 12G"},
        {C, "#12A", "1: bad decimal number #12A"},
        {M, "12AB", "1: bad decimal number 12AB"},
        {C, "%12", "1: bad binary number %12"},
        {C, "%", "1: expected binary digits after '%'"},
        {C, "*", "1: unexpected '*'"},
        {C, "'A", "1: unexpected '''"},
        {C, Nested(TExpression::kMaxNesting + 1), "65: expression too deeply nested"},
        {C, std::string(65, '-') + "1", "65: expression too deeply nested"},
        {C, tooMuchPending, "609: expression too deeply nested"},
        {C, "1 / 0", "3: division by zero", true},
        {C, "5 % (A - $12)", "3: division by zero", true},
        {M, "1 + 2", "3: unexpected '+'"},
        {M, "[1]", "1: unexpected '['"},
        {M, "@8", "1: bad octal number @8"},
        {M, "'", "1: expected a character after '"},
        {M, "LATER+1", "1: unknown name LATER", true},
    };
    for (const Case& c : cases) {
        TExpressionMessage error;
        const auto expression = TExpression::Parse(c.text, c.syntax, scope, error);
        ASSERT_EQ(bool(expression), c.parses) << c.text;
        if (expression) {
            EXPECT_EQ(expression->Evaluate(scope, &error), 0) << c.text;
        }
        EXPECT_EQ(Describe(error), c.message) << c.text;
    }
}

TEST(Expression, Warnings) {
    const TTestScope scope;
    const std::string mixed = "' and '+' without parentheses: '*' binds tighter here, classic assemblers go left to right";
    struct Case {
        const TExpressionSyntax& syntax;
        std::string text;
        std::vector<std::string> warnings;
    } cases[] = {
        {M, "2+3*4", {"4: '*" + mixed}},
        {M, "2*3+4", {"4: '*" + mixed}},
        {M, "1+2*3+4*5", {"4: '*" + mixed, "8: '*" + mixed}},
        {M, "1<<2+3", {"5: '+' and '<<' without parentheses: '+' binds tighter here, classic assemblers go left to right"}},
        {M, "(2+3)*4", {}},
        {M, "2+3-4", {}},
        {M, "-2*3", {}},
        {C, "2 + 3 * 4", {}},
        {C, "FACE", {"1: FACE is the symbol; write $FACE for the number"}},
        {C, "PORTA + 1000", {}},
        {M, "FACE+1000", {}},
    };
    for (const Case& c : cases) {
        TExpressionMessage error;
        std::vector<TExpressionMessage> warnings;
        ASSERT_TRUE(TExpression::Parse(c.text, c.syntax, scope, error, &warnings)) << c.text;
        std::vector<std::string> described;
        for (const TExpressionMessage& warning : warnings) described.push_back(Describe(warning));
        EXPECT_EQ(described, c.warnings) << c.text;
    }
}

// Where an operand's expression stops, and what comes after it is left to the caller.
TEST(Expression, Prefixes) {
    const TTestScope scope;
    struct Case {
        const TExpressionSyntax& syntax;
        std::string text;
        int32_t value;
        std::size_t length;
    } cases[] = {
        {M, "5,X", 5, 1},
        {M, "*+2 comment", 0xE012, 3},
        {M, "' ,X", 32, 2},
        {M, "(1+2)*2,Y", 6, 7},
        {M, "COUNT<5", 3, 5},  // no comparisons in the assembler
        {C, "A == 1 ; note", 0, 6},
    };
    for (const Case& c : cases) {
        TExpressionMessage error;
        const auto expression = TExpression::ParsePrefix(c.text, c.syntax, scope, error);
        ASSERT_TRUE(expression) << c.text << " fails: " << Describe(error);
        EXPECT_EQ(expression->Evaluate(scope), c.value) << c.text;
        EXPECT_EQ(expression->Length(), c.length) << c.text;
    }
}

// A breakpoint condition is parsed once and evaluated at every hit; an assembler operand is
// evaluated again when its second pass knows more symbols.
TEST(Expression, EvaluationReadsTheScopeEachTime) {
    TTestScope scope;
    TExpressionMessage error;
    const auto condition = TExpression::Parse("[PORTA] == $81 && CCR.Z", C, scope, error);
    const auto operand = TExpression::Parse("LATER-COUNT", M, scope, error);
    ASSERT_TRUE(condition && operand);
    EXPECT_EQ(condition->Evaluate(scope), 0);
    scope.Bytes[0x1000] = 0x81;
    scope.Registers[std::size_t(TRegisterName::CCR)] = 0x04;
    EXPECT_EQ(condition->Evaluate(scope), 1);
    EXPECT_EQ(operand->Evaluate(scope, &error), 0);
    EXPECT_EQ(Describe(error), "1: unknown name LATER");
    scope.Symbols["LATER"] = 10;
    EXPECT_EQ(operand->Evaluate(scope), 7);
}

}  // namespace
}  // namespace hexmoor::testing
