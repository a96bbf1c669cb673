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
        const double reported = readLE<uint32_t>(record.data(), 4 * i) / double(FSCALE);
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
    ASSERT_TRUE(bootTime && bootTime->size() == timeval32::kSize);
    EXPECT_EQ(readLE<int32_t>(bootTime->data(), timeval32::kSec), before[0]);
    EXPECT_EQ(readLE<int32_t>(bootTime->data(), timeval32::kUsec), 0);
    ASSERT_TRUE(loadavg && loadavg->size() == loadavg32::kSize);
    EXPECT_EQ(readLE<int32_t>(loadavg->data(), loadavg32::kFscale), FSCALE);
    EXPECT_TRUE(loadAveragesMatch(*loadavg, before) || loadAveragesMatch(*loadavg, after));
}

TEST(LinuxHost, AccountingFileIsWholeRecordsAfterTheSignature) {
    LinuxBackend backend;
    const std::optional<Bytes> file = fileContent(backend, utmpx::kPath);
    ASSERT_TRUE(file && file->size() >= utmpx::kSize);
    EXPECT_EQ(file->size() % utmpx::kSize, 0u);
    EXPECT_EQ(decodeUtmpx(file->data()), utmpxSignatureEntry());
}
