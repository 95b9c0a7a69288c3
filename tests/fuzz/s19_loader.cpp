// Arbitrary bytes as a program file: the loader never crashes, never reads past a line,
// and says only what a user is meant to read.
#include <memory>
#include <set>

#include "FuzzPanel.h"
#include "loader/S19Reader.h"

using namespace hexmoor;

namespace {

const std::set<std::string_view> kRecordMessages{kNotAnSRecord, kNotHex, kUnknownSRecord,
                                                 kRecordTooShort};

// Each line alone in a buffer of exactly its length, so a read past its end is caught.
void ReadEveryLineAlone(const uint8_t* data, std::size_t size) {
    std::size_t begin = 0;
    while (begin <= size) {
        std::size_t end = begin;
        while (end < size && data[end] != '\n' && data[end] != '\r') ++end;
        const std::size_t length = end - begin;
        const auto line = std::make_unique<char[]>(length);
        std::copy(data + begin, data + end, line.get());
        const TS19Line read = ReadS19Line(std::string_view(line.get(), length));
        for (const std::string& message : read.Messages)
            if (!kRecordMessages.contains(message)) fuzz::Fail("unexpected record message " + message);
        if (read.Bytes.size() > 255) fuzz::Fail("more data bytes than a count allows");
        begin = end + 1;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    ReadEveryLineAlone(data, size);

    fuzz::TFuzzPanel panel;
    auto machine = std::make_unique<TMachine>(panel);
    panel.Attach(*machine);
    const fuzz::TMemoryFile file(data, size);
    const TLoadResult result = machine->LoadFile(file.Path());
    for (const std::string& message : panel.Messages) {
        const bool cannotLoad = message.starts_with("Cannot load " + file.Path() + ": ");
        if (!kRecordMessages.contains(message) && !cannotLoad)
            fuzz::Fail("unexpected loader message " + message);
        if (cannotLoad && (result == TLoadResult::Loaded || result == TLoadResult::NoData))
            fuzz::Fail("a failure reported as a load");
    }
    return 0;
}
