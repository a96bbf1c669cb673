#include "BackendReads.h"

#include "platform/darwin/Sysctl.h"
#include "platform/darwin/fixture/FixtureBackend.h"

#include <gtest/gtest.h>

#include <cerrno>

using namespace darwin;
using namespace backendreads;

namespace {

const Bytes kBootTime = {0x10, 0x20, 0x30, 0x40, 0, 0, 0, 0};
const int kBootTimeMib[] = {CTL_KERN, KERN_BOOTTIME};

class FixtureBackendTest : public ::testing::Test {
protected:
    void SetUp() override { fixture.setSysctl({CTL_KERN, KERN_BOOTTIME}, kBootTime); }

    int bootTime(void* oldp, size_t* oldlenp, const void* newp = nullptr) {
        errno = 0;
        return fixture.sysctl(kBootTimeMib, 2, oldp, oldlenp, newp, newp ? 4 : 0);
    }

    FixtureBackend fixture;
};

} // namespace

TEST_F(FixtureBackendTest, ProbeThenCopyReportsTheValueSize) {
    size_t length = 0;
    ASSERT_EQ(bootTime(nullptr, &length), 0);
    EXPECT_EQ(length, kBootTime.size());

    Bytes buffer(32, 0xaa);
    length = buffer.size();
    ASSERT_EQ(bootTime(buffer.data(), &length), 0);
    EXPECT_EQ(length, kBootTime.size());
    EXPECT_EQ(Bytes(buffer.begin(), buffer.begin() + 8), kBootTime);
    EXPECT_EQ(buffer[8], 0xaa);
}

TEST_F(FixtureBackendTest, RefusalsCopyNothing) {
    Bytes buffer(7, 0xaa);
    size_t length = buffer.size();
    EXPECT_EQ(bootTime(buffer.data(), &length), -1);
    EXPECT_EQ(errno, ENOMEM);
    EXPECT_EQ(length, 7u);

    buffer.resize(8, 0xaa);
    length = buffer.size();
    const int32_t newValue = 1;
    EXPECT_EQ(bootTime(buffer.data(), &length, &newValue), -1);
    EXPECT_EQ(errno, EPERM) << "the node is read-only";
    EXPECT_EQ(buffer, Bytes(8, 0xaa));

    fixture.failSysctl({CTL_KERN, KERN_BOOTTIME}, ESRCH);
    EXPECT_EQ(bootTime(buffer.data(), &length), -1);
    EXPECT_EQ(errno, ESRCH);
    EXPECT_EQ(buffer, Bytes(8, 0xaa));
}

TEST_F(FixtureBackendTest, UnknownAndMalformedNames) {
    size_t length = 0;
    const int unknown[] = {CTL_KERN, KERN_BOOTTIME, 0};
    EXPECT_EQ(fixture.sysctl(unknown, 3, nullptr, &length, nullptr, 0), -1);
    EXPECT_EQ(errno, ENOENT);
    EXPECT_EQ(fixture.sysctl(kBootTimeMib, 1, nullptr, &length, nullptr, 0), -1);
    EXPECT_EQ(errno, EINVAL);
    EXPECT_EQ(fixture.sysctlbyname("kern.boottime", nullptr, &length, nullptr, 0), -1);
    EXPECT_EQ(errno, ENOENT);
    fixture.setSysctlByName("kern.boottime", kBootTime);
    length = 0;
    ASSERT_EQ(fixture.sysctlbyname("kern.boottime", nullptr, &length, nullptr, 0), 0);
    EXPECT_EQ(length, kBootTime.size());
}

TEST_F(FixtureBackendTest, FilesAreFreshReadOnlyStreams) {
    const Bytes content = {'l', 'i', 'n', 'e', '\n', 0, 0xff};
    fixture.setFile("/etc/motd", content);
    FILE* file = fixture.fopen("/etc/motd", "r");
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(readStream(file), content);
    ASSERT_EQ(std::fseek(file, -2, SEEK_END), 0);
    EXPECT_EQ(std::ftell(file), 5);
    EXPECT_EQ(std::fgetc(file), 0);
    EXPECT_EQ(std::fputc('x', file), EOF);
    std::fclose(file);
    EXPECT_EQ(fileContent(fixture, "/etc/motd"), content) << "each fopen starts afresh";

    errno = 0;
    EXPECT_EQ(fixture.fopen("/etc/motd", "w"), nullptr);
    EXPECT_EQ(errno, EACCES);
    EXPECT_EQ(fixture.fopen("/etc/other", "r"), nullptr);
    EXPECT_EQ(errno, ENOENT);
    fixture.failFile("/var/run/utmpx", EMFILE);
    EXPECT_EQ(fixture.fopen("/var/run/utmpx", "r"), nullptr);
    EXPECT_EQ(errno, EMFILE);
}

TEST_F(FixtureBackendTest, StatAndClock) {
    fixture.setStat("/var/mobile/Library/data.db", 1600000000);
    struct ::stat info {};
    ASSERT_EQ(fixture.stat("/var/mobile/Library/data.db", &info), 0);
    EXPECT_EQ(info.st_mtime, 1600000000);
    EXPECT_EQ(fixture.stat("/var/mobile", &info), -1);
    EXPECT_EQ(errno, ENOENT);
    fixture.setTime(1700000000);
    EXPECT_EQ(fixture.time(), 1700000000);
}
