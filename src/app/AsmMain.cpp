// hexmoor-asm: assembles a 68HC11 source in the classic Motorola syntax into S-records,
// and on request a listing and a symbol file.
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "Version.h"
#include "asm/Assembler.h"

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
    "there is an error no file is written.\n"
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

struct TOutput {
    std::string Path;
    std::string Text;
    std::string Temporary;
};

// Writes beside the destination and renames into place, so that a failure leaves no
// half-written file behind and no earlier one damaged.
bool WriteTemporary(TOutput& output, std::string& error) {
    std::string pattern = output.Path + ".XXXXXX";
    const int fd = mkstemp(pattern.data());
    if (fd < 0) {
        error = "cannot write " + output.Path + ": " + std::strerror(errno);
        return false;
    }
    output.Temporary = pattern;
    const char* data = output.Text.data();
    std::size_t left = output.Text.size();
    while (left > 0) {
        const ssize_t written = write(fd, data, left);
        if (written <= 0) {
            if (written < 0 && errno == EINTR) continue;
            error = "cannot write " + output.Path + ": " + std::strerror(written < 0 ? errno : ENOSPC);
            close(fd);
            return false;
        }
        data += written;
        left -= std::size_t(written);
    }
    const mode_t mask = umask(0);  // mkstemp makes the file private; give it the usual mode
    umask(mask);
    if (fchmod(fd, 0666 & ~mask) != 0 || close(fd) != 0) {
        error = "cannot write " + output.Path + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

bool SamePlace(const std::string& a, const std::string& b) {
    std::error_code code;
    return std::filesystem::weakly_canonical(a, code) == std::filesystem::weakly_canonical(b, code);
}

int Assemble(const TArguments& arguments) {
    std::vector<TOutput> outputs(1);
    outputs[0].Path = arguments.Output.empty()
                          ? std::filesystem::path(arguments.Source).replace_extension(".s19").string()
                          : arguments.Output;
    for (const std::string* path : {&arguments.Listing, &arguments.Symbols})
        if (!path->empty()) outputs.emplace_back().Path = *path;
    for (std::size_t i = 0; i < outputs.size(); ++i) {
        std::string clash = SamePlace(outputs[i].Path, arguments.Source) ? "the source" : "";
        for (std::size_t j = 0; j < i && clash.empty(); ++j)
            if (SamePlace(outputs[i].Path, outputs[j].Path)) clash = "another output";
        if (!clash.empty()) {
            std::cerr << "hexmoor-asm: " << outputs[i].Path << " would overwrite " << clash
                      << " (see hexmoor-asm --help)\n";
            return 2;
        }
    }
    const TAssembly assembly = hexmoor::Assemble(arguments.Source);
    for (const TAsmDiagnostic& diagnostic : assembly.Diagnostics) std::cerr << FormatDiagnostic(diagnostic) << "\n";
    if (assembly.Failed()) return 1;
    std::size_t next = 0;
    outputs[next++].Text = S19Text(assembly, arguments.RecordBytes);
    if (!arguments.Listing.empty()) outputs[next++].Text = assembly.Listing;
    if (!arguments.Symbols.empty()) outputs[next++].Text = SymbolFileText(assembly);
    std::string error;
    bool written = true;
    for (TOutput& output : outputs) written = written && WriteTemporary(output, error);
    for (const TOutput& output : outputs) {
        if (written && std::rename(output.Temporary.c_str(), output.Path.c_str()) != 0) {
            error = "cannot write " + output.Path + ": " + std::strerror(errno);
            written = false;
        }
        if (!written && !output.Temporary.empty()) std::remove(output.Temporary.c_str());
    }
    if (!written) {
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
