// The terminal link's state: typed-ahead input and the program waiting for it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/TextLineReader.h"

namespace hexmoor {

// Bytes typed ahead and not yet read, oldest first. Reading one costs O(1) however much
// is waiting (megabytes piped into the runner): the read bytes are dropped in bulk.
class TInputBuffer {
public:
    bool Empty() const { return head_ == text_.size(); }
    std::size_t Size() const { return text_.size() - head_; }
    std::string_view Text() const { return std::string_view(text_).substr(head_); }
    char Front() const { return text_[head_]; }

    void PopFront() { Drop(1); }
    // The first `count` bytes are gone.
    void Drop(std::size_t count) {
        head_ += count;
        if (head_ == text_.size()) {
            Clear();
        } else if (head_ >= 4096 && head_ * 2 >= text_.size()) {
            text_.erase(0, head_);
            head_ = 0;
        }
    }
    void Append(char byte) { text_ += byte; }
    void Append(std::string_view bytes) { text_ += bytes; }
    void Assign(std::string_view text) {
        text_.assign(text);
        head_ = 0;
    }
    void Clear() { Assign({}); }

private:
    std::string text_;
    std::size_t head_ = 0;
};

struct TTerminalState {
    // Bytes typed ahead (Windows-1252 codes, NUL and CR intact): the InputConsole edit.
    TInputBuffer InputBuffer;
    bool WaitingForInput = false;
    bool InputWaitReleased = false;  // a control ended the wait: the read is abandoned
    // An escape sequence (byte 7, a command, and for a cursor move a column and a row).
    bool ConsoleEscape = false;
    uint8_t ConsoleEscapeState = 0;  // 0 command, 1 column, 2 row expected
    uint8_t ConsoleGotoColumn = 0;
    // The input file feeds the buffer line by line; typed keys are ignored meanwhile.
    bool InputFileOpen = false;
    std::string InputFileName;
    TTextLineReader InputFile;
    bool PrinterOpen = false;
    // After the printer failed once, its bytes are counted and dropped until it is closed.
    bool PrinterFailed = false;
    uint64_t PrinterDroppedBytes = 0;
};

}  // namespace hexmoor
