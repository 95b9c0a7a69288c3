// What the snapshot's visitors need to know of a field's type: whether it has a field list
// of its own, or is an array (visited element by element), a string or a plain value.
#pragma once

#include <array>
#include <cstddef>
#include <type_traits>

namespace hexmoor {

// A visitor that does nothing: only for asking whether a type has a field list.
struct TAnyFieldVisitor {
    template <class... F>
    void Field(const char*, F&...) {}
    template <class... F>
    void Omit(const char*, F&...) {}
};

template <class T>
concept HasFields = requires(TAnyFieldVisitor& v, T& t) { Fields(v, t); };

template <class T>
struct TArrayShape : std::false_type {};
template <class E, std::size_t N>
struct TArrayShape<std::array<E, N>> : std::true_type {};

template <class T>
concept FieldArray = TArrayShape<std::remove_const_t<T>>::value;

template <class T>
concept ArrayOfParts = FieldArray<T> && HasFields<typename T::value_type>;

// Copies `from` into `to` field by field, leaving what the lists omit as it is.
struct TFieldRestorer {
    template <class F>
    void Field(const char*, F& to, const F& from) {
        Restore(to, from);
    }
    template <class F>
    void Omit(const char*, F&, const F&) {}

    template <class F>
    void Restore(F& to, const F& from) {
        if constexpr (HasFields<F>) {
            Fields(*this, to, from);
        } else if constexpr (ArrayOfParts<F>) {
            for (std::size_t i = 0; i < to.size(); ++i) Restore(to[i], from[i]);
        } else {
            to = from;
        }
    }
};

}  // namespace hexmoor
