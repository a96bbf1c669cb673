#include "platform/darwin/linux/KernelValues.h"

#include "platform/darwin/linux/EnvironmentFile.h"
#include "platform/darwin/linux/HostFile.h"
#include "platform/darwin/linux/TextFields.h"

#include <algorithm>
#include <cerrno>
#include <charconv>

namespace darwin {

namespace {

// The leading decimal digits of text, taken off its front.
std::optional<uint32_t> leadingNumber(std::string_view& text) {
    uint32_t value = 0;
    const auto [stop, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc()) {
        return std::nullopt;
    }
    text.remove_prefix(static_cast<size_t>(stop - text.data()));
    return value;
}

} // namespace

KernelValues::KernelValues(std::string root) : root_(std::move(root)) {}

std::optional<std::string> KernelValues::kernelString(std::string_view name) const {
    std::optional<std::string> text =
        readHostFile(pathUnderRoot(root_, "/proc/sys/kernel/" + std::string(name)));
    if (text && text->ends_with('\n')) {
        text->pop_back();
    }
    return text;
}

std::optional<std::string> KernelValues::ostype() const {
    return kernelString("ostype");
}

std::optional<std::string> KernelValues::osrelease() const {
    return kernelString("osrelease");
}

std::optional<std::string> KernelValues::version() const {
    return kernelString("version");
}

std::optional<std::string> KernelValues::hostname() const {
    return kernelString("hostname");
}

std::optional<int32_t> KernelValues::osrevision() const {
    const std::optional<std::string> release = osrelease();
    if (!release) {
        return std::nullopt;
    }
    const std::optional<int32_t> revision = revisionOf(*release);
    if (!revision) {
        errno = EIO;
    }
    return revision;
}

std::optional<int32_t> KernelValues::revisionOf(std::string_view release) {
    const std::optional<uint32_t> major = leadingNumber(release);
    if (!major || !release.starts_with('.')) {
        return std::nullopt;
    }
    release.remove_prefix(1);
    const std::optional<uint32_t> minor = leadingNumber(release);
    if (!minor) {
        return std::nullopt;
    }
    uint32_t patch = 0;
    if (release.starts_with('.')) {
        release.remove_prefix(1);
        patch = leadingNumber(release).value_or(0);
    }
    return static_cast<int32_t>(std::min(*major, 20000u) * 10000 + std::min(*minor, 99u) * 100 +
                                std::min(patch, 99u));
}

std::optional<std::string> KernelValues::osversion() const {
    const std::optional<std::string> text = readOsRelease(root_);
    if (!text) {
        return std::nullopt;
    }
    const Assignments release = parseAssignments(*text);
    for (const char* key : {"BUILD_ID", "VERSION_ID", "PRETTY_NAME"}) {
        if (std::optional<std::string> value = assignedValue(release, key)) {
            return value;
        }
    }
    errno = ENOENT;
    return std::nullopt;
}

} // namespace darwin
