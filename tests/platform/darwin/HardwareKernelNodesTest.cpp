// The hardware and kernel identification nodes: the Linux backend over a laptop's and a
// phone's fake roots, its 64-bit answers, and the same nodes live.
#include "BackendReads.h"

#include "platform/darwin/ByteOrder.h"
#include "platform/darwin/Sysctl.h"
#include "platform/darwin/linux/EnvironmentFile.h"
#include "platform/darwin/linux/HardwareValues.h"
#include "platform/darwin/linux/KernelValues.h"
#include "platform/darwin/linux/LinuxBackend.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <sys/utsname.h>
#include <unistd.h>

#include <climits>
#include <filesystem>
#include <fstream>

using namespace darwin;
using namespace backendreads;

namespace {

std::string identityRoot(const char* name) {
    return testenv::fixturePath(name).toStdString();
}

// The node's whole value through a size probe, as a string without its NUL; the NUL
// must be the last byte.
std::optional<std::string> nodeString(Backend& backend, const std::vector<int>& mib) {
    const std::optional<Bytes> bytes = sysctlValue(backend, mib);
    if (!bytes || bytes->empty() || bytes->back() != 0) {
        return std::nullopt;
    }
    return std::string(bytes->begin(), bytes->end() - 1);
}

// A read into a buffer of `room` bytes: the bytes answered, or the errno.
struct SizedRead {
    Bytes bytes;
    int error = 0;
};

SizedRead readInto(Backend& backend, const std::vector<int>& mib, size_t room) {
    SizedRead read{Bytes(room), 0};
    size_t length = room;
    errno = 0;
    if (backend.sysctl(mib.data(), 2, read.bytes.data(), &length, nullptr, 0) != 0) {
        return {{}, errno};
    }
    read.bytes.resize(length);
    return read;
}

int errorOf(Backend& backend, const std::vector<int>& mib) {
    return readInto(backend, mib, 64).error;
}

int32_t int32Of(Backend& backend, const std::vector<int>& mib) {
    const SizedRead read = readInto(backend, mib, 4);
    EXPECT_EQ(read.bytes.size(), 4u) << mib[0] << "," << mib[1] << " errno " << read.error;
    return read.bytes.size() == 4 ? readLE<int32_t>(read.bytes.data(), 0) : -1;
}

int64_t int64Of(Backend& backend, const std::vector<int>& mib) {
    const SizedRead read = readInto(backend, mib, 8);
    EXPECT_EQ(read.bytes.size(), 8u) << mib[0] << "," << mib[1] << " errno " << read.error;
    return read.bytes.size() == 8 ? readLE<int64_t>(read.bytes.data(), 0) : -1;
}

constexpr int64_t kSixteenGiB = int64_t{16} << 30;

} // namespace

TEST(LinuxBackendIdentity, StringsOfALaptopAndAPhone) {
    LinuxBackend laptop(identityRoot("linux-root-laptop"));
    LinuxBackend phone(identityRoot("linux-root-phone"));
    const struct {
        LinuxBackend& backend;
        std::vector<int> mib;
        std::string value;
        const char* why;
    } cases[] = {
        {laptop, {CTL_HW, HW_MACHINE}, "LENOVO 20XWCTO1WW", "DMI vendor and product"},
        {laptop, {CTL_HW, HW_MODEL}, "LENOVO 20XW0055GE", "DMI board"},
        {phone, {CTL_HW, HW_MACHINE}, "pine64,pinephone-1.2", "first compatible entry"},
        {phone, {CTL_HW, HW_MODEL}, "Pine64 PinePhone (1.2)", "device tree model"},
        {laptop, {CTL_KERN, KERN_OSTYPE}, "Linux", "newline dropped"},
        {laptop, {CTL_KERN, KERN_OSRELEASE}, "6.1.0-13-amd64", ""},
        {laptop,
         {CTL_KERN, KERN_VERSION},
         "#1 SMP PREEMPT_DYNAMIC Debian 6.1.55-1 (2023-09-29)",
         ""},
        {laptop, {CTL_KERN, KERN_HOSTNAME}, "thinkpad", ""},
        {laptop, {CTL_KERN, KERN_OSVERSION}, "12", "VERSION_ID without a BUILD_ID"},
        {phone, {CTL_KERN, KERN_OSVERSION}, "v23.12.1", "BUILD_ID, from /usr/lib/os-release"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(nodeString(c.backend, c.mib), c.value)
            << c.mib[0] << "," << c.mib[1] << ": " << c.why;
    }
    const std::optional<Bytes> machine = sysctlValue(phone, "hw.machine");
    ASSERT_TRUE(machine);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(machine->data())), "pine64,pinephone-1.2");
}

