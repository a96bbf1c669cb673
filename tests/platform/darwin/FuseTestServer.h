#pragma once

#include <sys/types.h>

#include <cstdint>
#include <memory>
#include <string>

// A FUSE file system for tests, served straight over /dev/fuse by a child process (no
// libfuse): its root holds one directory, "sub", whose name the kernel asks about on
// every path through it. It answers until told to stall; from then on it takes every
// request and never answers, as a wedged server does, and whoever asks waits in the
// kernel, past any signal. Ending the server (its destructor) ends the connection:
// every waiting call then fails with ENOTCONN. Needs root.
class FuseTestServer {
public:
    // Its answer to statfs.
    static constexpr uint64_t kBlocks = 1000;
    static constexpr uint64_t kBlocksFree = 300;
    static constexpr uint64_t kBlocksAvailable = 200;
    static constexpr uint32_t kFragmentSize = 2048;

    // Mounts a "fuse" file system on mountPoint, or a "fuseblk" one over blockDevice
    // when given; null with `error` set when that fails. `stalled` stalls it at once
    // (after the kernel's INIT, which the mount needs).
    static std::unique_ptr<FuseTestServer> mount(const std::string& mountPoint,
                                                 const std::string& blockDevice, bool stalled,
                                                 std::string& error);
    ~FuseTestServer();
    FuseTestServer(const FuseTestServer&) = delete;
    FuseTestServer& operator=(const FuseTestServer&) = delete;

    void stall();

private:
    FuseTestServer(pid_t server, int control) : server_(server), control_(control) {}

    pid_t server_;
    int control_; // a byte written here stalls the server
};
