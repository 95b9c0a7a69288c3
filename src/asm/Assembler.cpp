// The passes over the source and the files it includes. The first pass learns the symbols
// and fixes each line's size; the next gives the bytes and the messages, and is repeated
// while it still learns a symbol that a chain of EQUs needed.
#include "asm/Assembler.h"

#include <filesystem>
#include <map>

#include "asm/AsmContext.h"
#include "asm/Statement.h"
#include "core/TextLines.h"

namespace hexmoor {

namespace {

// Deep enough for any real program; a chain of files that never ends stops here.
constexpr std::size_t kMaxIncludeDepth = 32;
// Far more than a 64 KiB machine's program needs, and few enough to read in a moment: a
// file that includes another twice, which includes the next twice and so on, would
// otherwise double the work at every level.
constexpr int kMaxLinesPerPass = 1'000'000;
// Each pass after the first resolves one more level of EQUs that refer forward.
constexpr int kMaxPasses = 34;

struct TSourceFile {
    std::string Path;  // as opened
    std::optional<std::string> Text;
    std::vector<std::string_view> Lines;  // into Text
    std::string Error;
    int Index = -1;                                // in TAssembly::Files, once read
    std::map<std::string, TSourceFile*> Includes;  // by the name its INCLUDEs give
};

// A file being read, and the line of it being assembled.
struct TOpenFile {
    TSourceFile* File;
    int Line;
};

class TAssembler {
public:
    explicit TAssembler(TSourceFiles& sources) : sources_(sources) {}

    TAssembly Run(const std::string& path) {
        TSourceFile& source = Open(path);
        if (!source.Text) {
            assembly_.Diagnostics.push_back({path, 0, 0, TAsmSeverity::Error, "cannot read: " + source.Error});
            return std::move(assembly_);
        }
        // The first pass fixes every line's size; the later ones give the bytes, and are
        // repeated while they still learn symbols an EQU chain needed (A EQU B, B EQU C, ...).
        for (int pass = 1; pass <= kMaxPasses && !stopped_; ++pass) {
            context_.BeginPass(pass);
            lines_ = 0;
            AssembleFile(source);
            if (pass > 1 && !context_.LearnedSymbols()) break;
        }
        context_.Finish();
        return std::move(assembly_);
    }

private:
    // Each file is read once: every pass must see what the first saw.
    TSourceFile& Open(const std::string& path) {
        const std::string key = std::filesystem::path(path).lexically_normal().string();
        auto [found, added] = files_.try_emplace(key);
        TSourceFile& file = found->second;
        if (added) {
            file.Path = path;
            file.Text = sources_.Read(path, file.Error);
            if (file.Text) {
                file.Lines = TextLines(*file.Text);
                file.Index = int(assembly_.Files.size());
                assembly_.Files.push_back(path);
            }
        }
        return file;
    }

    void AssembleFile(TSourceFile& file) {
        chain_.push_back({&file, 0});
        for (const std::string_view line : file.Lines) {
            if (stopped_) break;
            context_.BeginLine(file.Index, ++chain_.back().Line, line);
            if (++lines_ > kMaxLinesPerPass) {
                context_.Stop("more than " + std::to_string(kMaxLinesPerPass) +
                              " lines to assemble: the files include each other too often (" + Chain() + ")");
                stopped_ = true;
                break;
            }
            const TLineAction action = AssembleLine(context_, line);
            TSourceFile* included = action.Kind == TLineAction::TKind::Include ? Include(action) : nullptr;
            context_.EndLine();
            if (included) AssembleFile(*included);
            if (action.Kind == TLineAction::TKind::End) break;
        }
        chain_.pop_back();
    }

    // "main.asm:2 -> a.asm:1 -> b.asm:4": where each open file is, the outermost first.
    std::string Chain() const {
        std::string chain;
        for (const TOpenFile& open : chain_)
            chain += (chain.empty() ? "" : " -> ") + open.File->Path + ":" + std::to_string(open.Line);
        return chain;
    }

    // The file an INCLUDE names, beside the including one; null, with the error said, when
    // it cannot be read or is already being read.
    TSourceFile* Include(const TLineAction& action) {
        TSourceFile& from = *chain_.back().File;
        TSourceFile*& known = from.Includes[action.Path];
        if (!known) {
            const std::filesystem::path name(action.Path);
            known = &Open(name.is_absolute()
                              ? action.Path
                              : (std::filesystem::path(from.Path).parent_path() / name).lexically_normal().string());
        }
        TSourceFile& file = *known;
        if (!file.Text) {
            context_.Error(action.Column, "cannot read " + file.Path + ": " + file.Error);
            return nullptr;
        }
        for (const TOpenFile& open : chain_) {
            if (open.File == &file) {
                context_.Error(action.Column, "a file that includes itself: " + Chain() + " -> " + file.Path);
                return nullptr;
            }
        }
        if (chain_.size() >= kMaxIncludeDepth) {
            context_.Error(action.Column, "files included more than " + std::to_string(kMaxIncludeDepth) +
                                              " deep: " + Chain() + " -> " + file.Path);
            return nullptr;
        }
        return &file;
    }

    TSourceFiles& sources_;
    TAssembly assembly_;
    TAsmContext context_{assembly_};
    std::map<std::string, TSourceFile> files_;  // by their normal path
    std::vector<TOpenFile> chain_;              // the files being read, the outermost first
    int lines_ = 0;                             // in this pass
    bool stopped_ = false;
};

}  // namespace

TAssembly Assemble(const std::string& path, TSourceFiles& files) { return TAssembler(files).Run(path); }

}  // namespace hexmoor
