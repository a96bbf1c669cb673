#include "platform/darwin/linux/MountInfo.h"

#include "platform/darwin/linux/TextFields.h"

#include <algorithm>

namespace darwin {

namespace {

bool parseDevice(std::string_view field, MountInfoEntry& entry) {
    const size_t colon = field.find(':');
    return colon != std::string_view::npos && parseNumber(field.substr(0, colon), entry.major) &&
           parseNumber(field.substr(colon + 1), entry.minor);
}

bool isOctal(char c) {
    return c >= '0' && c <= '7';
}

// Fields 1 to 6, then the optional fields up to the "-" separator, then the last three.
bool parseLine(std::string_view line, MountInfoEntry& entry) {
    if (!parseNumber(nextField(line), entry.id) || !parseNumber(nextField(line), entry.parentId) ||
        !parseDevice(nextField(line), entry)) {
        return false;
    }
    nextField(line); // the root of the mount within its file system
    entry.mountPoint = unescapeMountField(nextField(line));
    entry.mountOptions = std::string(nextField(line));
    for (std::string_view field = nextField(line); field != "-"; field = nextField(line)) {
        if (field.empty()) {
            return false;
        }
    }
    entry.type = std::string(nextField(line));
    entry.source = unescapeMountField(nextField(line));
    entry.superOptions = std::string(nextField(line));
    return !entry.mountPoint.empty() && !entry.type.empty();
}

// Calls visit with each option of the list until it returns true; whether one did.
template <class Visit> bool anyMountOption(std::string_view options, Visit visit) {
    while (!options.empty()) {
        const size_t comma = std::min(options.find(','), options.size());
        if (visit(options.substr(0, comma))) {
            return true;
        }
        options.remove_prefix(comma == options.size() ? comma : comma + 1);
    }
    return false;
}

} // namespace

std::vector<MountInfoEntry> parseMountInfo(std::string_view text) {
    std::vector<MountInfoEntry> entries;
    while (!text.empty()) {
        const std::string_view line = nextLine(text);
        MountInfoEntry entry;
        if (parseLine(line, entry)) {
            entries.push_back(std::move(entry));
        }
    }
    return entries;
}

std::string unescapeMountField(std::string_view field) {
    std::string text;
    text.reserve(field.size());
    for (size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() && field[i + 1] >= '0' &&
            field[i + 1] <= '3' && isOctal(field[i + 2]) && isOctal(field[i + 3])) {
            text += static_cast<char>((field[i + 1] - '0') << 6 | (field[i + 2] - '0') << 3 |
                                      (field[i + 3] - '0'));
            i += 3;
        } else {
            text += field[i];
        }
    }
    return text;
}

bool hasMountOption(std::string_view options, std::string_view word) {
    const bool anyValue = !word.empty() && word.back() == '=';
    return anyMountOption(options, [&](std::string_view option) {
        return anyValue ? option.starts_with(word) : option == word;
    });
}

std::optional<std::string_view> mountOptionValue(std::string_view options, std::string_view name) {
    std::optional<std::string_view> value;
    anyMountOption(options, [&](std::string_view option) {
        if (option.size() > name.size() && option.starts_with(name) && option[name.size()] == '=') {
            value = option.substr(name.size() + 1);
        }
        return value.has_value();
    });
    return value;
}

} // namespace darwin
