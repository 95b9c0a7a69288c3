// The runner's typed input: lines from standard input or --input typed into the machine's
// input buffer like a person at the keyboard, or, from a terminal in raw mode, keys as
// they come. Input is read only a bounded distance ahead of what the program has taken.
#pragma once

#include <cstdint>
#include <string>

#include "app/HeadlessRunner.h"
#include "app/TerminalKeys.h"
#include "core/Machine.h"
#include "core/TextLineReader.h"

namespace hexmoor {

class TRunnerInput {
public:
    // Input read and not yet taken by the program (typed or not) stays below this.
    static constexpr std::size_t kReadAhead = 64 * 1024;

    // A program read from standard input leaves nothing there to type.
    TRunnerInput(const TRunnerOptions& options, TMachine& machine)
        : options_(options), machine_(machine), stdinOpen_(options.Program != "-"), pacing_(options.Pacing) {}

    // --input is read a line at a time, like standard input.
    void OpenFile(const std::string& path) { file_.Open(path); }

    // Standard input feeds the program and a person types it.
    bool FromKeyboard() const;
    // Standard input is a terminal in raw mode: keys are typed as they come (as the
    // window's keyboard gives them) and Ctrl-] ends the input.
    void BeInteractive();
    bool Interactive() const { return interactive_; }
    bool EndedByUser() const { return endedByUser_; }
    // Why the input could not be read ("session.txt: line 3 is longer than 65536
    // characters"); empty while it can. The message has been printed.
    const std::string& Failure() const { return failure_; }

    // Types the next line (with --type-ahead, or from a keyboard, all that has come).
    // `wait`: the program waits for it; when nothing has come, standard input is waited
    // for until something comes or the input ends. True when something was typed.
    bool Offer(bool wait);
    // Reads what standard input has ready, without waiting; with --type-ahead types it.
    void Poll();
    // Waits up to `milliseconds` for keys and types them.
    void Nap(int milliseconds);
    // Nothing waits to be read and nothing more can come.
    bool RanOut() const;

private:
    bool StdinFeeds() const { return !options_.InputFile && stdinOpen_; }
    bool SourceOpen() const { return file_.IsOpen() || StdinFeeds(); }
    std::size_t Room() const;
    bool Ready() const;
    bool Fill(int timeout);
    bool ReadFileLine();
    bool ReadStdin(int timeout);
    void Take(uint8_t byte);
    void Fail(const std::string& why);

    const TRunnerOptions& options_;
    TMachine& machine_;
    bool stdinOpen_;
    TInputPacing pacing_;
    bool interactive_ = false;
    bool endedByUser_ = false;
    bool unmappedNoted_ = false;
    bool lastWasCr_ = false;
    std::string failure_;
    TInputBuffer pending_;  // input read and not yet typed, Enter as CR
    TTextLineReader file_;
    TTerminalKeys keys_;
};

}  // namespace hexmoor
