#pragma once

#include <gtest/gtest.h>

#include <concepts>
#include <initializer_list>
#include <string>
#include <type_traits>
#include <vector>

// Checks an encoded device record byte by byte against the offsets of darwin-abi.md,
// without the layout code that wrote it.
namespace recordbytes {

struct Expected {
    size_t offset;
    std::string bytes;
};

// A little-endian integer at offset, as wide as the type of value.
template <std::integral T> Expected at(size_t offset, T value) {
    auto bits = static_cast<std::make_unsigned_t<T>>(value);
    std::string bytes;
    for (size_t i = 0; i < sizeof(T); ++i, bits = static_cast<decltype(bits)>(bits >> 8)) {
        bytes += static_cast<char>(bits & 0xffu);
    }
    return {offset, bytes};
}

// Characters at offset: a text field's content (its NUL padding counts as unlisted).
inline Expected chars(size_t offset, std::string text) {
    return {offset, std::move(text)};
}

// Every listed field holds its bytes, and every byte no field lists is zero.
inline void expectRecord(const std::vector<unsigned char>& record,
                         const std::vector<Expected>& fields) {
    std::vector<bool> listed(record.size());
    for (const Expected& field : fields) {
        ASSERT_LE(field.offset + field.bytes.size(), record.size());
        const auto begin = record.begin() + static_cast<ptrdiff_t>(field.offset);
        EXPECT_EQ(std::string(begin, begin + static_cast<ptrdiff_t>(field.bytes.size())),
                  field.bytes)
            << "the field at offset " << field.offset;
        for (size_t i = 0; i < field.bytes.size(); ++i) {
            listed[field.offset + i] = true;
        }
    }
    for (size_t i = 0; i < record.size(); ++i) {
        if (!listed[i] && record[i] != 0) {
            ADD_FAILURE() << "byte " << i << " is " << int{record[i]} << ", not 0";
            return;
        }
    }
}

inline void expectRecord(const std::vector<unsigned char>& record,
                         std::initializer_list<Expected> fields) {
    expectRecord(record, std::vector<Expected>(fields));
}

} // namespace recordbytes
