#include "debug/ValueText.h"

#include "core/Hex.h"

namespace hexmoor {

using TKind = TExpression::TValueKind;

TExpressionValue ReadValue(const TExpression& expression, const TExpressionScope& scope) {
    TExpressionValue read;
    read.Kind = expression.ValueKind();
    TExpressionMessage error;
    const int32_t value = expression.Evaluate(scope, &error);
    if (error.Text.empty()) read.Value = value;
    else read.Error = error.Text + " (at column " + std::to_string(error.Column) + ")";
    return read;
}

std::string HexText(const TExpressionValue& value) {
    if (!value.Value) return value.Error;
    const auto bits = uint32_t(*value.Value);
    switch (value.Kind) {
    case TKind::Truth: return bits ? "true" : "false";
    case TKind::Byte: return "$" + Hex2(uint8_t(bits));
    case TKind::Word: return "$" + Hex4(uint16_t(bits));
    case TKind::Number: break;
    }
    return "$" + HexDigits(bits, bits <= 0xFFFF ? 4 : 8);
}

std::string DecimalText(const TExpressionValue& value) {
    if (!value.Value) return "";
    const int32_t number = *value.Value;
    const int32_t top = value.Kind == TKind::Byte ? 0x80 : value.Kind == TKind::Word ? 0x8000 : 0;
    std::string text = std::to_string(number);
    if (top != 0 && number >= top && number < 2 * top) text += " (" + std::to_string(number - 2 * top) + ")";
    return text;
}

}  // namespace hexmoor
