#pragma once

#include "platform/darwin/FieldCodecs.h"

#include <cstddef>

namespace darwin {

namespace detail {

template <class> struct MemberPointer;
template <class S, class V> struct MemberPointer<V S::*> {
    using Struct = S;
    using Value = V;
};

} // namespace detail

// One row of a RecordLayout: the member of the decoded struct, the byte offset of its
// field in the record (within the enclosing record, for a nested one) and its codec.
template <auto Member, size_t Offset,
          class FieldCodec = DefaultCodec<typename detail::MemberPointer<decltype(Member)>::Value>>
struct Field {
    using Struct = typename detail::MemberPointer<decltype(Member)>::Struct;
    using Value = typename detail::MemberPointer<decltype(Member)>::Value;
    using Codec = FieldCodec;
    static_assert(std::is_same_v<typename Codec::Value, Value>,
                  "the codec holds the member's type");

    static constexpr auto kMember = Member;
    static constexpr size_t kOffset = Offset;
    static constexpr size_t kEnd = Offset + Codec::kSize;

    static void encode(const Struct& value, unsigned char* record) {
        Codec::encode(value.*Member, record + Offset);
    }
    static void decode(const unsigned char* record, Struct& value) {
        value.*Member = Codec::decode(record + Offset);
    }
    static Value read(const void* record) {
        return Codec::decode(static_cast<const unsigned char*>(record) + Offset);
    }
};

} // namespace darwin
