#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <type_traits>

// Loads and stores of record fields at any byte offset, in the record's byte order.
// Records are never overlaid with native structs: field widths and alignment differ
// between the device's 32-bit layout and the host's.
namespace darwin {

namespace detail {

template <class T> T byteSwapped(T value) {
    using U = std::make_unsigned_t<T>;
    U bits = static_cast<U>(value);
    U swapped = 0;
    for (size_t i = 0; i < sizeof(T); ++i) {
        swapped = static_cast<U>((swapped << 8) | (bits & 0xffu));
        bits = static_cast<U>(bits >> 8);
    }
    return static_cast<T>(swapped);
}

template <class T>
constexpr bool isFieldType = std::is_integral_v<T> && !std::is_same_v<T, bool> && sizeof(T) <= 8;

} // namespace detail

// Order is the byte order of the field in the record: little-endian for the device's
// own integers, big-endian for the network-order ports and addresses of socket records.
template <class T, std::endian Order> T readInteger(const void* base, size_t offset) {
    static_assert(detail::isFieldType<T>, "record fields are 8- to 64-bit integers");
    T value;
    std::memcpy(&value, static_cast<const unsigned char*>(base) + offset, sizeof(T));
    if constexpr (Order != std::endian::native) {
        value = detail::byteSwapped(value);
    }
    return value;
}

template <class T, std::endian Order> void writeInteger(void* base, size_t offset, T value) {
    static_assert(detail::isFieldType<T>, "record fields are 8- to 64-bit integers");
    if constexpr (Order != std::endian::native) {
        value = detail::byteSwapped(value);
    }
    std::memcpy(static_cast<unsigned char*>(base) + offset, &value, sizeof(T));
}

template <class T> T readLE(const void* base, size_t offset) {
    return readInteger<T, std::endian::little>(base, offset);
}

template <class T> void writeLE(void* base, size_t offset, T value) {
    writeInteger<T, std::endian::little>(base, offset, value);
}

// The text of a fixed-size char field: up to the first NUL, at most maxLength bytes
// (a field filled to its last byte carries no NUL).
std::string readCString(const void* base, size_t offset, size_t maxLength);

// Stores text into a fixed-size char field the way strncpy does: truncated to the
// field, the rest NUL-padded (a text as long as the field leaves no NUL).
void writeCString(void* base, size_t offset, size_t fieldSize, std::string_view text);

} // namespace darwin
