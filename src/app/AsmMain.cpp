// hexmoor-asm: assembles a 68HC11 source in the classic Motorola syntax into S-records,
// and on request a listing and a symbol file.
#include <charconv>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "Version.h"
#include "asm/Assembler.h"
#include "core/OutputFile.h"

namespace {

using namespace hexmoor;

constexpr const char* kUsage =
    "Usage: hexmoor-asm [options] [--] SOURCE.asm\n"
    "Assembles a 68HC11 program written in the classic Motorola syntax into S-records.\n"
    "\n"
    "Options (a value follows the option, or is attached with =, as in --symbols=FILE):\n"
    "  -o FILE          the S-records (default: SOURCE with the extension .s19)\n"
    "  -l FILE          a listing: addresses, bytes, cycles and the source, then the symbols\n"
    "  --symbols FILE   ADDRESS NAME lines for the debugger\n"
    "  --record-bytes N data bytes per S-record, 1 to 252 (default 16)\n"
    "  -h, --help       show this help\n"
    "  --version        show the version\n"
    "\n"
    "Errors and warnings go to standard error as FILE:LINE:COLUMN: error: MESSAGE. When\n"
    "there is an error no file is written. A FILE of - is standard output (for one output\n"
    "at most). An existing file is replaced whole, keeping its permissions; a symbolic link\n"
    "is followed and stays a link; a device or FIFO is written to as it is.\n"
    "\n"
    "Exit status: 0 assembled (perhaps with warnings), 1 errors in the source or a file that\n"
    "cannot be read or written, 2 bad arguments.\n";

struct TArguments {
    std::string Source, Output, Listing, Symbols, RecordBytesText;
    std::size_t RecordBytes = kDefaultRecordBytes;
    bool Help = false, Version = false;
};

// --record-bytes N: a whole number in the range an S1 record's one-byte count allows.
bool ParseRecordBytes(TArguments& arguments, std::string& error) {
    if (arguments.RecordBytesText.empty()) return true;
    const std::string& text = arguments.RecordBytesText;
    const auto [end, failure] = std::from_chars(text.data(), text.data() + text.size(), arguments.RecordBytes);
    if (failure == std::errc() && end == text.data() + text.size() && arguments.RecordBytes >= 1 &&
        arguments.RecordBytes <= kMaxRecordBytes)
        return true;
    error = "--record-bytes takes a number from 1 to " + std::to_string(kMaxRecordBytes) + ", not " + text;
    return false;
}

// The arguments, or false with `error` saying what is wrong with them.
bool ParseArguments(int argc, char** argv, TArguments& arguments, std::string& error) {
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        std::string argument = argv[i];
        std::string* into = nullptr;
        std::optional<std::string> attached;
        if (!optionsEnded && argument.starts_with("--"))
            if (const std::size_t equals = argument.find('='); equals != std::string::npos) {
                attached = argument.substr(equals + 1);
                argument.resize(equals);
            }
        if (optionsEnded || argument == "-" || !argument.starts_with("-")) {
            if (!arguments.Source.empty()) {
                error = "one source at a time";
                return false;
            }
            arguments.Source = argument;
            continue;
        }
        if (argument == "--" && !attached) {
            optionsEnded = true;
        } else if ((argument == "-h" || argument == "--help") && !attached) {
            arguments.Help = true;
        } else if (argument == "--version" && !attached) {
            arguments.Version = true;
        } else if (argument == "-o") {
            into = &arguments.Output;
        } else if (argument == "-l") {
            into = &arguments.Listing;
        } else if (argument == "--symbols") {
            into = &arguments.Symbols;
        } else if (argument == "--record-bytes") {
            into = &arguments.RecordBytesText;
        } else {
            error = "unknown option " + argument;
            return false;
        }
        if (!into) continue;
        const std::string needs =
            argument + (into == &arguments.RecordBytesText ? " needs a number" : " needs a file name");
        if (!attached && i + 1 >= argc) {
            error = needs;
            return false;
        }
        *into = attached ? *attached : argv[++i];
        if (into->empty()) {
            error = needs;
            return false;
        }
    }
    if (!ParseRecordBytes(arguments, error)) return false;
    if (!arguments.Help && !arguments.Version && arguments.Source.empty()) {
        error = "no source to assemble";
        return false;
    }
    return true;
}

bool SamePlace(const std::string& a, const std::string& b) {
    std::error_code code;
    return std::filesystem::weakly_canonical(a, code) == std::filesystem::weakly_canonical(b, code);
}

constexpr const char* kStandardOutput = "-";

int Assemble(const TArguments& arguments) {
    std::vector<std::string> paths = {
        arguments.Output.empty() ? std::filesystem::path(arguments.Source).replace_extension(".s19").string()
                                 : arguments.Output};
    for (const std::string* path : {&arguments.Listing, &arguments.Symbols})
        if (!path->empty()) paths.push_back(*path);
    for (std::size_t i = 0; i < paths.size(); ++i) {
        std::string clash = SamePlace(paths[i], arguments.Source) ? "the source" : "";
        // Two outputs to one device (/dev/null) do no harm; to one file, one would be lost.
        std::error_code code;
        for (std::size_t j = 0; j < i && clash.empty(); ++j)
            if (SamePlace(paths[i], paths[j]) && !std::filesystem::is_character_file(paths[i], code))
                clash = "another output";
        if (!clash.empty()) {
            std::cerr << "hexmoor-asm: "
                      << (paths[i] == kStandardOutput ? "only one output can go to standard output"
                                                      : paths[i] + " would overwrite " + clash)
                      << " (see hexmoor-asm --help)\n";
            return 2;
        }
    }
    const TAssembly assembly = hexmoor::Assemble(arguments.Source);
    for (const TAsmDiagnostic& diagnostic : assembly.Diagnostics) std::cerr << FormatDiagnostic(diagnostic) << "\n";
    if (assembly.Failed()) return 1;
    std::vector<std::string> texts = {S19Text(assembly, arguments.RecordBytes)};
    if (!arguments.Listing.empty()) texts.push_back(assembly.Listing);
    if (!arguments.Symbols.empty()) texts.push_back(SymbolFileText(assembly));
    // Every output is written before any replaces its file, so a failure changes none.
    std::vector<TOutputFile> files(paths.size());
    std::string error;
    for (std::size_t i = 0; i < paths.size() && error.empty(); ++i) {
        if (paths[i] == kStandardOutput) files[i].OpenStandardOutput();
        else error = files[i].Open(paths[i]);
        if (error.empty()) error = files[i].Write(texts[i]);
        if (!error.empty()) error = "cannot write " + paths[i] + ": " + error;
    }
    for (std::size_t i = 0; i < paths.size() && error.empty(); ++i)
        if (error = files[i].Commit(); !error.empty()) error = "cannot write " + paths[i] + ": " + error;
    if (!error.empty()) {
        std::cerr << "hexmoor-asm: " << error << "\n";
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    TArguments arguments;
    std::string error;
    if (!ParseArguments(argc, argv, arguments, error)) {
        std::cerr << "hexmoor-asm: " << error << " (see hexmoor-asm --help)\n";
        return 2;
    }
    if (arguments.Help) std::cout << kUsage;
    if (arguments.Version) std::cout << "hexmoor-asm " << kVersion << "\n";
    if (arguments.Help || arguments.Version) return std::cout.flush() ? 0 : 1;
    return Assemble(arguments);
}
