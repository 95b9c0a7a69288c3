#include "asm/AsmContext.h"

#include "asm/Listing.h"
#include "core/Hex.h"

namespace hexmoor {

void TAsmContext::BeginPass(int pass) {
    pass_ = pass;
    if (pass == 2) {
        firstPass_ = std::move(symbols_);
        symbols_.clear();
        assembled_.assign(0x10000, false);
    }
    lineIndex_ = 0;
    location_ = 0;
    SkippingMacro = false;
}

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
    for (const auto& [name, entry] : symbols_)
        if (entry.Known)
            assembly_.Symbols.push_back(
                {name, entry.Value, entry.Kind == TSymbolKind::Label, entry.Kind == TSymbolKind::Set});
    assembly_.Listing = ListingOf(listed_, assembly_);
}

void TAsmContext::Error(std::size_t column, std::string message) {
    ++lineErrors_;
    if (!FirstPass())
        assembly_.Diagnostics.push_back(
            {assembly_.Files[file_], line_, int(column), TAsmSeverity::Error, std::move(message)});
}

void TAsmContext::Warn(std::size_t column, std::string message) {
    if (!FirstPass())
        assembly_.Diagnostics.push_back(
            {assembly_.Files[file_], line_, int(column), TAsmSeverity::Warning, std::move(message)});
}

std::optional<TValue> TAsmContext::Expression(TCursor& cursor) {
    const std::size_t start = cursor.Pos;
    TExpressionMessage error;
    std::vector<TExpressionMessage> warnings;
    const std::optional<hexmoor::TExpression> expression =
        TExpression::ParsePrefix(cursor.Text.substr(start), kAssemblerSyntax, *this, error, &warnings);
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
    } else if (firstPass_.contains(missing_)) {
        Error(start + error.Column, missing_ + " has no value here: it is defined by symbols that come after it");
    } else {
        Error(start + error.Column, "undefined symbol " + missing_);
    }
    return TValue{};
}

TFirstPassNote& TAsmContext::Note() {
    if (lineIndex_ >= notes_.size()) notes_.resize(lineIndex_ + 1);
    return notes_[lineIndex_];
}

std::optional<int32_t> TAsmContext::Symbol(std::string_view name) const {
    if (const auto found = symbols_.find(name); found != symbols_.end() && found->second.Known)
        return found->second.Value;
    if (!FirstPass())
        if (const auto found = firstPass_.find(name); found != firstPass_.end() && found->second.Known)
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
        const auto before = firstPass_.find(name);
        if (before != firstPass_.end() && before->second.Value != value.Value)
            Error(column, "phase error: " + std::string(name) + " is $" + Hex4(uint16_t(value.Value)) +
                              " here but was $" + Hex4(uint16_t(before->second.Value)) + " in the first pass");
    }
    entry = {value.Value, value.Known, kind, file_, line_};
}

void TAsmContext::SetOrigin(int32_t address) {
    location_ = address;
    lineAddress_ = address;
}

bool TAsmContext::Fits(int32_t count) {
    if (count <= 0x10000 - location_) return true;
    Error(0, "the code runs past $FFFF");
    return false;
}

void TAsmContext::Emit(const std::vector<uint8_t>& bytes, int cycles) {
    if (!Fits(int32_t(bytes.size()))) return;
    if (!FirstPass()) {
        std::vector<TAsmChunk>& chunks = assembly_.Chunks;
        if (chunks.empty() || chunks.back().Address + int32_t(chunks.back().Bytes.size()) != location_)
            chunks.push_back({uint16_t(location_), {}});
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
