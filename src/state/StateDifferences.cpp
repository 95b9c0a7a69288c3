// Comparing two snapshots field by field, in words a failing test prints.
#include <algorithm>
#include <concepts>
#include <string_view>
#include <utility>

#include "core/Hex.h"
#include "state/MachineState.h"
#include "state/Sections.h"

namespace hexmoor {

namespace {

// Whether two values can be told equal at once, by their own ==; otherwise (or when they
// differ) they are looked at field by field.
template <class T>
constexpr bool kWholeComparable = std::equality_comparable<T>;
template <class E, std::size_t N>
constexpr bool kWholeComparable<std::array<E, N>> = kWholeComparable<E>;

template <class T>
bool Alike(const T& a, const T& b);

struct TAlikeFields {
    bool Alike = true;
    template <class F>
    void Field(const char*, const F& a, const F& b) {
        Alike = Alike && hexmoor::Alike(a, b);
    }
    template <class F>
    void Omit(const char*, const F&, const F&) {}
};

template <class T>
bool Alike(const T& a, const T& b) {
    if constexpr (kWholeComparable<T>) {
        return a == b;
    } else if constexpr (HasFields<T>) {
        TAlikeFields fields;
        Fields(fields, a, b);
        return fields.Alike;
    } else {
        static_assert(FieldArray<T>);
        for (std::size_t i = 0; i < a.size(); ++i)
            if (!Alike(a[i], b[i])) return false;
        return true;
    }
}

std::string ValueText(bool value) { return value ? "true" : "false"; }
std::string ValueText(uint8_t value) { return "$" + Hex2(value); }
std::string ValueText(uint16_t value) { return "$" + Hex4(value); }
template <class T>
std::string ValueText(T value) {
    if constexpr (std::is_enum_v<T>)
        return std::to_string(std::underlying_type_t<T>(value));
    else
        return std::to_string(value);
}

// Short texts whole; a long one (typed-ahead input) by its length and first difference.
std::string TextDifference(std::string_view a, std::string_view b) {
    constexpr std::size_t kShown = 40;
    auto quoted = [](std::string_view text) { return "\"" + std::string(text) + "\""; };
    if (a.size() <= kShown && b.size() <= kShown) return quoted(a) + " vs " + quoted(b);
    const auto [at, _] = std::mismatch(a.begin(), a.end(), b.begin(), b.end());
    return std::to_string(a.size()) + " vs " + std::to_string(b.size()) + " bytes, first difference at byte " +
           std::to_string(at - a.begin());
}

class TDifferenceFinder {
public:
    TDifferenceFinder(std::vector<std::string>& found, std::size_t limit) : found_(found), limit_(limit) {}

    template <class F>
    void Field(const char* name, const F& a, const F& b) {
        if (!Alike(a, b)) Value(prefix_.empty() ? std::string(name) : prefix_ + "." + name, a, b);
    }
    template <class F>
    void Omit(const char*, const F&, const F&) {}

    // Texts for the paths are made only where something differs.
    template <class F>
    void Value(const std::string& path, const F& a, const F& b) {
        if (found_.size() >= limit_) return;
        if constexpr (HasFields<F>) {
            const std::string outer = std::exchange(prefix_, path);
            Fields(*this, a, b);
            prefix_ = outer;
        } else if constexpr (FieldArray<F>) {
            // An index into memory is an address: in hexadecimal.
            constexpr bool kMemory = std::is_same_v<typename F::value_type, uint8_t> && sizeof(F) >= 256;
            for (std::size_t i = 0; i < a.size() && found_.size() < limit_; ++i)
                if (!Alike(a[i], b[i]))
                    Value(path + "[" + (kMemory ? "$" + Hex4(uint16_t(i)) : std::to_string(i)) + "]", a[i], b[i]);
        } else if constexpr (std::is_same_v<F, std::string>) {
            found_.push_back(path + ": " + TextDifference(a, b));
        } else {
            found_.push_back(path + ": " + ValueText(a) + " vs " + ValueText(b));
        }
    }

private:
    std::vector<std::string>& found_;
    std::size_t limit_;
    std::string prefix_;
};

}  // namespace

std::vector<std::string> StateDifferences(const TMachineState& a, const TMachineState& b, std::size_t limit) {
    std::vector<std::string> found;
    TDifferenceFinder finder(found, limit);
    ForEachSection([&](const auto& section) {
        const auto& partA = section.Part(a);
        const auto& partB = section.Part(b);
        if (!Alike(partA, partB)) finder.Value(section.Flat ? "" : section.Name, partA, partB);
    });
    return found;
}

}  // namespace hexmoor
