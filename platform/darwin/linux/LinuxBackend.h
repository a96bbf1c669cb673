#pragma once

#include "platform/darwin/Backend.h"

#include <optional>
#include <string>
#include <vector>

namespace darwin {

class SysctlRequest;

// Answers the device's interface from the running Linux host. Every host file is read
// under root, so tests can point it at a fake tree holding proc/ and run/ files.
// Known sysctl nodes: {CTL_KERN, KERN_BOOTTIME} from the btime of /proc/stat and
// {CTL_VM, VM_LOADAVG} from /proc/loadavg. The accounting file /var/run/utmpx is made
// from the host's utmp or logind sessions; other paths open under root, read-only.
class LinuxBackend : public Backend {
public:
    explicit LinuxBackend(std::string root = "/");

    const std::string& root() const { return root_; }

    int sysctl(const int* name, unsigned namelen, void* oldp, size_t* oldlenp, const void* newp,
               size_t newlen) override;
    std::time_t time() override;
    FILE* fopen(const char* path, const char* mode) override;
    int stat(const char* path, struct ::stat* st) override;

private:
    using Value = std::optional<std::vector<unsigned char>>; // null: errno tells why
    using Producer = Value (LinuxBackend::*)() const;

    static Producer producerFor(const std::vector<int>& mib);
    Value bootTime() const;
    Value loadAverage() const;
    std::optional<std::string> hostFile(const char* path) const;

    std::string root_;
};

} // namespace darwin
