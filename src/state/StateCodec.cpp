#include "state/StateCodec.h"

#include <algorithm>

namespace hexmoor {

namespace {

constexpr std::size_t kPage = 256;

bool Zeros(const uint8_t* page) {
    return std::all_of(page, page + kPage, [](uint8_t byte) { return byte == 0; });
}

}  // namespace

// A bit for each page, set for a page that follows; then those pages.
void TStateWriter::WritePages(const uint8_t* bytes, std::size_t size) {
    const std::size_t pages = size / kPage;
    std::string present((pages + 7) / 8, '\0');
    for (std::size_t page = 0; page < pages; ++page)
        if (!Zeros(bytes + page * kPage)) present[page / 8] = char(present[page / 8] | 1 << page % 8);
    bytes_ += present;
    for (std::size_t page = 0; page < pages; ++page)
        if (present[page / 8] & 1 << page % 8)
            bytes_.append(reinterpret_cast<const char*>(bytes + page * kPage), kPage);
}

uint64_t TStateReader::Number(std::size_t size) {
    if (!error_.empty()) return 0;
    if (bytes_.size() - at_ < size) {
        Fail("it ends in the middle of a value");
        return 0;
    }
    uint64_t value = 0;
    for (std::size_t i = 0; i < size; ++i) value |= uint64_t(uint8_t(bytes_[at_ + i])) << (8 * i);
    at_ += size;
    return value;
}

std::string_view TStateReader::Text() { return Bytes(Number(4)); }

std::string_view TStateReader::Bytes(uint64_t size) {
    if (!error_.empty()) return {};
    if (bytes_.size() - at_ < size) {
        Fail("a length runs past the end");
        return {};
    }
    const std::string_view bytes = bytes_.substr(at_, size);
    at_ += size;
    return bytes;
}

void TStateReader::ReadPages(uint8_t* bytes, std::size_t size) {
    const std::size_t pages = size / kPage;
    const std::size_t mapSize = (pages + 7) / 8;
    if (!error_.empty() || bytes_.size() - at_ < mapSize) {
        Fail("it ends in the middle of a value");
        return;
    }
    const std::string_view present = bytes_.substr(at_, mapSize);
    at_ += mapSize;
    for (std::size_t page = 0; page < pages; ++page) {
        uint8_t* to = bytes + page * kPage;
        if (!(present[page / 8] & 1 << page % 8)) {
            std::fill(to, to + kPage, 0);
        } else if (bytes_.size() - at_ < kPage) {
            Fail("it ends in the middle of a value");
            return;
        } else {
            std::copy(bytes_.begin() + std::ptrdiff_t(at_), bytes_.begin() + std::ptrdiff_t(at_ + kPage), to);
            at_ += kPage;
        }
    }
    // Bits past the last page would be bytes nobody reads.
    if (pages % 8 != 0 && uint8_t(present[mapSize - 1]) >> (pages % 8) != 0) Fail("pages past an image's end");
}

}  // namespace hexmoor
