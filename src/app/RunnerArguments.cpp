// The command line of hexmoor-run.
#include <charconv>
#include <optional>
#include <set>
#include <string_view>

#include "Version.h"
#include "app/HeadlessRunner.h"

namespace hexmoor {

namespace {

constexpr const char* kUsage =
    "Usage: hexmoor-run [options] [--] PROGRAM.s19|PROGRAM.elf|SOURCE.asm\n"
    "       (S-records or an ELF executable, told apart by content; otherwise a name\n"
    "       ending .asm, .a11 or .s11 is assembly source, assembled and run; a PROGRAM\n"
    "       of - reads it from standard input, and nothing is typed then)\n"
    "Runs a 68HC11 program on the simulated 68HC11F1 board without a window: what the\n"
    "program writes to the terminal goes to standard output, standard input is typed.\n"
    "\n"
    "Options (a value follows the option, or is attached with =, as in --input=FILE; --\n"
    "ends the options):\n"
    "  --max-cycles N        stop after N E-clock cycles\n"
    "  --max-instructions N  stop after N instructions\n"
    "  --idle-cycles N       end a run whose input has ended when the program has polled the\n"
    "                        status port (or the serial port's SCSR) in a loop, writing\n"
    "                        nothing, for N E-clock cycles\n"
    "                        (default 2000000, one second of chip time)\n"
    "  --break ADDR          stop at this address (hexadecimal, $ or 0x optional, # for\n"
    "                        decimal, a register, or a symbol or an expression of symbols:\n"
    "                        halt, loop+3; a name the program has comes before hex digits),\n"
    "                        or at the code of a source line (FILE:LINE, as in prog.asm:12);\n"
    "                        past $FFFF is refused; may be repeated\n"
    "  --break ADDR,print    at each hit, print the registers (as --registers does) and the\n"
    "                        call stack on standard error, and go on\n"
    "  --watch ADDR[-END][:r|w|rw]\n"
    "                        stop after the program reads or writes (w unless told) a byte\n"
    "                        at ADDR or in ADDR-END, each read as for --break; may be\n"
    "                        repeated\n"
    "  --watch-change EXPR   stop after an instruction that changed the value of EXPR, a\n"
    "                        register, a byte [ADDR], a word [[ADDR]] or an expression of\n"
    "                        them (SP < 0100 stops when it becomes true and when it becomes\n"
    "                        false); may be repeated\n"
    "  --dump ADDR[-END]     after the run, print those bytes in rows of 16, each ending with\n"
    "                        its bytes as characters, as hexdump -C shows them (ADDR alone:\n"
    "                        16 bytes); may be repeated\n"
    "  --symbols FILE        names for addresses: an ELF file, a linker map or ADDRESS NAME\n"
    "                        lines (default: an ELF program's own, or PROGRAM.sym or\n"
    "                        PROGRAM.map beside it)\n"
    "  --input FILE          feed FILE as terminal input instead of standard input, a CR\n"
    "                        after each line\n"
    "  --type-ahead          type all input at once, as it comes\n"
    "  --line-per-read       type a line at each read of an empty input buffer\n"
    "                        (default: a line when the program reads an empty buffer and\n"
    "                        has printed nothing for 20000 E-clock cycles, 10 ms)\n"
    "  --mode MODE           the mode pins: expanded (the default) or bootstrap, special\n"
    "                        bootstrap mode: the program's bytes for $0000-$03FF go into the\n"
    "                        on-chip RAM and it starts at $0000, as after a download\n"
    "  --printer FILE        write the printer port's bytes to FILE\n"
    "  --trace FILE          run with trace, writing one log line per instruction; a call,\n"
    "                        jump or branch names its target by the program's symbols\n"
    "  --save-state FILE     when the run ends, however it ends, write the whole machine's\n"
    "                        state to FILE\n"
    "  --load-state FILE     start from the state in FILE (written by --save-state) instead of\n"
    "                        a reset; the program is loaded first, for its names and source\n"
    "                        lines. The cycle and instruction counts, and so the limits, go on\n"
    "                        from the state's\n"
    "  --screen              print the final 80 x 24 screen instead of the output stream\n"
    "  --registers           print the final registers as a trace line, on a line of its own\n"
    "  --warnings            print warnings about misuse of the chip on standard error\n"
    "  --interrupts          print interrupts taken on standard error\n"
    "  --registers-io        print register reads and writes on standard error\n"
    "  --stats[=json]        print instructions, cycles, seconds and mips on standard error;\n"
    "                        =json: one line, {\"instructions\": N, \"cycles\": N, \"seconds\": X,\n"
    "                        \"mips\": X, \"ended\": WHY, \"status\": N}, WHY one of stop, wai,\n"
    "                        input, limit, breakpoint, watchpoint, signal, error\n"
    "  --backtrace           print the call stack on standard error when the run ends (at a\n"
    "                        breakpoint, a watchpoint or otherwise): frame 0 where PC is,\n"
    "                        then each call or interrupt not yet returned from\n"
    "  -h, --help            show this help\n"
    "  --version             show the version\n"
    "\n"
    "The run ends at a limit, at a breakpoint or watchpoint, at STOP, at a WAI nothing can\n"
    "wake, or when the program waits for input and no more can come (a read of the data\n"
    "port, or polling the status port, or the serial port's SCSR, in a loop for\n"
    "--idle-cycles). A stop at a breakpoint or watchpoint is said on standard error with\n"
    "the name and the source line of the place when the program has them.\n"
    "\n"
    "At a terminal, keys go to the program as typed (no echo, Ctrl-C is $03) and Ctrl-]\n"
    "ends the run; the screen's escape commands are shown as ANSI sequences. Piped, the\n"
    "output is the program's own bytes.\n"
    "\n"
    "Exit status:\n"
    "  0    the program ended: STOP, a WAI nothing can wake, no more input, a breakpoint or\n"
    "       watchpoint, Ctrl-]\n"
    "  1    a file cannot be read or written, or the program has a damaged record\n"
    "  2    bad arguments (an address that does not read, a symbol the program lacks)\n"
    "  3    --max-cycles or --max-instructions cut the run (said on standard error)\n"
    "  130  SIGINT; SIGTERM and SIGHUP give 128 plus their number\n";

template <class T>
bool ParseNumber(std::string_view text, T& value, int base) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    return error == std::errc() && end == text.data() + text.size() && !text.empty();
}

// The options that take no value.
const std::set<std::string, std::less<>> kFlags{"--help",     "--version",    "--screen",
                                                "--registers", "--warnings",  "--interrupts",
                                                "--registers-io", "--type-ahead",
                                                "--line-per-read", "--backtrace"};

}  // namespace

