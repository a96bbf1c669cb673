#pragma once

#include "platform/darwin/ByteOrder.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <string>

// How one field of a device record is stored. Every codec names the type it holds
// (Value), its width in the record (kSize), the alignment the device's compiler gives
// it (kAlignment), and encodes a value at a byte position or decodes one from there.
// A RecordLayout is a codec too, for records nested in records.
namespace darwin {

// An integer of the field's own width. Loads and stores go through memcpy, so a field
// may sit at any offset: the device aligns 64-bit integers to 4 bytes only.
template <class T, std::endian Order = std::endian::little> struct Integer {
    using Value = T;
    static constexpr size_t kSize = sizeof(T);
    static constexpr size_t kAlignment = std::min<size_t>(sizeof(T), 4);

    static void encode(T value, void* at) { writeInteger<T, Order>(at, 0, value); }
    static T decode(const void* at) { return readInteger<T, Order>(at, 0); }
};

// A 64-bit counter the way a 32-bit kernel copies it into an array of natural_t words:
// two words, the low one first, each in Order.
template <std::endian Order> struct WordPair {
    using Value = uint64_t;
    using Word = Integer<uint32_t, Order>;
    static constexpr size_t kSize = 2 * Word::kSize;
    static constexpr size_t kAlignment = Word::kAlignment;

    static void encode(uint64_t value, void* at) {
        Word::encode(static_cast<uint32_t>(value), at);
        Word::encode(static_cast<uint32_t>(value >> 32), static_cast<unsigned char*>(at) + 4);
    }
    static uint64_t decode(const void* at) {
        const uint64_t high = Word::decode(static_cast<const unsigned char*>(at) + 4);
        return Word::decode(at) | high << 32;
    }
};

// How a char field ends. Strncpy: the text fills up to the whole field and the rest is
// NUL; a text as long as the field keeps no NUL. LastByteNul: the kernel forces the last
// byte to NUL, so the field holds one character less (p_comm).
enum class TextEnd { Strncpy, LastByteNul };

// A fixed-size char field holding text; longer text is cut to the field.
template <size_t Size, TextEnd End = TextEnd::Strncpy> struct Text {
    using Value = std::string;
    static constexpr size_t kSize = Size;
    static constexpr size_t kAlignment = 1;
    static constexpr size_t kCapacity = End == TextEnd::LastByteNul ? Size - 1 : Size;

    static void encode(const std::string& text, void* at) {
        writeCString(at, 0, kCapacity, text);
        if constexpr (End == TextEnd::LastByteNul) {
            static_cast<unsigned char*>(at)[kCapacity] = 0;
        }
    }
    static std::string decode(const void* at) { return readCString(at, 0, kCapacity); }
};

// N elements of one codec back to back: an integer array, or raw bytes (addresses) as
// an Array of Integer<uint8_t>.
template <class Element, size_t N> struct Array {
    using Value = std::array<typename Element::Value, N>;
    static constexpr size_t kSize = N * Element::kSize;
    static constexpr size_t kAlignment = Element::kAlignment;

    static void encode(const Value& values, void* at) {
        for (size_t i = 0; i < N; ++i) {
            Element::encode(values[i], static_cast<unsigned char*>(at) + i * Element::kSize);
        }
    }
    static Value decode(const void* at) {
        Value values{};
        for (size_t i = 0; i < N; ++i) {
            values[i] = Element::decode(static_cast<const unsigned char*>(at) + i * Element::kSize);
        }
        return values;
    }
};

namespace detail {

template <class T> struct DefaultCodec {
    static_assert(sizeof(T) == 0, "name the codec of a field that is not an integer");
};
template <class T>
requires isFieldType<T>
struct DefaultCodec<T> {
    using type = Integer<T>;
};
template <class T, size_t N>
requires isFieldType<T>
struct DefaultCodec<std::array<T, N>> {
    using type = Array<Integer<T>, N>;
};

} // namespace detail

// The device's little-endian integers and arrays of them need no codec named.
template <class T> using DefaultCodec = typename detail::DefaultCodec<T>::type;

} // namespace darwin
