#include "asm/AsmContext.h"

#include <algorithm>

#include "asm/Listing.h"
#include "core/Hex.h"

namespace hexmoor {

namespace {

// The on-chip RAM where reset puts it. The board's loader does not fill it in its default
// mode, so bytes assembled there read as 0 once the program is loaded.
constexpr int32_t kOnChipRamEnd = 0x03FF;

std::size_t KnownCount(const std::map<std::string, TSymbolEntry, std::less<>>& symbols) {
    return std::size_t(std::count_if(symbols.begin(), symbols.end(), [](const auto& s) { return s.second.Known; }));
}

}  // namespace

void TAsmContext::BeginPass(int pass) {
    pass_ = pass;
    if (pass > 1) {
        previous_ = std::move(symbols_);
        symbols_.clear();
        assembled_.assign(0x10000, false);
        assembly_.Diagnostics.clear();
        assembly_.Chunks.clear();
        assembly_.Lines.clear();
        assembly_.Entry.reset();
        listed_.clear();
        onChipRamRuns_.clear();
    }
    lineIndex_ = 0;
    location_ = 0;
    pastEndReported_ = false;
    SkippingMacro = false;
}

bool TAsmContext::LearnedSymbols() const { return KnownCount(symbols_) > KnownCount(previous_); }

void TAsmContext::BeginLine(int file, int line, std::string_view text) {
    file_ = file;
    line_ = line;
    text_ = text;
    statement_ = false;
    lineAddress_ = location_;
    lineErrors_ = 0;
    overlapWarned_ = false;
    shownValue_.reset();
    lineBytes_.clear();
    lineCycles_ = 0;
    lineDiagnostics_ = assembly_.Diagnostics.size();
    if (FirstPass()) notes_.emplace_back();
}

void TAsmContext::EndLine() {
    ++lineIndex_;
    if (FirstPass()) return;
    TListedLine listed;
    listed.File = file_;
    listed.Line = line_;
    listed.Text = text_;
    if (statement_) {
        assembly_.Lines.push_back({uint16_t(lineAddress_), uint16_t(lineBytes_.size()), file_, line_});
        listed.Address = uint16_t(lineAddress_);
    }
    listed.Value = shownValue_;
    listed.Bytes = std::move(lineBytes_);
    listed.Cycles = lineCycles_;
    listed.DiagnosticsBegin = lineDiagnostics_;
    listed.DiagnosticsEnd = assembly_.Diagnostics.size();
    listed_.push_back(std::move(listed));
}

void TAsmContext::Finish() {
    // Only a program that assembles is loaded, so only then do these matter.
    if (!assembly_.Failed())
        for (const TOnChipRamRun& run : onChipRamRuns_)
            assembly_.Diagnostics.push_back(
                {assembly_.Files[run.File], run.Line, 0, TAsmSeverity::Note,
                 "the bytes from $" + Hex4(run.Address) +
                     " on are in the on-chip RAM ($0000-$03FF), which the board's loader does not fill in its "
                     "default mode: they read as 0 after loading unless the program is loaded in bootstrap "
                     "mode (hexmoor-run --mode bootstrap)"});
    for (const auto& [name, entry] : symbols_)
        if (entry.Known)
            assembly_.Symbols.push_back(
                {name, entry.Value, entry.Kind == TSymbolKind::Label, entry.Kind == TSymbolKind::Set});
    assembly_.Listing = ListingOf(listed_, assembly_);
}

void TAsmContext::Record(int column, TAsmSeverity severity, std::string message) {
    assembly_.Diagnostics.push_back({assembly_.Files[file_], line_, column, severity, std::move(message)});
}

void TAsmContext::Error(std::size_t column, std::string message) {
    ++lineErrors_;
    if (!FirstPass()) Record(int(column), TAsmSeverity::Error, std::move(message));
}

void TAsmContext::Warn(std::size_t column, std::string message) {
    if (!FirstPass()) Record(int(column), TAsmSeverity::Warning, std::move(message));
}

void TAsmContext::Stop(std::string message) {
    ++lineErrors_;
    Record(0, TAsmSeverity::Error, std::move(message));
}

std::optional<TValue> TAsmContext::Expression(TCursor& cursor, const TExpressionSyntax& syntax) {
    const std::size_t start = cursor.Pos;
    TExpressionMessage error;
    std::vector<TExpressionMessage> warnings;
    const std::optional<hexmoor::TExpression> expression =
        TExpression::ParsePrefix(cursor.Text.substr(start), syntax, *this, error, &warnings);
    for (TExpressionMessage& warning : warnings) Warn(start + warning.Column, std::move(warning.Text));
    if (!expression) {
        Error(start + error.Column, std::move(error.Text));
        return std::nullopt;
    }
    cursor.Pos += expression->Length();
    missing_.clear();
    const int32_t value = expression->Evaluate(*this, &error);
    if (error.Text.empty()) return TValue{value, true};
    if (missing_.empty()) {
        Error(start + error.Column, std::move(error.Text));
    } else if (previous_.contains(missing_)) {
        Error(start + error.Column, missing_ + " has no value: " + WhyUnknown(missing_));
    } else {
        Error(start + error.Column, "undefined symbol " + missing_);
    }
    return TValue{};
}

std::optional<int32_t> TAsmContext::TryExpression(TCursor& cursor) {
    TExpressionMessage error;
    const std::optional<hexmoor::TExpression> expression =
        TExpression::ParsePrefix(cursor.Text.substr(cursor.Pos), kAssemblerSyntax, *this, error, nullptr);
    if (!expression) return std::nullopt;
    const int32_t value = expression->Evaluate(*this, &error);
    if (!error.Text.empty()) return std::nullopt;
    cursor.Pos += expression->Length();
    return value;
}

// Follows what each definition waited for, through the pass before, to the symbol that
// never had a value or back round to one already on the way.
std::string TAsmContext::WhyUnknown(const std::string& name) const {
    std::vector<std::string> path{name};
    for (;;) {
        const auto found = previous_.find(path.back());
        if (found == previous_.end()) return "it depends on the undefined symbol " + path.back();
        if (found->second.Known || found->second.Lacks.empty())
            return "its definition refers forward through too many symbols, or failed itself";
        const std::string& next = found->second.Lacks;
        if (const auto again = std::find(path.begin(), path.end(), next); again != path.end()) {
            std::string cycle;
            for (auto at = again; at != path.end(); ++at) cycle += *at + " -> ";
            return "its definition comes back round to itself (" + cycle + next + ")";
        }
        path.push_back(next);
    }
}

TFirstPassNote& TAsmContext::Note() {
    if (lineIndex_ >= notes_.size()) notes_.resize(lineIndex_ + 1);
    return notes_[lineIndex_];
}

std::optional<int32_t> TAsmContext::Symbol(std::string_view name) const {
    if (const auto found = symbols_.find(name); found != symbols_.end() && found->second.Known)
        return found->second.Value;
    if (!FirstPass())
        if (const auto found = previous_.find(name); found != previous_.end() && found->second.Known)
            return found->second.Value;
    missing_ = name;
    return std::nullopt;
}

std::string TAsmContext::WhereDefined(const TSymbolEntry& entry) const {
    return assembly_.Files[entry.File] + ":" + std::to_string(entry.Line);
}

void TAsmContext::Define(std::string_view name, std::size_t column, TValue value, TSymbolKind kind) {
    const auto [found, added] = symbols_.try_emplace(std::string(name));
    TSymbolEntry& entry = found->second;
    if (!added && !(entry.Kind == TSymbolKind::Set && kind == TSymbolKind::Set)) {
        Error(column, std::string(name) + " is already defined at " + WhereDefined(entry));
        return;
    }
    if (!FirstPass() && kind == TSymbolKind::Label) {
        // Every line keeps its first-pass size, so a label that moved means a line did not.
        const auto before = previous_.find(name);
        if (before != previous_.end() && before->second.Value != value.Value)
            Error(column, "phase error: " + std::string(name) + " is $" + Hex4(uint16_t(value.Value)) +
                              " here but was $" + Hex4(uint16_t(before->second.Value)) + " in the first pass");
    }
    entry = {value.Value, value.Known, kind, file_, line_, value.Known ? std::string() : missing_};
}

void TAsmContext::SetOrigin(int32_t address) {
    location_ = address;
    lineAddress_ = address;
    pastEndReported_ = false;
}

// Code that runs past $FFFF is told once, at the statement that crosses; the location
// counter stays past the end until an ORG, so that the lines after it add no message.
bool TAsmContext::Fits(int32_t count) {
    if (count <= 0x10000 - location_) return true;
    if (!pastEndReported_) Error(0, "the code runs past $FFFF");
    pastEndReported_ = true;
    location_ = 0x10000;
    return false;
}

void TAsmContext::Emit(const std::vector<uint8_t>& bytes, int cycles) {
    if (!Fits(int32_t(bytes.size()))) return;
    if (!FirstPass()) {
        std::vector<TAsmChunk>& chunks = assembly_.Chunks;
        if (chunks.empty() || chunks.back().Address + int32_t(chunks.back().Bytes.size()) != location_) {
            chunks.push_back({uint16_t(location_), {}});
            if (location_ <= kOnChipRamEnd) onChipRamRuns_.push_back({file_, line_, uint16_t(location_)});
        }
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            const int32_t address = location_ + int32_t(i);
            if (assembled_[address] && !overlapWarned_) {
                Warn(0, "overwrites the byte at $" + Hex4(uint16_t(address)) + ", assembled before");
                overlapWarned_ = true;
            }
            assembled_[address] = true;
        }
        chunks.back().Bytes.insert(chunks.back().Bytes.end(), bytes.begin(), bytes.end());
        lineBytes_.insert(lineBytes_.end(), bytes.begin(), bytes.end());
        lineCycles_ = cycles;
    }
    location_ += int32_t(bytes.size());
}

void TAsmContext::Reserve(int32_t count) {
    if (Fits(count)) location_ += count;
}

}  // namespace hexmoor
