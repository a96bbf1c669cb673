// The Disk tab's model against df, in a private mount namespace (root) with bind mounts
// and a disk image of its own: labelled "live" in CTest.
#include "memdisk/DiskStatus.h"
#include "platform/darwin/Darwin.h"
#include "platform/darwin/linux/LinuxBackend.h"
#include "platform/services/PlatformProfile.h"
#include "support/PrivateMountNamespace.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <sys/mount.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>

namespace {

// What df lists of the types the Disk tab shows (it leaves out other pseudo and
// overlay file systems too): "mount point, size in KiB" a line. df -l leaves out
// network file systems, which the tab does not list either.
std::string dfListing() {
    FILE* df = ::popen("df -l -x tmpfs -x devtmpfs --output=fstype,size,target | tail -n +2", "r");
    std::string listing;
    char line[4096];
    while (df != nullptr && std::fgets(line, sizeof line, df) != nullptr) {
        std::istringstream fields(line);
        std::string type, size, target;
        fields >> type >> size >> std::ws;
        std::getline(fields, target);
        if (services::PlatformProfile::isListedFileSystemType(QString::fromStdString(type))) {
            listing += target + " " + size + "\n";
        }
    }
    if (df != nullptr) {
        ::pclose(df);
    }
    return listing;
}

std::string diskTabListing() {
    darwin::install(std::make_shared<darwin::LinuxBackend>("/"));
    DiskStatus* status = DiskStatus::sharedInstance();
    status->snapshot();
    std::string listing;
    for (const DiskInfo& disk : status->info()) {
        listing += disk.mounted().toStdString() + " " + std::to_string(disk.size()) + "\n";
    }
    return listing;
}

bool bindMount(const std::string& from, const std::string& to) {
    return ::mount(from.c_str(), to.c_str(), nullptr, MS_BIND, nullptr) == 0;
}

// The disk image mounted on a long name, then bound on a shorter one (which df names)
// and its subdirectory bound on a name shorter still (which df leaves out); / bound
// into the directory as `ip netns` does. Both listings, a blank line between.
std::string listWithBinds(const std::string& dir) {
    const std::string disk = dir + "/disk-mounted-on-a-long-name";
    const std::string mountDisk = "mount -o loop " + dir + "/disk.img " + disk;
    if (std::system(mountDisk.c_str()) != 0 || ::mkdir((disk + "/sub").c_str(), 0755) != 0 ||
        !bindMount(disk + "/sub", dir + "/s") || !bindMount(disk, dir + "/disk") ||
        !bindMount("/", dir + "/netns")) {
        return std::string("mounting failed: ") + std::strerror(errno);
    }
    return diskTabListing() + "\n" + dfListing();
}

} // namespace

TEST(LiveHostDiskStatus, ListsTheFileSystemsDfListsOnceEachWithDfsSizes) {
    const std::string dir = testenv::makeTempDir("disk-binds").toStdString();
    for (const char* sub : {"/disk-mounted-on-a-long-name", "/s", "/disk", "/netns"}) {
        ASSERT_EQ(::mkdir((dir + sub).c_str(), 0755), 0);
    }
    const std::string makeImage = "truncate -s 8M " + dir +
                                  "/disk.img && PATH=$PATH:/usr/sbin:/sbin "
                                  "mkfs.ext2 -q -F " +
                                  dir + "/disk.img";
    ASSERT_EQ(std::system(makeImage.c_str()), 0) << "e2fsprogs (tools/setup/packages-test.txt)";

    const PrivateMountNamespace::Outcome outcome =
        PrivateMountNamespace::run([&dir] { return listWithBinds(dir); });
    if (outcome.skips()) {
        GTEST_SKIP() << "no private mount namespace: " << outcome.text;
    }
    ASSERT_EQ(outcome.kind, PrivateMountNamespace::Outcome::Kind::Ran) << outcome.text;
    const size_t blank = outcome.text.find("\n\n");
    ASSERT_NE(blank, std::string::npos) << outcome.text;
    const std::string diskTab = outcome.text.substr(0, blank + 1);
    const std::string df = outcome.text.substr(blank + 2);
    EXPECT_EQ(diskTab, df);
    EXPECT_NE(diskTab.find(dir + "/disk "), std::string::npos) << diskTab;
    EXPECT_EQ(diskTab.find(dir + "/netns"), std::string::npos) << diskTab;
}
