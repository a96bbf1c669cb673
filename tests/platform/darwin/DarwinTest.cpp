#include "platform/darwin/Darwin.h"
#include "platform/darwin/linux/LinuxBackend.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <thread>

using namespace darwin;

// Every model test installs the fixture backend and relies on its calls reaching it;
// what is left is the backend the application gets without an install.
TEST(Darwin, WithoutAnInstallTheHostIsServedFromRoot) {
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
