// What one pass over the source knows as it goes: the location counter, the symbols, the
// bytes and the messages, and what the first pass decided that the later ones must keep.
// Every pass after the first gives the whole assembly; another replaces it while the
// passes still learn symbols (an EQU that refers forward to an EQU that refers forward).
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "asm/Assembler.h"
#include "asm/SourceText.h"
#include "expr/Expression.h"

namespace hexmoor {

// An operand's value; not Known while a symbol it needs is undefined (in the first pass a
// forward reference, in the second an error already reported).
struct TValue {
    int32_t Value = 0;
    bool Known = false;
};

enum class TSymbolKind : uint8_t { Label, Equate, Set };

struct TSymbolEntry {
    int32_t Value = 0;
    bool Known = false;
    TSymbolKind Kind = TSymbolKind::Label;
    int File = 0;
    int Line = 0;
    std::string Lacks;  // while not Known: the symbol its definition was waiting for
};

// A value the first pass found on a line, kept so that the second pass gives the line the
// same size even where a forward reference has since become known.
struct TFirstPassNote {
    bool Known = false;
    int32_t Value = 0;
};

// One source line as the listing shows it.
struct TListedLine {
    int File = 0;
    int Line = 0;
    std::string Text;
    std::optional<uint16_t> Address;  // for a statement
    std::optional<int32_t> Value;     // an EQU's or SET's
    std::vector<uint8_t> Bytes;
    int Cycles = 0;
    std::size_t DiagnosticsBegin = 0, DiagnosticsEnd = 0;  // in TAssembly::Diagnostics
};

class TAsmContext : public TExpressionScope {
public:
    explicit TAsmContext(TAssembly& assembly) : assembly_(assembly) {}

    void BeginPass(int pass);
    bool FirstPass() const { return pass_ == 1; }
    // This pass knew more symbols than the one before: another may know more still.
    bool LearnedSymbols() const;

    void BeginLine(int file, int line, std::string_view text);
    void MarkStatement() { statement_ = true; }  // the line is more than a comment
    void EndLine();
    // The bytes of every line, with the symbol table, once the last pass is done; the notes
    // on bytes in the on-chip RAM when the program assembled.
    void Finish();

    // Messages are kept after the first pass only: the first would only repeat them.
    void Error(std::size_t column, std::string message);
    void Warn(std::size_t column, std::string message);
    // An error that ends the assembly at this line, in whichever pass.
    void Stop(std::string message);
    int LineErrors() const { return lineErrors_; }

    // The expression at the cursor, which moves past it; nullopt when it does not parse (an
    // error said so).
    std::optional<TValue> Expression(TCursor& cursor, const TExpressionSyntax& syntax = kAssemblerSyntax);
    // The expression at the cursor when it parses and has a value, without a message;
    // else nullopt, the cursor left where it was.
    std::optional<int32_t> TryExpression(TCursor& cursor);
    // This line's note: written in the first pass, read in the second.
    TFirstPassNote& Note();

    void Define(std::string_view name, std::size_t column, TValue value, TSymbolKind kind);

    int32_t Location() const { return location_; }
    void SetOrigin(int32_t address);
    void Emit(const std::vector<uint8_t>& bytes, int cycles = 0);
    void Reserve(int32_t count);
    void ShowValue(int32_t value) { shownValue_ = value; }
    void SetEntry(uint16_t entry) { assembly_.Entry = entry; }

    // Lines between MACRO and ENDM are passed over.
    bool SkippingMacro = false;

    std::optional<int32_t> Symbol(std::string_view name) const override;
    int32_t LocationCounter() const override { return lineAddress_; }

private:
    bool Fits(int32_t count);
    std::string WhereDefined(const TSymbolEntry& entry) const;
    std::string WhyUnknown(const std::string& name) const;
    void Record(int column, TAsmSeverity severity, std::string message);

    TAssembly& assembly_;
    int pass_ = 1;
    std::map<std::string, TSymbolEntry, std::less<>> symbols_;
    std::map<std::string, TSymbolEntry, std::less<>> previous_;   // as the pass before ended
    mutable std::string missing_;                                 // the symbol the last evaluation lacked
    std::vector<TFirstPassNote> notes_;
    std::size_t lineIndex_ = 0;
    int32_t location_ = 0;
    std::vector<bool> assembled_;  // addresses already given a byte
    bool pastEndReported_ = false;  // since the last ORG

    int file_ = 0, line_ = 0;
    std::string_view text_;
    bool statement_ = false;
    int32_t lineAddress_ = 0;
    int lineErrors_ = 0;
    bool overlapWarned_ = false;
    std::optional<int32_t> shownValue_;
    std::vector<uint8_t> lineBytes_;
    int lineCycles_ = 0;
    std::size_t lineDiagnostics_ = 0;
    std::vector<TListedLine> listed_;
    struct TOnChipRamRun {
        int File, Line;
        uint16_t Address;
    };
    std::vector<TOnChipRamRun> onChipRamRuns_;  // runs of bytes that start below $0400
};

}  // namespace hexmoor
