#include "debug/WatchList.h"

#include <utility>

namespace hexmoor {

namespace {

std::string_view Trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

void ReadNow(TWatch& watch, const TExpressionScope& scope) {
    if (watch.Expression) watch.Now = ReadValue(*watch.Expression, scope);
}

}  // namespace

TWatch TWatchList::Parsed(std::string_view text, const TExpressionScope& scope) {
    TWatch watch;
    watch.Text = Trimmed(text);
    TExpressionMessage error;
    watch.Expression = TExpression::Parse(watch.Text, kConditionSyntax, scope, error);
    if (!watch.Expression)
        watch.Now.Error = watch.Text.empty() ? "no expression"
                                             : error.Text + " (at column " + std::to_string(error.Column) + ")";
    ReadNow(watch, scope);
    watch.AtStop = watch.AtStopBefore = watch.Now;
    return watch;
}

void TWatchList::Add(std::string_view text, const TExpressionScope& scope) { watches_.push_back(Parsed(text, scope)); }

void TWatchList::Replace(std::size_t index, std::string_view text, const TExpressionScope& scope) {
    if (index < watches_.size()) watches_[index] = Parsed(text, scope);
}

void TWatchList::Remove(std::size_t index) {
    if (index < watches_.size()) watches_.erase(watches_.begin() + std::ptrdiff_t(index));
}

std::vector<std::string> TWatchList::Texts() const {
    std::vector<std::string> texts;
    for (const TWatch& watch : watches_) texts.push_back(watch.Text);
    return texts;
}

void TWatchList::Reparse(const TExpressionScope& scope) {
    for (TWatch& watch : watches_) watch = Parsed(watch.Text, scope);
}

void TWatchList::TakeStop(const TExpressionScope& scope) {
    for (TWatch& watch : watches_) {
        ReadNow(watch, scope);
        watch.AtStopBefore = std::exchange(watch.AtStop, watch.Now);
        watch.Changed = watch.Now != watch.AtStopBefore;
    }
}

void TWatchList::Update(const TExpressionScope& scope, bool stopped) {
    for (TWatch& watch : watches_) {
        ReadNow(watch, scope);
        watch.Changed = watch.Now != (stopped ? watch.AtStopBefore : watch.AtStop);
    }
}

}  // namespace hexmoor
