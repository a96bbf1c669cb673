#include "platform/darwin/linux/MountInfo.h"

#include "platform/darwin/linux/TextFields.h"

#include <algorithm>
#include <map>

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
    entry.root = unescapeMountField(nextField(line));
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

// One file system: btrfs mounts of different subvolumes share the device number, but
// each subvolume has its own as files on it show (stat's st_dev).
struct FileSystemId {
    uint32_t major = 0;
    uint32_t minor = 0;
    std::string_view subvolume;

    auto operator<=>(const FileSystemId&) const = default;
};

FileSystemId fileSystemOf(const MountInfoEntry& mount) {
    const std::optional<std::string_view> subvolume =
        mount.type == "btrfs" ? mountOptionValue(mount.superOptions, "subvolid") : std::nullopt;
    return {mount.major, mount.minor, subvolume.value_or("")};
}

bool isRemoteSource(std::string_view source) {
    return source.find(':') != std::string_view::npos || source.starts_with("//");
}

bool namesDevice(std::string_view source) {
    return source.find('/') != std::string_view::npos;
}

// Whether `later`, another mount of the file system `kept` is shown for, is shown instead.
bool takesThePlaceOf(const MountInfoEntry& later, const MountInfoEntry& kept) {
    const bool nearerTheTop = later.mountPoint.size() < kept.mountPoint.size();
    const bool deeperInTheFileSystem = kept.root.size() < later.root.size();
    return (namesDevice(later.source) && !namesDevice(kept.source)) ||
           (nearerTheTop && !deeperInTheFileSystem) ||
           (later.source != kept.source && later.mountPoint == kept.mountPoint);
}

} // namespace

std::vector<size_t> oneMountPerFileSystem(const std::vector<const MountInfoEntry*>& mounts) {
    std::map<FileSystemId, size_t> shownAt; // file system → index into `shown`
    std::vector<size_t> shown;
    for (size_t i = 0; i < mounts.size(); ++i) {
        const MountInfoEntry& mount = *mounts[i];
        const auto [seen, first] = shownAt.try_emplace(fileSystemOf(mount), shown.size());
        if (first) {
            shown.push_back(i);
            continue;
        }
        const MountInfoEntry& kept = *mounts[shown[seen->second]];
        if (isRemoteSource(mount.source) && isRemoteSource(kept.source) &&
            mount.source != kept.source) {
            seen->second = shown.size(); // later mounts compare with the latest kept, as df's
            shown.push_back(i);
        } else if (takesThePlaceOf(mount, kept)) {
            shown[seen->second] = i;
        }
    }
    return shown;
}

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
