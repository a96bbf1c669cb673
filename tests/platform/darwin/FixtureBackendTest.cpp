// What the model tests rely on from the fixture backend and do not check themselves.
#include "BackendReads.h"

#include "platform/darwin/InPcb.h"
#include "platform/darwin/fixture/FixtureBackend.h"

#include <gtest/gtest.h>

#include <array>
#include <cerrno>
#include <csignal>

using namespace darwin;
using namespace backendreads;

namespace {

KinfoProc process(int32_t pid, int32_t start, std::string comm) {
    return {.starttime = {start, 0}, .stat = SRUN, .pid = pid, .comm = std::move(comm)};
}

class FixtureBackendTest : public ::testing::Test {
protected:
    void SetUp() override {
        fixture.setProcessTable({process(1, 100, "launchd"), process(12, 200, "SpringBoard"),
                                 process(30, 300, "MobileSafari")});
    }

    FixtureBackend fixture;
};

} // namespace

TEST_F(FixtureBackendTest, ProcessTableAsGivenAndVanishedPidsAnswerNothing) {
    size_t length = 0;
    ASSERT_EQ(allProcesses(fixture, nullptr, &length), 0);
    EXPECT_EQ(length, (3 + kProcessTableSlack) * kinfo_proc::Layout::kSize);
    EXPECT_EQ(oneProcess(fixture, 12).process.comm, "SpringBoard");

    fixture.vanish(12);
    const OneProcess gone = oneProcess(fixture, 12);
    EXPECT_EQ(gone.result, 0) << "the kernel succeeds with no record";
    EXPECT_EQ(gone.length, 0u);
    EXPECT_EQ(oneProcess(fixture, 99).length, 0u);
    EXPECT_EQ(processTable(fixture)->size(), 3u) << "the dump still lists it";

    std::vector<unsigned char> dump(2 * kinfo_proc::Layout::kSize + 7);
    kinfo_proc::Layout::encode(process(5, 1, "odd"), dump.data());
    fixture.setProcessTableBytes(dump);
    std::vector<unsigned char> buffer(dump.size() + 100);
    length = buffer.size();
    ASSERT_EQ(allProcesses(fixture, buffer.data(), &length), 0);
    EXPECT_EQ(length, dump.size()) << "an odd-sized dump is served as it is";
    EXPECT_EQ(oneProcess(fixture, 5).process.comm, "odd");

    fixture.failProcessTable(EPERM);
    EXPECT_EQ(allProcesses(fixture, nullptr, &length), -1);
    EXPECT_EQ(errno, EPERM);
    EXPECT_EQ(oneProcess(fixture, 5).length, kinfo_proc::Layout::kSize)
        << "per-process queries still answer";
}

TEST_F(FixtureBackendTest, SignalsReachOnlyTheProcessThatStartedThen) {
    EXPECT_EQ(fixture.killProcessStartedAt(12, 200, SIGTERM), 0);
    EXPECT_EQ(fixture.killProcessStartedAt(30, 299, SIGKILL), -1) << "pid reused";
    EXPECT_EQ(errno, ESRCH);
    fixture.vanish(1);
    EXPECT_EQ(fixture.killProcessStartedAt(1, 100, SIGKILL), -1);
    EXPECT_EQ(errno, ESRCH);
    fixture.failSignals(EPERM);
    EXPECT_EQ(fixture.killProcessStartedAt(30, 1, SIGTERM), -1);
    EXPECT_EQ(errno, ESRCH) << "a wrong process is reported before a refusal";
    EXPECT_EQ(fixture.signalsSent(), (std::vector<FixtureBackend::SentSignal>{{12, 200, SIGTERM}}));
}

// Else the memory model's fallback to the 32-bit counters would go untested.
TEST_F(FixtureBackendTest, AMemoryReadingIsNeverDerivedFromTheOther) {
    fixture.setVmStatistics(VmStatistics{7});
    std::array<int32_t, HOST_VM_INFO64_COUNT> info{};
    natural_t count = HOST_VM_INFO64_COUNT;
    EXPECT_EQ(fixture.host_statistics64(kHostPort, HOST_VM_INFO64, info.data(), &count),
              KERN_FAILURE);
}

TEST_F(FixtureBackendTest, InterfaceAddressesInTheirOrderOrTheFailure) {
    ifaddrs* list = nullptr;
    ASSERT_EQ(fixture.getifaddrs(&list), 0);
    EXPECT_EQ(list, nullptr) << "no interfaces until set";
    fixture.setInterfaceAddresses(
        {{"lo0", IFF_UP_DARWIN, socketAddressIn({127, 0, 0, 1}), {}, {}}, {"en0", 0, {}, {}, {}}});
    ASSERT_EQ(fixture.getifaddrs(&list), 0);
    ASSERT_NE(list, nullptr);
    EXPECT_STREQ(list->ifa_name, "lo0");
    EXPECT_EQ(list->ifa_addr[1], AF_INET_DARWIN);
    ASSERT_NE(list->ifa_next, nullptr);
    EXPECT_STREQ(list->ifa_next->ifa_name, "en0");
    EXPECT_EQ(list->ifa_next->ifa_addr, nullptr);
    fixture.freeifaddrs(list);
    fixture.failInterfaceAddresses(EMFILE);
    EXPECT_EQ(fixture.getifaddrs(&list), -1);
    EXPECT_EQ(errno, EMFILE);
}

TEST_F(FixtureBackendTest, InterfaceRequestsAnswerPerNameAndRequest) {
    const std::array<uint8_t, 16> address{16, AF_INET_DARWIN, 0, 0, 10, 0, 0, 7};
    fixture.setInterfaceRequest("en0", SIOCGIFADDR_DARWIN, address);
    fixture.failInterfaceRequest("en0", SIOCGIFNETMASK_DARWIN, EIO);
    EXPECT_EQ(fixture.socket(AF_INET6_DARWIN, SOCK_DGRAM_DARWIN, 0), -1);
    EXPECT_EQ(errno, EAFNOSUPPORT);
    const int fd = fixture.socket(AF_INET_DARWIN, SOCK_DGRAM_DARWIN, 0);
    ASSERT_GE(fd, 0);
    const auto ask = [&](const std::string& name, unsigned long request) {
        std::array<unsigned char, ifreq::Layout::kSize> bytes{};
        ifreq::Layout::encode({name, {}}, bytes.data());
        errno = 0;
        const int result = fixture.ioctl(fd, request, bytes.data());
        return std::pair(result == 0 ? ifreq::Layout::decode(bytes.data()).addr
                                     : std::array<uint8_t, 16>{},
                         errno);
    };
    EXPECT_EQ(ask("en0", SIOCGIFADDR_DARWIN), std::pair(address, 0));
    EXPECT_EQ(ask("en0", SIOCGIFNETMASK_DARWIN).second, EIO);
    EXPECT_EQ(ask("en0", SIOCGIFBRDADDR_DARWIN).second, EADDRNOTAVAIL);
    EXPECT_EQ(ask("wlan0", SIOCGIFADDR_DARWIN).second, ENXIO);
    EXPECT_EQ(ask("en0", 0x1234).second, ENOTTY);
    EXPECT_EQ(fixture.openSockets(), 1u);
    EXPECT_EQ(fixture.close(fd), 0);
    EXPECT_EQ(fixture.close(fd), -1);
    EXPECT_EQ(fixture.openSockets(), 0u);
    EXPECT_EQ(ask("en0", SIOCGIFADDR_DARWIN).second, EBADF);
}
