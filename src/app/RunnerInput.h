// The runner's typed input: lines from standard input or --input typed into the machine's
// input buffer like a person at the keyboard, or, from a terminal in raw mode, keys as
// they come.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "app/HeadlessRunner.h"
#include "core/Machine.h"
#include "core/TextLineReader.h"

namespace hexmoor {

class TRunnerInput {
public:
    // A program read from standard input leaves nothing there to type.
    TRunnerInput(const TRunnerOptions& options, TMachine& machine)
        : options_(options), machine_(machine), stdinOpen_(options.Program != "-"), pacing_(options.Pacing) {}

    // --input is read a line at a time, like standard input.
    void OpenFile(const std::string& path) { file_.Open(path); }

    // Standard input feeds the program and a person types it.
    bool FromKeyboard() const;
    // Standard input is a terminal in raw mode: keys are typed as they come and Ctrl-]
    // ends the input.
    void BeInteractive();
    bool Interactive() const { return interactive_; }
    bool EndedByUser() const { return endedByUser_; }

    // The program has read an empty buffer: the status port, or the data port, where it
    // waits. Types the next line, unless the pacing says to wait; true when it typed.
    // `quiet`: the program has written nothing for the pacing's quiet time.
    bool Offer(bool dataRead, bool quiet);
    // What standard input has ready, read without blocking; typed at once with --type-ahead.
    void Poll();
    // Blocks until standard input brings something, an end signal comes, or the input
    // ends (false).
    bool Wait();
    // Waits up to `milliseconds` for keys and types them.
    void Nap(int milliseconds);
    // Nothing waits to be read and nothing more can come.
    bool RanOut() const;

private:
    bool StdinFeeds() const { return !options_.InputFile && stdinOpen_; }
    void TypePending(std::size_t end);
    bool Read(int timeout);

    const TRunnerOptions& options_;
    TMachine& machine_;
    bool stdinOpen_;
    TInputPacing pacing_;
    bool interactive_ = false;
    bool endedByUser_ = false;
    bool lastWasCr_ = false;
    std::string pending_;  // input read and not yet typed, Enter as CR
    TTextLineReader file_;
};

}  // namespace hexmoor
