#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace darwin {

// The kernel's and the system's names as the host describes them under root: the
// uname(2) strings from /proc/sys/kernel (the same text, but readable under a fake
// root) and the system's build from os-release(5). A value the host does not have is
// nothing, with errno set (ENOENT: no source, EIO: garbled).
class KernelValues {
public:
    explicit KernelValues(std::string root);

    std::optional<std::string> ostype() const;    // "Linux"
    std::optional<std::string> osrelease() const; // "6.1.0-13-amd64"
    std::optional<std::string> version() const;   // "#1 SMP PREEMPT_DYNAMIC …"
    std::optional<std::string> hostname() const;
    // The release as one number, major × 10000 + minor × 100 + patch ("6.1.55" → 60155).
    std::optional<int32_t> osrevision() const;
    // The system's build: os-release BUILD_ID, else VERSION_ID, else PRETTY_NAME.
    std::optional<std::string> osversion() const;

    // The revision number of a release string, or nothing when it does not begin with
    // "major.minor"; parts past 99 are cut to 99.
    static std::optional<int32_t> revisionOf(std::string_view release);

private:
    std::optional<std::string> kernelString(std::string_view name) const;

    std::string root_;
};

} // namespace darwin
