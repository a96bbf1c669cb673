#include "platform/darwin/linux/AccountNames.h"

#include "platform/darwin/linux/TextFields.h"

#include "platform/darwin/linux/HostFile.h"

#include <grp.h>
#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

namespace darwin {

namespace {

constexpr size_t kMaxEntryBuffer = 1 << 20;

size_t initialBufferSize(int which) {
    const long suggested = ::sysconf(which);
    return suggested > 0 ? static_cast<size_t>(suggested) : 1024;
}

// Runs a re-entrant lookup (getpwuid_r, getgrgid_r) with a buffer grown while the entry
// does not fit, and returns the name it found.
template <class Entry, class Lookup, class NameOf>
std::optional<std::string> lookUpName(int sizeHint, Lookup lookup, NameOf nameOf) {
    std::vector<char> buffer(initialBufferSize(sizeHint));
    for (;;) {
        Entry entry{};
        Entry* found = nullptr;
        const int error = lookup(&entry, buffer.data(), buffer.size(), &found);
        if (error == ERANGE && buffer.size() < kMaxEntryBuffer) {
            buffer.resize(buffer.size() * 2);
        } else if (error != 0 || found == nullptr || nameOf(*found) == nullptr) {
            return std::nullopt;
        } else {
            return std::string(nameOf(*found));
        }
    }
}

std::string_view nextColonField(std::string_view& line) {
    const size_t colon = line.find(':');
    const std::string_view field = line.substr(0, colon);
    line.remove_prefix(colon == std::string_view::npos ? line.size() : colon + 1);
    return field;
}

} // namespace

AccountNames::AccountNames(std::string root) : root_(std::move(root)) {}

std::optional<std::string> AccountNames::userName(uint32_t uid) const {
    if (!isHostRoot()) {
        return nameInRootFile("/etc/passwd", uid);
    }
    return lookUpName<struct passwd>(
        _SC_GETPW_R_SIZE_MAX,
        [uid](passwd* entry, char* buffer, size_t size, passwd** found) {
            return ::getpwuid_r(uid, entry, buffer, size, found);
        },
        [](const passwd& entry) { return entry.pw_name; });
}

std::optional<std::string> AccountNames::groupName(uint32_t gid) const {
    if (!isHostRoot()) {
        return nameInRootFile("/etc/group", gid);
    }
    return lookUpName<struct group>(
        _SC_GETGR_R_SIZE_MAX,
        [gid](group* entry, char* buffer, size_t size, group** found) {
            return ::getgrgid_r(gid, entry, buffer, size, found);
        },
        [](const group& entry) { return entry.gr_name; });
}

std::optional<std::string> AccountNames::nameInFile(std::string_view content, uint32_t id) {
    while (!content.empty()) {
        std::string_view line = nextLine(content);
        const std::string_view name = nextColonField(line);
        nextColonField(line); // password
        const std::optional<uint32_t> value = parseNumber<uint32_t>(nextColonField(line));
        if (!name.empty() && name.front() != '#' && value == id) {
            return std::string(name);
        }
    }
    return std::nullopt;
}

bool AccountNames::isHostRoot() const {
    return pathUnderRoot(root_, "/") == "/";
}

std::optional<std::string> AccountNames::nameInRootFile(const char* path, uint32_t id) const {
    const std::optional<std::string> content = readHostFile(pathUnderRoot(root_, path));
    if (!content) {
        return std::nullopt;
    }
    return nameInFile(*content, id);
}

} // namespace darwin
