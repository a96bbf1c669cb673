#include "platform/darwin/Darwin.h"
#include "platform/darwin/fixture/FixtureBackend.h"
#include "platform/darwin/linux/LinuxBackend.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <thread>

using namespace darwin;

namespace {

class DarwinTest : public ::testing::Test {
protected:
    void TearDown() override { install(nullptr); }
};

} // namespace

TEST_F(DarwinTest, CallsGoToTheInstalledBackend) {
    auto fixture = std::make_shared<FixtureBackend>();
    fixture->setTime(1234);
    install(fixture);
    EXPECT_EQ(installed(), fixture);
    std::time_t now = 0;
    EXPECT_EQ(darwin::time(&now), 1234);
    EXPECT_EQ(now, 1234);
    struct ::stat info {};
    EXPECT_EQ(darwin::stat("/proc", &info), -1) << "the host is not consulted";
}

TEST_F(DarwinTest, WithoutAnInstallTheHostIsServedFromRoot) {
    Backend* seen[4] = {};
    std::vector<std::thread> threads;
    for (Backend*& slot : seen) {
        threads.emplace_back([&slot] { slot = backend().get(); });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    for (Backend* each : seen) {
        EXPECT_EQ(each, seen[0]) << "one default backend, however many threads ask";
    }
    const auto* host = dynamic_cast<LinuxBackend*>(seen[0]);
    ASSERT_NE(host, nullptr);
    EXPECT_EQ(host->root(), "/");
    size_t length = 0;
    EXPECT_EQ(darwin::sysctlbyname("kern.boottime", nullptr, &length, nullptr, 0), -1);
    EXPECT_EQ(errno, ENOENT) << "the default for backends without named nodes";
}
