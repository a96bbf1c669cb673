#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <span>

namespace darwin {

// The attributes (struct rtattr, or nlattr of a nested set) of one netlink message, by
// type. Only types below kTypes are kept, which covers every attribute the backend
// reads; all are checked. A later attribute of a type replaces an earlier one.
class NetlinkAttributes {
public:
    static constexpr size_t kTypes = 32;
    using Bytes = std::span<const unsigned char>;

    // Walks the attributes in `bytes`; false when one is malformed: its length below
    // the 4-byte attribute header (0 included) or past the end of `bytes`.
    bool parse(Bytes bytes);

    bool has(uint16_t type) const { return type < kTypes && (present_ >> type & 1) != 0; }
    // The attribute's payload, empty when absent.
    Bytes operator[](uint16_t type) const { return has(type) ? found_[type] : Bytes{}; }

    // A host-order integer attribute of exactly that width; nothing when absent or of
    // another width.
    template <class T> std::optional<T> integer(uint16_t type) const {
        const Bytes bytes = (*this)[type];
        if (bytes.size() != sizeof(T)) {
            return std::nullopt;
        }
        T value;
        std::memcpy(&value, bytes.data(), sizeof value);
        return value;
    }

private:
    // Only the types in present_ hold a payload of this message in found_: a parse
    // clears one word, not the whole table.
    uint32_t present_ = 0;
    std::array<Bytes, kTypes> found_{};
};

} // namespace darwin
