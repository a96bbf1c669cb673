#pragma once

#include "platform/darwin/Field.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstring>
#include <span>
#include <tuple>
#include <type_traits>
#include <vector>

// A device record described once: the struct it decodes into, its size, and one Field
// per member it carries, in offset order. Encoding, decoding, reading a single field
// and the layout checks below all follow from that table. A layout is itself a codec,
// so one record nests in another at a base offset (the timeval inside kinfo_proc and
// utmpx). The socket and routing records take the same table: network-order ports
// and addresses as big-endian Integers or raw byte Arrays, if_data64 inside
// if_msghdr2 and the inpcb and xsocket images inside xinpcb and xtcpcb as nested
// layouts, 64-bit counters at 4-aligned offsets; of a sockaddr_dl, whose name and
// address lengths vary, only the fixed header is a layout.
namespace darwin {

namespace detail {

template <class... Fields> consteval bool fieldsInOrderWithoutOverlap() {
    size_t end = 0;
    bool ordered = true;
    ((ordered = ordered && Fields::kOffset >= end, end = Fields::kEnd), ...);
    return ordered;
}

template <size_t Size, class... Fields> consteval bool fieldsInsideRecord() {
    return ((Fields::kEnd <= Size) && ...);
}

// The device's compiler aligns every field to its width, 64-bit integers to 4 bytes.
template <class... Fields> consteval bool fieldsAligned() {
    return ((Fields::kOffset % Fields::Codec::kAlignment == 0) && ...);
}

template <auto A, auto B> consteval bool sameMember() {
    if constexpr (std::is_same_v<decltype(A), decltype(B)>) {
        return A == B;
    } else {
        return false;
    }
}

template <auto Member, class... Fields> consteval size_t indexOfField() {
    constexpr std::array<bool, sizeof...(Fields)> matches{sameMember<Fields::kMember, Member>()...};
    return static_cast<size_t>(std::find(matches.begin(), matches.end(), true) - matches.begin());
}

template <auto Member, class... Fields> struct FieldFor {
    static constexpr size_t kIndex = indexOfField<Member, Fields...>();
    static_assert(kIndex < sizeof...(Fields), "no field of this record holds that member");
    using type = std::tuple_element_t<kIndex, std::tuple<Fields...>>;
};

} // namespace detail

template <class Struct, size_t Size, class... Fields> class RecordLayout {
    static_assert((std::is_same_v<typename Fields::Struct, Struct> && ...),
                  "every field is a member of the record's struct");
    static_assert(detail::fieldsInOrderWithoutOverlap<Fields...>(),
                  "fields are listed by offset and do not overlap");
    static_assert(detail::fieldsInsideRecord<Size, Fields...>(), "fields lie inside the record");
    static_assert(detail::fieldsAligned<Fields...>(), "fields sit at aligned offsets");

public:
    using Value = Struct;
    static constexpr size_t kSize = Size;
    static constexpr size_t kAlignment = std::max({size_t{1}, Fields::Codec::kAlignment...});

    // Writes all kSize bytes the way the kernel fills a record: zero first, so padding
    // and the fields nobody reads stay 0, then every field.
    static void encode(const Struct& value, void* record) {
        auto* bytes = static_cast<unsigned char*>(record);
        std::memset(bytes, 0, Size);
        (Fields::encode(value, bytes), ...);
    }

    static Struct decode(const void* record) {
        const auto* bytes = static_cast<const unsigned char*>(record);
        Struct value{};
        (Fields::decode(bytes, value), ...);
        return value;
    }

    // Records back to back, the way the kernel hands out a table of them.
    static std::vector<unsigned char> encodeTable(std::span<const Struct> values) {
        std::vector<unsigned char> table(values.size() * Size);
        for (size_t i = 0; i < values.size(); ++i) {
            encode(values[i], table.data() + i * Size);
        }
        return table;
    }

    template <auto Member> using FieldOf = typename detail::FieldFor<Member, Fields...>::type;

    // One field straight from a raw record, for a reader that needs no other.
    template <auto Member> static auto read(const void* record) {
        return FieldOf<Member>::read(record);
    }
    template <auto Member> static constexpr size_t sizeOf() {
        return FieldOf<Member>::Codec::kSize;
    }
};

} // namespace darwin
