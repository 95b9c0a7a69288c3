// The two passes over the source and the files it includes. The first pass learns every
// symbol and fixes each line's size; the second gives the bytes and the messages.
#include "asm/Assembler.h"

#include <filesystem>
#include <map>

#include "asm/AsmContext.h"
#include "asm/Statement.h"

namespace hexmoor {

namespace {

// Deep enough for any real program; a chain of files that never ends stops here.
constexpr std::size_t kMaxIncludeDepth = 32;

struct TSourceFile {
    std::string Path;  // as opened
    std::optional<std::string> Text;
    std::string Error;
    int Index = -1;  // in TAssembly::Files, once read
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
        for (int pass = 1; pass <= 2; ++pass) {
            context_.BeginPass(pass);
            AssembleFile(source);
        }
        context_.Finish();
        return std::move(assembly_);
    }

private:
    // Each file is read once: the second pass must see what the first saw.
    TSourceFile& Open(const std::string& path) {
        const std::string key = std::filesystem::path(path).lexically_normal().string();
        auto [found, added] = files_.try_emplace(key);
        TSourceFile& file = found->second;
        if (added) {
            file.Path = path;
            file.Text = sources_.Read(path, file.Error);
            if (file.Text) {
                file.Index = int(assembly_.Files.size());
                assembly_.Files.push_back(path);
            }
        }
        return file;
    }

    void AssembleFile(const TSourceFile& file) {
        chain_.push_back(&file);
        const std::string_view text = *file.Text;
        int number = 0;
        for (std::size_t start = 0; start < text.size();) {
            std::size_t end = text.find('\n', start);
            if (end == std::string_view::npos) end = text.size();
            std::string_view line = text.substr(start, end - start);
            if (line.ends_with('\r')) line.remove_suffix(1);
            start = end + 1;
            context_.BeginLine(file.Index, ++number, line);
            const TLineAction action = AssembleLine(context_, line);
            const TSourceFile* included = action.Kind == TLineAction::TKind::Include ? Include(file, action) : nullptr;
            context_.EndLine();
            if (included) AssembleFile(*included);
            if (action.Kind == TLineAction::TKind::End) break;
        }
        chain_.pop_back();
    }

    // The file an INCLUDE names, beside the including one; null, with the error said, when
    // it cannot be read or is already being read.
    const TSourceFile* Include(const TSourceFile& from, const TLineAction& action) {
        const std::filesystem::path name(action.Path);
        const std::string path =
            name.is_absolute() ? action.Path
                               : (std::filesystem::path(from.Path).parent_path() / name).lexically_normal().string();
        const TSourceFile& file = Open(path);
        if (!file.Text) {
            context_.Error(action.Column, "cannot read " + path + ": " + file.Error);
            return nullptr;
        }
        for (const TSourceFile* open : chain_) {
            if (open == &file) {
                std::string cycle;
                for (const TSourceFile* link : chain_) cycle += link->Path + " -> ";
                context_.Error(action.Column, "a file that includes itself: " + cycle + path);
                return nullptr;
            }
        }
        if (chain_.size() >= kMaxIncludeDepth) {
            context_.Error(action.Column, "files included more than " + std::to_string(kMaxIncludeDepth) + " deep");
            return nullptr;
        }
        return &file;
    }

    TSourceFiles& sources_;
    TAssembly assembly_;
    TAsmContext context_{assembly_};
    std::map<std::string, TSourceFile> files_;  // by their normal path
    std::vector<const TSourceFile*> chain_;     // the files being read, the outermost first
};

}  // namespace

TAssembly Assemble(const std::string& path, TSourceFiles& files) { return TAssembler(files).Run(path); }

}  // namespace hexmoor