TParsedArguments ParseRunnerArguments(const std::vector<std::string>& arguments) {
    TParsedArguments parsed;
    TRunnerOptions options;
    auto fail = [&parsed](const std::string& message) {
        parsed.Error = "hexmoor-run: " + message + " (see hexmoor-run --help)";
        return parsed;
    };
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string argument = arguments[i];
        // "--option=value" is "--option value"; after "--" everything is the program.
        std::optional<std::string> attached;
        if (!optionsEnded && argument.starts_with("--")) {
            if (const std::size_t equals = argument.find('='); equals != std::string::npos) {
                attached = argument.substr(equals + 1);
                argument.resize(equals);
            }
        }
        auto value = [&](std::string& into) {
            if (attached) {
                into = *attached;
                return true;
            }
            if (i + 1 >= arguments.size()) return false;
            into = arguments[++i];
            return true;
        };
        if (attached && kFlags.contains(argument)) return fail(argument + " takes no value");
        std::string text;
        if (optionsEnded || argument == "-" || !argument.starts_with("-")) {
            if (!options.Program.empty()) return fail("one program at a time");
            options.Program = argument;
        } else if (argument == "--" && !attached) {
            optionsEnded = true;
        } else if (argument == "--help" || argument == "-h") {
            parsed.Output = kUsage;
            return parsed;
        } else if (argument == "--version") {
            parsed.Output = std::string("hexmoor-run ") + kVersion + "\n";
            return parsed;
        } else if (argument == "--max-cycles" || argument == "--max-instructions" || argument == "--idle-cycles") {
            uint64_t number = 0;
            if (!value(text) || !ParseNumber(text, number, 10))
                return fail(argument + " needs a whole number");
            if (argument == "--idle-cycles") options.IdleCycles = number;
            else (argument == "--max-cycles" ? options.MaxCycles : options.MaxInstructions) = number;
        } else if (argument == "--break" || argument == "--watch" || argument == "--dump") {
            // Checked once the program's symbols are known.
            if (!value(text) || text.empty()) return fail(argument + " needs an address");
            (argument == "--break" ? options.BreakPoints : argument == "--watch" ? options.Watches : options.Dumps)
                .push_back(text);
        } else if (argument == "--watch-change") {
            if (!value(text) || text.find_first_not_of(' ') == std::string::npos)
                return fail(argument + " needs an expression");
            options.WatchChanges.push_back(text);
        } else if (argument == "--trace" || argument == "--input" || argument == "--printer" ||
                   argument == "--symbols" || argument == "--save-state" || argument == "--load-state") {
            if (!value(text)) return fail(argument + " needs a file name");
            (argument == "--trace"        ? options.TraceFile
             : argument == "--input"      ? options.InputFile
             : argument == "--symbols"    ? options.SymbolFile
             : argument == "--save-state" ? options.SaveState
             : argument == "--load-state" ? options.LoadState
                                          : options.PrinterFile) = text;
        } else if (argument == "--mode") {
            if (!value(text) || (text != "bootstrap" && text != "expanded"))
                return fail("--mode needs bootstrap or expanded");
            options.Bootstrap = text == "bootstrap";
        } else if (argument == "--type-ahead") {
            options.Pacing = TInputPacing::TypeAhead;
        } else if (argument == "--line-per-read") {
            options.Pacing = TInputPacing::LinePerRead;
        } else if (argument == "--screen") {
            options.Screen = true;
        } else if (argument == "--registers") {
            options.Registers = true;
        } else if (argument == "--warnings") {
            options.Warnings = true;
        } else if (argument == "--interrupts") {
            options.Interrupts = true;
        } else if (argument == "--registers-io") {
            options.RegistersIo = true;
        } else if (argument == "--stats") {
            if (attached && *attached != "json" && *attached != "text") return fail("--stats takes text or json");
            options.Stats = attached == "json" ? TStatsForm::Json : TStatsForm::Text;
        } else if (argument == "--backtrace") {
            options.Backtrace = true;
        } else {
            return fail("unknown option " + argument);
        }
    }
    if (options.Program.empty()) return fail("no program given");
    parsed.Options = options;
    return parsed;
}

}  // namespace hexmoor
