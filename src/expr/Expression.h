// Expressions typed by a person: the debugger's breakpoint conditions and addresses, and the
// operands of the assembler's classic Motorola syntax. Parsed once into a flat program,
// evaluated as often as a breakpoint is hit. Standard library only: the assembler uses it
// without the debugger or the machine.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace hexmoor {

// What the text may contain besides numbers ($hex, %binary, digits in the radix), names,
// parentheses and the operators + - * / % & | ^ << >> ~ and unary minus, with C's precedence.
struct TExpressionSyntax {
    // How digits alone read. 10 for the assembler. 16 for the debugger, as debuggers of
    // 8-bit machines read them: 2000 and 0x2000 are $2000, #8192 is decimal, and a name
    // that is neither a register nor a known symbol but all hex digits (E000) is a number.
    // Deciding that needs the symbols at parse time, so an unknown name is an error there;
    // in radix 10 every other name is a symbol, looked up at evaluation.
    uint8_t Radix = 10;
    bool Registers = false;        // A B D X Y SP PC CCR and the flags CCR.C ... CCR.S, any case
    // [address] a byte, [[address]] a big-endian word; [[ always opens a word, so the byte at
    // address [X]+1 is written [ [X]+1 ].
    bool Memory = false;
    bool LocationCounter = false;  // * alone as an operand
    bool CharConstants = false;    // 'c (a closing quote may follow)
    bool Octal = false;            // @17
    bool WarnMixedPrecedence = false;  // for sources written for left-to-right assemblers
    bool Comparisons = false;          // == != < <= > >= && || ! (results 0 or 1)
    bool Blanks = false;               // blanks may separate tokens; else a blank ends it
    bool ImmediateMarks = false;       // a '#' before a term is passed over (#BUF+#HDRLEN)
};

inline constexpr TExpressionSyntax kConditionSyntax{
    .Radix = 16, .Registers = true, .Memory = true, .Comparisons = true, .Blanks = true};
// An address: numbers, names and registers (a go-to field takes `X+3`), no memory.
inline constexpr TExpressionSyntax kAddressSyntax{.Radix = 16, .Registers = true, .Blanks = true};
inline constexpr TExpressionSyntax kAssemblerSyntax{
    .LocationCounter = true, .CharConstants = true, .Octal = true, .WarnMixedPrecedence = true};
// An immediate operand, in which old sources repeat the '#' before each term.
inline constexpr TExpressionSyntax kImmediateSyntax{.LocationCounter = true,
                                                    .CharConstants = true,
                                                    .Octal = true,
                                                    .WarnMixedPrecedence = true,
                                                    .ImmediateMarks = true};

enum class TRegisterName : uint8_t { A, B, D, X, Y, SP, PC, CCR };

// What names, registers and memory mean where an expression is evaluated.
class TExpressionScope {
public:
    virtual ~TExpressionScope() = default;
    virtual std::optional<int32_t> Symbol(std::string_view name) const = 0;  // nullopt: unknown
    virtual int32_t Register(TRegisterName) const { return 0; }
    virtual uint8_t Memory(uint16_t) const { return 0; }  // must not disturb the machine
    virtual int32_t LocationCounter() const { return 0; }
};

struct TExpressionMessage {
    std::size_t Column = 0;  // 1-based byte position in the text
    std::string Text;
};

// A parsed expression: plain data, cheap to keep and copy.
//
// Values are 32-bit and wrap around. Division truncates towards zero; division or remainder
// by zero is an evaluation error. Shifts count as unsigned: << by 32 or more gives 0, >> is
// arithmetic and by 32 or more gives 0 or -1. Memory addresses wrap to 16 bits. && and ||
// evaluate their right side only when needed, so `X != 0 && 100 / X > 2` is safe.
//
// How a name reads: a register when the syntax has registers and it is one (so in a go-to
// field A, B and D are registers too; $A is the number); else a symbol when the radix is 10
// or the scope knows it (with a warning when it is also all hex digits: FACE is the symbol,
// $FACE the number); else, in radix 16, all hex digits make a hex number; else it is an
// unknown name.
class TExpression {
public:
    // The whole text (blanks around it allowed) as one expression. On failure, nullopt and
    // `error` says what is wrong where.
    static std::optional<TExpression> Parse(std::string_view text, const TExpressionSyntax& syntax,
                                            const TExpressionScope& scope, TExpressionMessage& error,
                                            std::vector<TExpressionMessage>* warnings = nullptr);

    // The longest expression at the start of the text, stopping before the first character
    // that cannot continue it (the assembler's `5,X` gives 5); Length() says where it ended.
    static std::optional<TExpression> ParsePrefix(std::string_view text, const TExpressionSyntax& syntax,
                                                  const TExpressionScope& scope, TExpressionMessage& error,
                                                  std::vector<TExpressionMessage>* warnings = nullptr);

    // Reads registers, memory and symbols through the scope each time; allocates nothing
    // unless it fails. On failure (an unknown symbol, division by zero) returns 0 and fills
    // `error` when given.
    int32_t Evaluate(const TExpressionScope& scope, TExpressionMessage* error = nullptr) const;

    // Where the expression ends: the offset in the text just past its last token.
    std::size_t Length() const { return length_; }

    // What its value is, by the operation that gives it: a byte (a byte read, A, B, CCR), a
    // word (a word read, D, X, Y, SP, PC), a truth value of 0 or 1 (a comparison, ! && ||,
    // a flag), or any other number.
    enum class TValueKind : uint8_t { Number, Byte, Word, Truth };
    TValueKind ValueKind() const;
    // The registers it reads, one bit (1 << TRegisterName) each, a flag counting as CCR; and
    // the bits of CCR it reads (all of them for CCR, one for a flag: CCR.Z is bit 2).
    uint8_t RegistersRead() const;
    uint8_t FlagsRead() const;

    // Limits that keep parsing and evaluation bounded on any text: brackets, parentheses and
    // unary operators nest at most kMaxNesting deep, and Evaluate's fixed stack holds kMaxStack
    // values, which Parse checks.
    static constexpr std::size_t kMaxNesting = 64;
    static constexpr std::size_t kMaxStack = 256;

    // The parsed form: nodes in postfix order.
    enum class TOp : uint8_t;
    struct TNode {
        TOp Op;
        uint32_t Column;      // where an evaluation error is reported
        int32_t Value;        // number, register, flag bit, name offset or jump target
        uint32_t NameLength;  // of a symbol's name
    };

private:
    friend class TExpressionParser;
    TExpression() = default;

    std::vector<TNode> nodes_;
    std::string names_;  // the symbol names the nodes point into
    std::size_t length_ = 0;
};

}  // namespace hexmoor
