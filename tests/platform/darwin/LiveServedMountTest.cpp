// File systems whose server stalls, in a private mount namespace (root): the mount table
// never waits on them. Suites named LiveHost* carry the CTest label "live".
#include "FuseTestServer.h"

#include "platform/darwin/Statfs.h"
#include "platform/darwin/linux/MountTable.h"
#include "support/PrivateMountNamespace.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <linux/loop.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

using namespace darwin;

namespace {

// A loop device over `image` that goes by itself once nothing holds it; `held` keeps it
// until the caller has mounted it. Empty with `error` set on failure. Another process
// may take the free device first: then the next one is tried.
std::string attachLoopDevice(const std::string& image, int& held, std::string& error) {
    const int backing = ::open(image.c_str(), O_RDWR | O_CLOEXEC);
    const int control = ::open("/dev/loop-control", O_RDWR | O_CLOEXEC);
    std::string device;
    for (int attempt = 0; attempt < 20 && device.empty() && backing >= 0 && control >= 0;
         ++attempt) {
        const int number = ::ioctl(control, LOOP_CTL_GET_FREE);
        const std::string path = "/dev/loop" + std::to_string(number);
        held = number < 0 ? -1 : ::open(path.c_str(), O_RDWR | O_CLOEXEC);
        loop_config config{};
        config.fd = static_cast<uint32_t>(backing);
        config.info.lo_flags = LO_FLAGS_AUTOCLEAR;
        if (held >= 0 && ::ioctl(held, LOOP_CONFIGURE, &config) == 0) {
            device = path;
        } else if (held >= 0) {
            ::close(held);
            held = -1;
        }
    }
    error = device.empty() ? "loop device: " + std::string(std::strerror(errno)) : "";
    for (const int fd : {backing, control}) {
        if (fd >= 0) {
            ::close(fd);
        }
    }
    return device;
}

// The processes this one started that are still there (servers and workers).
size_t childCount() {
    const std::string pid = std::to_string(::getpid());
    std::ifstream file("/proc/" + pid + "/task/" + pid + "/children");
    size_t count = 0;
    for (std::string child; file >> child;) {
        ++count;
    }
    return count;
}

// One line a mount under `dir`: its mount point relative to dir, type, blocks × block
// size, and whether it is local.
std::string linesUnder(const std::vector<StatfsRecord>& records, const std::string& dir) {
    std::string lines;
    for (const StatfsRecord& record : records) {
        if (record.mntonname.starts_with(dir + "/")) {
            lines += record.mntonname.substr(dir.size()) + " " + record.fstypename + " " +
                     std::to_string(record.blocks) + "x" + std::to_string(record.bsize) +
                     ((record.flags & MNT_LOCAL) != 0 ? " local" : "") + "\n";
        }
    }
    return lines;
}

// A FUSE file system answering (with a tmpfs within it), then stalled, beside a fuseblk
// one stalled from the start. Ends every server and reaps every worker before it returns.
std::string stallServers(const std::string& dir) {
    const std::string fuse = dir + "/fuse";
    const std::string fuseblk = dir + "/fuseblk";
    std::string error;
    std::unique_ptr<FuseTestServer> answering = FuseTestServer::mount(fuse, "", false, error);
    if (!answering || ::mount("tmpfs", (fuse + "/sub").c_str(), "tmpfs", 0, "size=1m") != 0) {
        return "no fuse mount: " + error + std::strerror(errno);
    }
    std::ostringstream report;
    // The server answers at once; the long deadline only bounds a broken run.
    const MountTable patient("/", std::chrono::seconds(30));
    report << "answering\n"
           << linesUnder(patient.records(false).value_or(std::vector<StatfsRecord>()), dir);

    int held = -1;
    const std::string device = attachLoopDevice(dir + "/blocks.img", held, error);
    std::unique_ptr<FuseTestServer> stalled =
        device.empty() ? nullptr : FuseTestServer::mount(fuseblk, device, true, error);
    if (held >= 0) {
        ::close(held);
    }
    if (!stalled) {
        return "no fuseblk mount: " + error;
    }
    answering->stall();
    const size_t servers = childCount();
    size_t mostWorkers = 0;
    std::vector<StatfsRecord> records;
    for (int call = 0; call < 4; ++call) {
        records = MountTable("/").records(false).value_or(std::vector<StatfsRecord>());
        mostWorkers = std::max(mostWorkers, childCount() - servers);
    }
    // The two stalled servers hold a worker each; the lookup of sub may hold a third.
    const bool onePerMountPoint = mostWorkers >= 2 && mostWorkers <= 3;
    report << "stalled\n"
           << linesUnder(records, dir) << "workers: "
           << (onePerMountPoint ? "one per mount point" : std::to_string(mostWorkers)) << "\n";

    answering.reset();
    stalled.reset();
    while (::waitpid(-1, nullptr, 0) > 0 || errno == EINTR) {
    }
    return report.str();
}

} // namespace

TEST(LiveHostServedMounts, StalledFuseServersNeverBlockTheMountTable) {
    const std::string dir = testenv::makeTempDir("served-mounts").toStdString();
    for (const char* sub : {"/fuse", "/fuseblk"}) {
        ASSERT_EQ(::mkdir((dir + sub).c_str(), 0755), 0);
    }
    std::ofstream(dir + "/blocks.img").flush();
    ASSERT_EQ(::truncate((dir + "/blocks.img").c_str(), 1 << 20), 0);

    const PrivateMountNamespace::Outcome outcome =
        PrivateMountNamespace::run([&dir] { return stallServers(dir); });
    if (outcome.skips()) {
        GTEST_SKIP() << "no private mount namespace: " << outcome.text;
    }
    ASSERT_EQ(outcome.kind, PrivateMountNamespace::Outcome::Kind::Ran) << outcome.text;
    // A stalled server keeps the sizes it last gave; one that never answered shows
    // zeros. fuseblk sits on a local disk. At most one worker waits per mount point.
    const std::string sizes = std::to_string(FuseTestServer::kBlocks) + "x" +
                              std::to_string(FuseTestServer::kFragmentSize);
    EXPECT_EQ(outcome.text, "answering\n"
                            "/fuse fuse " +
                                sizes +
                                "\n"
                                "/fuse/sub tmpfs 256x4096\n"
                                "stalled\n"
                                "/fuse fuse " +
                                sizes +
                                "\n"
                                "/fuse/sub tmpfs 256x4096\n"
                                "/fuseblk fuseblk 0x0 local\n"
                                "workers: one per mount point\n");
}
