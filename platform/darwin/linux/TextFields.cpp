#include "platform/darwin/linux/TextFields.h"

namespace darwin {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}

} // namespace

std::string_view nextLine(std::string_view& text) {
    const size_t end = text.find('\n');
    const std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    return line;
}

std::string_view nextField(std::string_view& text) {
    size_t start = 0;
    while (start < text.size() && isBlank(text[start])) {
        ++start;
    }
    size_t end = start;
    while (end < text.size() && !isBlank(text[end])) {
        ++end;
    }
    const std::string_view field = text.substr(start, end - start);
    text.remove_prefix(end);
    return field;
}

} // namespace darwin
