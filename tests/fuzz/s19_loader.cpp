// Arbitrary bytes as a program file: the loader never crashes, never reads past a line,
// and says only what a user is meant to read.
#include <memory>
#include <set>

#include "FuzzPanel.h"
#include "loader/S19Reader.h"

using namespace hexmoor;

namespace {

const std::set<std::string_view> kRecordMessages{kNotAnSRecord,   kNotHex,        kUnknownSRecord, kRecordTooShort,
                                                 kRecordTooLong, kCountTooSmall, kBadChecksum};

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
        if (!read.Message.empty() && !kRecordMessages.contains(read.Message))
            fuzz::Fail("unexpected record message " + read.Message);
        if (read.Bytes.size() > 252) fuzz::Fail("more data bytes than a count allows");
        if (read.Damaged && !read.Bytes.empty()) fuzz::Fail("bytes taken from a damaged record");
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
        // Only a header record may be reported in a load that counts as whole.
        if (result == TLoadResult::Loaded && message != kUnknownSRecord)
            fuzz::Fail("a failure reported as a load");
    }
    if (result != TLoadResult::Loaded && panel.Messages.empty()) fuzz::Fail("a load that failed in silence");
    return 0;
}
