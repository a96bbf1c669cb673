#pragma once

#include <charconv>
#include <optional>
#include <string_view>

// Reading the host's text files (/proc, /etc/passwd, mountinfo): lines, blank-separated
// fields and whole-field numbers, without the locale.
namespace darwin {

// The next line of text (without its newline), taken off the front of text.
std::string_view nextLine(std::string_view& text);

// The next field of blank-separated text (spaces, tabs, newlines), taken off its front;
// empty at the end.
std::string_view nextField(std::string_view& text);

// The number a whole field spells in decimal, or nothing for an empty field, other
// characters or a value out of T's range.
template <class T> std::optional<T> parseNumber(std::string_view field) {
    T value{};
    const char* end = field.data() + field.size();
    const auto [stop, error] = std::from_chars(field.data(), end, value);
    if (field.empty() || error != std::errc() || stop != end) {
        return std::nullopt;
    }
    return value;
}

// The same into `out`, which a field that is no number leaves as it was.
template <class T> bool parseNumber(std::string_view field, T& out) {
    const std::optional<T> value = parseNumber<T>(field);
    out = value.value_or(out);
    return value.has_value();
}

} // namespace darwin
