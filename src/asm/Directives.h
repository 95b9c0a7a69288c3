// The directives: where code goes (ORG), names for values (EQU, SET), data (FCB, FDB, FCC,
// RMB, BSZ, ZMB, FILL), other files (INCLUDE), the end (END), and the old listing controls,
// accepted and ignored.
#pragma once

#include <string_view>

#include "asm/Statement.h"

namespace hexmoor {

struct TDirective {
    const char* Name;
    void (*Run)(TAsmContext& context, const TSourceFields& fields, TCursor& operand, TLineAction& action);
    bool DefinesLabel;  // gives the label its value itself (EQU, SET, ORG)
};

// The directive of that name in any case; null for none.
const TDirective* FindDirective(std::string_view name);

}  // namespace hexmoor
