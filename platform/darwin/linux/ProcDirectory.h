#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace darwin {

// A directory whose files are read by name, relative to its descriptor: the /proc tree,
// or one process's directory in it. A process's directory stays bound to the process it
// was opened for: once that process is gone, its files fail to open or read (ENOENT,
// ESRCH) even when the pid has been given to a new process meanwhile. Nothing follows
// symbolic links. Move-only; closes its descriptor.
class ProcDirectory {
public:
    static ProcDirectory open(const std::string& path);
    ProcDirectory openSubdirectory(const char* name) const;

    ProcDirectory(ProcDirectory&& other) noexcept;
    ProcDirectory& operator=(ProcDirectory&& other) noexcept;
    ~ProcDirectory();

    bool isOpen() const { return fd_ >= 0; }
    int fd() const { return fd_; }

    // The whole file, read into buffer (its capacity is reused from call to call); files
    // longer than the buffer are read to their end. False with errno when the file cannot
    // be opened or read; an empty file counts as vanished (ESRCH).
    bool readFile(const char* name, std::string& buffer) const;

    // The entries whose names are process ids, ascending; null (errno set) when the
    // directory cannot be listed.
    std::optional<std::vector<int32_t>> pids() const;

private:
    explicit ProcDirectory(int fd) : fd_(fd) {}
    int fd_ = -1;
};

} // namespace darwin
