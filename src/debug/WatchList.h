// TWatchList: the expressions a person watches (registers, bytes and words of memory, the
// program's names: `A`, `[count]`, `[[ptr]]`, `X+3`), each with its value now and whether
// that changed since the last stop. An expression that does not parse stays in the list,
// saying why, and is parsed again when the names change (a program is loaded).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "debug/ValueText.h"

namespace hexmoor {

struct TWatch {
    std::string Text;                       // as typed, without the blanks around it
    std::optional<TExpression> Expression;  // none: it does not parse, Now.Error says why
    TExpressionValue Now, AtStop, AtStopBefore;  // at the last stop, and the stop before it
    // Now differs from the last stop; while stopped, from the stop before this one.
    bool Changed = false;
};

class TWatchList {
public:
    // Parsed with the program's names in `scope`, and read there at once.
    void Add(std::string_view text, const TExpressionScope& scope);
    void Replace(std::size_t index, std::string_view text, const TExpressionScope& scope);
    void Remove(std::size_t index);
    void Clear() { watches_.clear(); }
    const std::vector<TWatch>& Watches() const { return watches_; }
    // The texts in order: Add gives the list back from them.
    std::vector<std::string> Texts() const;

    // The names changed: every text is parsed again and read as a new one.
    void Reparse(const TExpressionScope& scope);
    // A new stop: the values now become the stop's.
    void TakeStop(const TExpressionScope& scope);
    // The values now, marked where they differ from the last stop (the stop before, when
    // `stopped`).
    void Update(const TExpressionScope& scope, bool stopped);

private:
    static TWatch Parsed(std::string_view text, const TExpressionScope& scope);

    std::vector<TWatch> watches_;
};

}  // namespace hexmoor
