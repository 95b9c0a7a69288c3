// An input file and keys typed, read through the terminal's status and data ports in any
// order: every byte arrives once, in order, as a simple model of the input says. The reads
// come from one place with the same registers, so from the third empty status read on the
// program counts as waiting for a key, and such a read types the file's next line.
#include <deque>
#include <memory>

#include "FuzzPanel.h"
#include "core/TextLineReader.h"

using namespace hexmoor;

namespace {

// The file's lines as the program should get them: LF, CRLF or CR ends a line, a last line
// needs no end, and reading stops before a line longer than the reader takes.
std::deque<std::string> ExpectedLines(const uint8_t* data, std::size_t size) {
    std::deque<std::string> lines;
    std::size_t i = 0;
    while (i < size) {
        std::string line;
        while (i < size && data[i] != '\n' && data[i] != '\r') line += char(data[i++]);
        if (line.size() > TTextLineReader::kMaxLineLength) break;
        if (i < size && data[i] == '\r' && i + 1 < size && data[i + 1] == '\n') ++i;
        ++i;
        lines.push_back(line + '\r');
    }
    return lines;
}

uint8_t ReadPort(TMachine& m, uint16_t address) {
    m.EffectiveAddress = address;
    m.LoadByte();
    return m.DataByte;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::size_t fileSize = (size - 1) * data[0] / 256;
    const uint8_t* ops = data + 1 + fileSize;
    const std::size_t opCount = size - 1 - fileSize;

    fuzz::TFuzzPanel panel;
    auto machine = std::make_unique<TMachine>(panel);
    panel.Attach(*machine);
    TMachine& m = *machine;
    const fuzz::TMemoryFile file(data + 1, fileSize);
    m.OpenInputFile(file.Path());

    std::deque<std::string> lines = ExpectedLines(data + 1, fileSize);
    std::deque<uint8_t> buffer;
    bool open = !lines.empty();
    auto feed = [&] {
        if (!buffer.empty() || !open) return;
        if (lines.empty()) {
            open = false;
            return;
        }
        buffer.assign(lines.front().begin(), lines.front().end());
        lines.pop_front();
    };
    feed();

    int emptyPolls = 0;
    for (std::size_t i = 0; i < opCount; ++i) {
        const uint8_t op = ops[i];
        if (op == 0x3F) {
            m.ClearInputBufferClick();
            buffer.clear();
        } else if (op < 0x40) {
            if (buffer.empty() && ++emptyPolls >= int(TWaitLoop::kLoopPolls)) feed();
            if (ReadPort(m, 0x1036) != (buffer.empty() ? 0 : 1)) fuzz::Fail("status read");
        } else if (op < 0x80) {
            feed();
            try {
                const uint8_t byte = ReadPort(m, 0x1037);
                if (buffer.empty() || byte != buffer.front()) fuzz::Fail("data read");
                buffer.pop_front();
            } catch (const TReadAbandoned&) {
                // An empty buffer waits, and the panel ends the wait at once.
                if (!buffer.empty()) fuzz::Fail("a read with input waiting was abandoned");
            }
        } else {
            const uint8_t key = op < 0xC0 ? op & 0x7F : op;
            m.FormKeyPress(key);
            if (!open) buffer.push_back(key);  // keys are ignored while the file feeds the input
        }
        if (m.InputFileOpen != open) fuzz::Fail("input file open or closed at the wrong time");
        if (m.InputBuffer.Size() != buffer.size()) fuzz::Fail("typed-ahead input lost or grown");
    }
    return 0;
}