TEST(LinuxBackendIdentity, IntegersOfALaptopAndAPhone) {
    LinuxBackend laptop(identityRoot("linux-root-laptop"));
    LinuxBackend phone(identityRoot("linux-root-phone"));
    const struct {
        LinuxBackend& backend;
        std::vector<int> mib;
        int32_t value;
    } cases[] = {
        {laptop, {CTL_HW, HW_NCPU}, 8},
        {laptop, {CTL_HW, HW_AVAILCPU}, 8},
        {phone, {CTL_HW, HW_NCPU}, 4},
        {laptop, {CTL_HW, HW_BYTEORDER}, std::endian::native == std::endian::little ? 1234 : 4321},
        {laptop, {CTL_HW, HW_PAGESIZE}, static_cast<int32_t>(::sysconf(_SC_PAGESIZE))},
        {laptop, {CTL_HW, HW_CACHELINE}, 64},
        {laptop, {CTL_HW, HW_L1ICACHESIZE}, 32 * 1024},
        {laptop, {CTL_HW, HW_L1DCACHESIZE}, 48 * 1024},
        {laptop, {CTL_KERN, KERN_OSREV}, 60100},
        {phone, {CTL_KERN, KERN_OSREV}, 60613},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(int32Of(c.backend, c.mib), c.value) << c.mib[0] << "," << c.mib[1];
    }
    for (LinuxBackend* backend : {&laptop, &phone}) {
        const std::optional<Bytes> fpu = sysctlValue(*backend, "hw.optional.floatingpoint");
        ASSERT_TRUE(fpu && fpu->size() == 4);
        EXPECT_EQ(readLE<int32_t>(fpu->data(), 0), 1) << "x86 flags fpu, ARM Features fp";
    }
}

