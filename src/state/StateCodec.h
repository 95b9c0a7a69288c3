// Parts of a snapshot as bytes, field by field in their lists' order: numbers little-endian
// in their own width, flags as one byte, texts with their length. Byte arrays of whole
// 256-byte pages (the memory images) go page by page, with the pages of zeros left out.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>

#include "state/FieldVisit.h"

namespace hexmoor {

template <class F>
concept ByteArray = FieldArray<F> && std::is_same_v<typename F::value_type, uint8_t>;
template <class F>
concept PagedBytes = ByteArray<F> && sizeof(F) % 256 == 0;

class TStateWriter {
public:
    explicit TStateWriter(std::string& bytes) : bytes_(bytes) {}

    template <class F>
    void Field(const char*, const F& value) {
        Value(value);
    }
    template <class F>
    void Omit(const char*, const F&) {}

    void Number(uint64_t value, std::size_t size) {
        for (std::size_t i = 0; i < size; ++i) bytes_ += char(value >> (8 * i));
    }
    void Text(std::string_view text) {
        Number(text.size(), 4);
        bytes_ += text;
    }

    template <class F>
    void Value(const F& value) {
        if constexpr (HasFields<F>) {
            Fields(*this, value);
        } else if constexpr (PagedBytes<F>) {
            WritePages(value.data(), value.size());
        } else if constexpr (FieldArray<F>) {
            for (const auto& element : value) Value(element);
        } else if constexpr (std::is_same_v<F, std::string>) {
            Text(value);
        } else if constexpr (std::is_enum_v<F>) {
            Number(uint64_t(std::underlying_type_t<F>(value)), sizeof(F));
        } else {
            static_assert(std::is_integral_v<F>);
            Number(uint64_t(value), sizeof(F));
        }
    }

private:
    void WritePages(const uint8_t* bytes, std::size_t size);

    std::string& bytes_;
};

// Reads what TStateWriter wrote. The first failure is kept and ends the reading: the
// values read after it are zeros.
class TStateReader {
public:
    explicit TStateReader(std::string_view bytes) : bytes_(bytes) {}

    template <class F>
    void Field(const char* name, F& value) {
        if (error_.empty()) Value(value, name);
    }
    template <class F>
    void Omit(const char*, F&) {}

    uint64_t Number(std::size_t size);
    std::string_view Text();
    std::string_view Bytes(uint64_t size);
    void Fail(const std::string& error) {
        if (error_.empty()) error_ = error;
    }
    const std::string& Error() const { return error_; }
    bool AtEnd() const { return at_ == bytes_.size(); }

    template <class F>
    void Value(F& value, const char* name) {
        if constexpr (HasFields<F>) {
            Fields(*this, value);
        } else if constexpr (PagedBytes<F>) {
            ReadPages(value.data(), value.size());
        } else if constexpr (FieldArray<F>) {
            for (auto& element : value) Value(element, name);
        } else if constexpr (std::is_same_v<F, std::string>) {
            value = Text();
        } else if constexpr (std::is_same_v<F, bool>) {
            const uint64_t flag = Number(1);
            if (flag > 1) Fail(std::string(name) + " is neither 0 nor 1");
            value = flag == 1;
        } else if constexpr (std::is_enum_v<F>) {
            // Each enum a snapshot holds names its last value: LastValue(TPortGroup{}).
            const uint64_t number = Number(sizeof(F));
            if (number > uint64_t(LastValue(F{}))) Fail(std::string(name) + " is out of range");
            else value = F(number);
        } else {
            static_assert(std::is_integral_v<F>);
            value = F(Number(sizeof(F)));
        }
    }

private:
    void ReadPages(uint8_t* bytes, std::size_t size);

    std::string_view bytes_;
    std::size_t at_ = 0;
    std::string error_;
};

// The fields a writer writes, each by name and width: two builds whose snapshots differ in
// a field write different layouts.
class TLayoutWriter {
public:
    explicit TLayoutWriter(std::string& text) : text_(text) {}

    template <class F>
    void Field(const char* name, const F& value) {
        text_ += name;
        Value(value);
        text_ += ';';
    }
    template <class F>
    void Omit(const char*, const F&) {}

    template <class F>
    void Value(const F& value) {
        if constexpr (HasFields<F>) {
            text_ += '{';
            Fields(*this, value);
            text_ += '}';
        } else if constexpr (FieldArray<F>) {
            text_ += '[' + std::to_string(value.size()) + ']';
            Value(value[0]);
        } else if constexpr (std::is_same_v<F, std::string>) {
            text_ += ":text";
        } else {
            text_ += ':' + std::to_string(sizeof(F));
        }
    }

private:
    std::string& text_;
};

}  // namespace hexmoor
