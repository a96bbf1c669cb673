// Against the machine the tests run on: the backend must agree with the host's own files.
#include "BackendReads.h"

#include "platform/darwin/ByteOrder.h"
#include "platform/darwin/Sysctl.h"
#include "platform/darwin/Utmpx.h"
#include "platform/darwin/linux/LinuxBackend.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <fstream>

using namespace darwin;
using namespace backendreads;

namespace {

std::array<double, 4> hostProcValues() { // btime, then the three load averages
    std::array<double, 4> values{};
    std::ifstream stat("/proc/stat");
    for (std::string key; stat >> key && key != "btime";) {
    }
    stat >> values[0];
    std::ifstream loadavg("/proc/loadavg");
    loadavg.imbue(std::locale::classic());
    loadavg >> values[1] >> values[2] >> values[3];
    return values;
}

bool loadAveragesMatch(const Bytes& record, const std::array<double, 4>& host) {
    for (size_t i = 0; i < 3; ++i) {
        const double reported = loadavg32::Layout::decode(record.data()).ldavg[i] / double(FSCALE);
        if (std::fabs(reported - host[i + 1]) > 0.5 / FSCALE + 1e-9) {
            return false;
        }
    }
    return true;
}

} // namespace

TEST(LinuxHost, BootTimeAndLoadAveragesAgreeWithProc) {
    LinuxBackend backend;
    // The kernel refreshes the averages every few seconds: accept the reading before or after.
    const auto before = hostProcValues();
    const std::optional<Bytes> bootTime = sysctlValue(backend, CTL_KERN, KERN_BOOTTIME);
    const std::optional<Bytes> loadavg = sysctlValue(backend, CTL_VM, VM_LOADAVG);
    const auto after = hostProcValues();
    ASSERT_TRUE(bootTime && bootTime->size() == timeval32::Layout::kSize);
    const Timeval32 boot = timeval32::Layout::decode(bootTime->data());
    EXPECT_EQ(boot.sec, before[0]);
    EXPECT_EQ(boot.usec, 0);
    ASSERT_TRUE(loadavg && loadavg->size() == loadavg32::Layout::kSize);
    EXPECT_EQ(loadavg32::Layout::decode(loadavg->data()).fscale, FSCALE);
    EXPECT_TRUE(loadAveragesMatch(*loadavg, before) || loadAveragesMatch(*loadavg, after));
}

TEST(LinuxHost, AccountingFileIsWholeRecordsAfterTheSignature) {
    LinuxBackend backend;
    const std::optional<Bytes> file = fileContent(backend, utmpx::kPath);
    ASSERT_TRUE(file && file->size() >= utmpx::Layout::kSize);
    EXPECT_EQ(file->size() % utmpx::Layout::kSize, 0u);
    EXPECT_EQ(utmpx::Layout::decode(file->data()), utmpxSignatureEntry());
}