// Sizes and frequencies past 2^31 are read whole from 8 bytes; a 4-byte reader gets
// INT32_MAX, never a wrapped or negative value.
TEST(LinuxBackendIdentity, SixtyFourBitNodesWholeOrClampedIntoFourBytes) {
    LinuxBackend laptop(identityRoot("linux-root-laptop"));
    LinuxBackend phone(identityRoot("linux-root-phone"));
    const std::vector<int> memsize{CTL_HW, HW_MEMSIZE};
    size_t probed = 0;
    ASSERT_EQ(laptop.sysctl(memsize.data(), 2, nullptr, &probed, nullptr, 0), 0);
    EXPECT_EQ(probed, 8u);
    EXPECT_EQ(int64Of(laptop, memsize), kSixteenGiB);
    EXPECT_EQ(int64Of(laptop, {CTL_HW, HW_PHYSMEM}), kSixteenGiB);
    EXPECT_EQ(int64Of(laptop, {CTL_HW, HW_USERMEM}), (16777216 - 400000) * int64_t{1024})
        << "less unreclaimable slab, stacks, page tables, per-CPU and unevictable pages";
    EXPECT_EQ(int64Of(laptop, {CTL_HW, HW_CPU_FREQ}), 4'800'000'000) << "cpufreq kHz";
    EXPECT_EQ(int32Of(laptop, memsize), INT32_MAX);
    EXPECT_EQ(int32Of(laptop, {CTL_HW, HW_CPU_FREQ}), INT32_MAX);
    EXPECT_EQ(int32Of(phone, {CTL_HW, HW_CPU_FREQ}), 1'152'000'000) << "cpuinfo MHz, fits";
    EXPECT_EQ(int32Of(phone, {CTL_HW, HW_PHYSMEM}), 2020000 * 1024);
    EXPECT_EQ(readInto(laptop, memsize, 6).error, ENOMEM);
    EXPECT_EQ(readInto(laptop, memsize, 16).bytes.size(), 8u);
}

TEST(LinuxBackendIdentity, NodesWithoutASourceFailWithEnoent) {
    LinuxBackend laptop(identityRoot("linux-root-laptop"));
    LinuxBackend phone(identityRoot("linux-root-phone"));
    LinuxBackend empty(identityRoot("linux-root-mem"));
    for (LinuxBackend* backend : {&laptop, &phone}) {
        EXPECT_EQ(errorOf(*backend, {CTL_HW, HW_BUS_FREQ}), ENOENT);
        EXPECT_EQ(errorOf(*backend, {CTL_HW, HW_TB_FREQ}), ENOENT);
        for (const char* name : {"kern.sleeptime", "kern.waketime"}) {
            EXPECT_FALSE(sysctlValue(*backend, name));
            EXPECT_EQ(errno, ENOENT) << name;
        }
    }
    for (const int node : {HW_CACHELINE, HW_L1ICACHESIZE, HW_L1DCACHESIZE}) {
        EXPECT_EQ(errorOf(phone, {CTL_HW, node}), ENOENT) << "no cache directory, node " << node;
    }
    for (const int node : {HW_MACHINE, HW_MODEL, HW_NCPU}) {
        EXPECT_EQ(errorOf(empty, {CTL_HW, node}), ENOENT) << node;
    }
    EXPECT_EQ(errorOf(empty, {CTL_KERN, KERN_HOSTNAME}), ENOENT);
    const int hostname[] = {CTL_KERN, KERN_HOSTNAME};
    const char name[] = "other";
    size_t length = 0;
    EXPECT_EQ(laptop.sysctl(hostname, 2, nullptr, &length, name, sizeof name), -1);
    EXPECT_EQ(errno, EPERM);
}

TEST(LinuxBackendIdentity, HostTextParsers) {
    const struct {
        const char* list;
        std::optional<int32_t> count;
    } lists[] = {{"0", 1},
                 {"0-7", 8},
                 {"0-3,6,8-9", 7},
                 {"", std::nullopt},
                 {"3-1", std::nullopt},
                 {"0-x", std::nullopt}};
    for (const auto& c : lists) {
        EXPECT_EQ(HardwareValues::countCpuList(c.list), c.count) << c.list;
    }
    const struct {
        const char* size;
        std::optional<int64_t> bytes;
    } sizes[] = {
        {"32K", 32768}, {"8M", 8 << 20}, {"512", 512}, {"K", std::nullopt}, {"1G", std::nullopt}};
    for (const auto& c : sizes) {
        EXPECT_EQ(HardwareValues::parseCacheSize(c.size), c.bytes) << c.size;
    }
    const struct {
        const char* release;
        std::optional<int32_t> revision;
    } releases[] = {{"6.1.0-13-amd64", 60100}, {"5.15.133+", 51599},  {"6.8", 60800},
                    {"4.19.325-cip", 41999},   {"6.18.44-fc", 61844}, {"rolling", std::nullopt},
                    {"6", std::nullopt}};
    for (const auto& c : releases) {
        EXPECT_EQ(KernelValues::revisionOf(c.release), c.revision) << c.release;
    }
    const Assignments assignments =
        parseAssignments("# comment\nNAME=\"Debian GNU/Linux\"\n  ID = debian "
                         "\nQUOTE='it\\'s'\nESC=\"a\\\"b\\\\c\"\n"
                         "EMPTY=\nbroken line\nNAME=Later\n");
    EXPECT_EQ(assignedValue(assignments, "NAME"), "Later");
    EXPECT_EQ(assignedValue(assignments, "ID"), "debian");
    EXPECT_EQ(assignedValue(assignments, "QUOTE"), "it\\'s") << "no escapes in single quotes";
    EXPECT_EQ(assignedValue(assignments, "ESC"), "a\"b\\c");
    EXPECT_EQ(assignedValue(assignments, "EMPTY"), std::nullopt);
    EXPECT_EQ(assignments.size(), 5u);
}

// The host's own tools' view: uname(2), the online CPUs, MemTotal, cpu0's caches and
// os-release. Sources this host lacks (DMI, caches in a VM) must fail with ENOENT.
TEST(LiveHostIdentity, AgreesWithUnameSysconfAndProc) {
    LinuxBackend host("/");
    utsname names{};
    ASSERT_EQ(::uname(&names), 0);
    EXPECT_EQ(nodeString(host, {CTL_KERN, KERN_OSTYPE}), names.sysname);
    EXPECT_EQ(nodeString(host, {CTL_KERN, KERN_OSRELEASE}), names.release);
    EXPECT_EQ(nodeString(host, {CTL_KERN, KERN_VERSION}), names.version);
    EXPECT_EQ(nodeString(host, {CTL_KERN, KERN_HOSTNAME}), names.nodename);
    EXPECT_EQ(int32Of(host, {CTL_HW, HW_NCPU}), ::sysconf(_SC_NPROCESSORS_ONLN));
    const auto pages = static_cast<int64_t>(::sysconf(_SC_PHYS_PAGES));
    EXPECT_EQ(int64Of(host, {CTL_HW, HW_MEMSIZE}) / 4096, pages * ::sysconf(_SC_PAGESIZE) / 4096);
    const std::string caches = "/sys/devices/system/cpu/cpu0/cache/index0";
    if (std::filesystem::exists(caches)) {
        std::ifstream line(caches + "/coherency_line_size");
        int32_t size = 0;
        line >> size;
        EXPECT_EQ(int32Of(host, {CTL_HW, HW_CACHELINE}), size);
    } else {
        EXPECT_EQ(errorOf(host, {CTL_HW, HW_CACHELINE}), ENOENT);
    }
    const std::optional<std::string> release = readOsRelease("/");
    if (release) {
        EXPECT_TRUE(nodeString(host, {CTL_KERN, KERN_OSVERSION}));
    }
    const std::optional<std::string> machine = nodeString(host, {CTL_HW, HW_MACHINE});
    EXPECT_EQ(machine.has_value(), std::filesystem::exists("/sys/class/dmi/id/sys_vendor") ||
                                       std::filesystem::exists("/proc/device-tree/compatible"));
}
