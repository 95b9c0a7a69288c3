// An expression's value as the debugger shows it (the watch list, a change watchpoint's
// stop): read now, then written in hexadecimal and decimal by the kind of value it is.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "expr/Expression.h"

namespace hexmoor {

struct TExpressionValue {
    std::optional<int32_t> Value;  // none: Error says why it cannot be read
    std::string Error;
    TExpression::TValueKind Kind = TExpression::TValueKind::Number;
    bool operator==(const TExpressionValue&) const = default;
};

TExpressionValue ReadValue(const TExpression& expression, const TExpressionScope& scope);

// A byte in two digits ("$2A"), a word in four ("$0010"), a truth value as "true" or
// "false", any other number in four digits when it fits 16 bits, else eight ("$FFFFFFE0");
// a value that cannot be read as why ("division by zero (at column 5)").
std::string HexText(const TExpressionValue& value);
// A byte or a word unsigned, with its signed value after it when the top bit is set
// ("255 (-1)"); a truth value as 1 or 0; any other number signed ("-32"). Empty for a value
// that cannot be read.
std::string DecimalText(const TExpressionValue& value);

}  // namespace hexmoor
