#include "asm/Statement.h"

#include "asm/Directives.h"
#include "asm/Instructions.h"

namespace hexmoor {

namespace {

// After a blank the operand has ended; an operator or a comma there most likely meant to
// continue it (`LDAA #COUNT + 1` loads COUNT, `STAA 6 ,X` stores to direct $06), which the
// classic syntax reads as a comment. A `*` is left alone: it is the usual way to start a
// comment.
void WarnOperatorComment(TAsmContext& context, TCursor c) {
    c.SkipBlanks();
    constexpr std::string_view kOperators = "+-/%&|^<>~,";
    if (!c.AtEnd() && kOperators.find(c.Peek()) != std::string_view::npos)
        context.Warn(c.Column(), "the operand ended at the blank before '" + std::string(1, c.Peek()) +
                                     "', and the rest is a comment; write the operand without blanks");
}

}  // namespace

TLineAction AssembleLine(TAsmContext& context, std::string_view line) {
    TLineAction action;
    TSourceFields fields;
    TFieldsError error;
    const bool split = SplitFields(line, fields, error);
    if (context.SkippingMacro) {
        context.SkippingMacro = !(split && SameName(fields.Name, "ENDM"));
        return action;
    }
    if (!split) {
        context.MarkStatement();
        context.Error(error.Column, error.Message);
        return action;
    }
    if (fields.Label.empty() && fields.Name.empty()) return action;
    context.MarkStatement();
    const TDirective* directive = FindDirective(fields.Name);
    if (!fields.Label.empty() && !(directive && directive->DefinesLabel))
        context.Define(fields.Label, 1, {context.Location(), true}, TSymbolKind::Label);
    const bool labelIsName = FindMnemonic(fields.Label) || FindDirective(fields.Label);
    const std::string columnOneHint =
        std::string(fields.Label) + " in column 1 is a label; indent it to make it a mnemonic or a directive";
    if (fields.Name.empty()) {
        if (labelIsName) context.Warn(1, columnOneHint);
        return action;
    }
    TCursor& operand = fields.Operand;
    const std::size_t start = operand.Pos;
    const int errors = context.LineErrors();
    if (directive) {
        directive->Run(context, fields, operand, action);
    } else if (const TMnemonic* mnemonic = FindMnemonic(fields.Name)) {
        AssembleInstruction(context, fields.Name, *mnemonic, operand);
    } else {
        context.Error(fields.NameColumn,
                      "unknown mnemonic " + Printable(fields.Name) + (labelIsName ? " (" + columnOneHint + ")" : ""));
        return action;
    }
    if (operand.Pos == start || context.LineErrors() != errors) return action;
    if (!operand.AtOperandEnd())
        context.Error(operand.Column(), operand.Unexpected());
    else
        WarnOperatorComment(context, operand);
    return action;
}

}  // namespace hexmoor
