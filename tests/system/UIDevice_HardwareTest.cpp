#include "system/UIDevice_Hardware.h"
#include "system/UIDevice_Kernel.h"

#include "platform/darwin/ByteOrder.h"
#include "support/MessageLog.h"
#include "support/NetworkBuffers.h"
#include "support/QtPrinters.h"
#include "support/SystemFixture.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QTimeZone>

#include <sys/statvfs.h>

#include <cerrno>
#include <climits>

using namespace darwin;

namespace {

const auto nodeText = &SystemFixture::nodeText;
const auto nodeInt32 = &SystemFixture::nodeInt32;

constexpr int64_t kMemory16GiB = int64_t{16} << 30;

} // namespace

TEST(UIDevice_Hardware, NamedQueriesReadTheirNodes) {
    SystemFixture kernel;
    FixtureBackend& backend = *kernel.backend;
    backend.setSysctl({CTL_HW, HW_MACHINE}, nodeText("iPhone2,1"));
    backend.setSysctl({CTL_HW, HW_MODEL}, nodeText("N88AP"));
    backend.setSysctlByName("hw.machine", nodeText("iPod2,2"));
    const struct {
        int node;
        int32_t value;
        int32_t (*query)();
    } integers[] = {
        {HW_NCPU, 2, UIDevice_Hardware::ncpu},
        {HW_BYTEORDER, 1234, UIDevice_Hardware::byteorder},
        {HW_PAGESIZE, 4096, UIDevice_Hardware::pagesize},
        {HW_CACHELINE, 64, UIDevice_Hardware::cachesize},
        {HW_L1ICACHESIZE, 32768, UIDevice_Hardware::l1icachesize},
        {HW_L1DCACHESIZE, 49152, UIDevice_Hardware::l1dcachesize},
        {HW_AVAILCPU, 1, UIDevice_Hardware::availcpu},
    };
    for (const auto& c : integers) {
        backend.setSysctl({CTL_HW, c.node}, nodeInt32(c.value));
        EXPECT_EQ(c.query(), c.value) << c.node;
    }
    backend.setSysctlByName("hw.optional.floatingpoint", nodeInt32(1));
    EXPECT_EQ(UIDevice_Hardware::floatingpoint(), 1);
    EXPECT_EQ(UIDevice_Hardware::machine(), "iPhone2,1");
    EXPECT_EQ(UIDevice_Hardware::model(), "N88AP");
    EXPECT_EQ(UIDevice_Hardware::platform(), "iPod2,2");
}

// 16 GiB is read whole; a node answering 4 bytes is widened; refusals are no value.
TEST(UIDevice_Hardware, SizesAndFrequenciesPast2GiBAreReadWhole) {
    SystemFixture kernel;
    FixtureBackend& backend = *kernel.backend;
    backend.setSysctlInteger64({CTL_HW, HW_PHYSMEM}, kMemory16GiB);
    backend.setSysctlInteger64({CTL_HW, HW_MEMSIZE}, kMemory16GiB);
    backend.setSysctlInteger64({CTL_HW, HW_USERMEM}, kMemory16GiB - (400 << 20));
    backend.setSysctlInteger64({CTL_HW, HW_CPU_FREQ}, 4'800'000'000);
    backend.setSysctl({CTL_HW, HW_TB_FREQ}, nodeInt32(24'000'000));
    backend.failSysctl({CTL_HW, HW_BUS_FREQ}, ENOENT);
    EXPECT_EQ(UIDevice_Hardware::physmem(), kMemory16GiB);
    EXPECT_EQ(UIDevice_Hardware::memsize(), kMemory16GiB);
    EXPECT_EQ(UIDevice_Hardware::usermem(), kMemory16GiB - (400 << 20));
    EXPECT_EQ(UIDevice_Hardware::cpufreq(), 4'800'000'000);
    EXPECT_EQ(UIDevice_Hardware::tbfreq(), 24'000'000);
    EXPECT_EQ(UIDevice_Hardware::busfreq(), std::nullopt);
    EXPECT_EQ(UIDevice_Hardware::getIntegerValue(HW_MEMSIZE), INT32_MAX) << "a 4-byte reader";
}

TEST(UIDevice_Hardware, RefusedQueriesAreMinusOneOrNothing) {
    SystemFixture kernel;
    FixtureBackend& backend = *kernel.backend;
    backend.failSysctl({CTL_HW, HW_NCPU}, EPERM);
    backend.failSysctl({CTL_HW, HW_MACHINE}, ENOMEM);
    backend.failSysctlByName("hw.optional.floatingpoint", ENOENT);
    backend.setSysctl({CTL_HW, HW_PAGESIZE}, {1, 2}); // shorter than its int
    EXPECT_EQ(UIDevice_Hardware::ncpu(), -1);
    EXPECT_EQ(UIDevice_Hardware::byteorder(), -1) << "never set";
    EXPECT_EQ(UIDevice_Hardware::floatingpoint(), -1);
    EXPECT_EQ(UIDevice_Hardware::machine(), std::nullopt);
    EXPECT_EQ(UIDevice_Hardware::model(), std::nullopt);
    EXPECT_EQ(UIDevice_Hardware::platform(), std::nullopt);
    EXPECT_EQ(UIDevice_Hardware::physmem(), std::nullopt);
    EXPECT_EQ(UIDevice_Hardware::platformType(), 0);
}

TEST(UIDevice_Hardware, CountBitFoldsPairsNibblesAndBytes) {
    const std::pair<uint32_t, int> cases[] = {{0, 0},          {0xFFFFFFFF, 32}, {0xFFFFFF00, 24},
                                              {0x80000001, 2}, {0x0F0F0F0F, 16}, {0xFFFFFF, 24}};
    for (const auto& [word, bits] : cases) {
        EXPECT_EQ(count_bit(word), bits) << std::hex << word;
    }
}

TEST(UIDevice_Hardware, MachineClassesClassifyInOrder) {
    const struct {
        const char* machine;
        double width;
        int type;
    } cases[] = {
        {"iPhone2,1", 320, 6}, {"iPod2,2", 320, 10}, {"iPhone9,9", 320, 15}, {"iPod7,1", 320, 16},
        {"iFPGA", 320, 17},    {"x86", 320, 2},      {"i386", 1024, 3},      {"x86_64", 320, 0},
        {"iPad2,1", 1024, 0},  {"", 320, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(UIDevice_Hardware::platformTypeOf(c.machine, c.width), c.type) << c.machine;
    }
}

TEST(UIDevice_Hardware, TypesNameTheirFamilyAndCapabilities) {
    const QString unknown = "Unknown device in the iPhone/iPod family";
    EXPECT_EQ(UIDevice_Hardware::platformString2Of(10), unknown);
    EXPECT_EQ(UIDevice_Hardware::platformCode2Of(10), unknown);
    EXPECT_EQ(UIDevice_Hardware::platformCapabilitiesOf(10),
              UIDevice_Hardware::platformCapabilitiesOf(9));
    EXPECT_EQ(UIDevice_Hardware::platformString2Of(6), "iPhone 3GS");
    EXPECT_EQ(UIDevice_Hardware::platformCode2Of(6), "N88");
    EXPECT_EQ(UIDevice_Hardware::platformString2Of(15), "Unknown iPhone");
    EXPECT_EQ(UIDevice_Hardware::platformCode2Of(3), unknown);
    EXPECT_EQ(UIDevice_Hardware::platformString2Of(3), "iPad Simulator");
    // 0x0BFFFFFF: bits 0 to 27 but bit 26 ("Piezo clicker").
    const QStringList iphone3gs = UIDevice_Hardware::capabilityArrayOf(6);
    ASSERT_EQ(iphone3gs.size(), 27);
    EXPECT_EQ(iphone3gs.first(), "Telephony");
    EXPECT_EQ(iphone3gs.last(), "Physical volume rocker");
    EXPECT_FALSE(iphone3gs.contains("Piezo clicker"));
    EXPECT_EQ(UIDevice_Hardware::capabilityArrayOf(13).last(), "Enhanced Multitouch") << "bit 28";
    EXPECT_EQ(UIDevice_Hardware::capabilityArrayOf(1),
              (QStringList{"WiFi", "Location Services", "OpenGL ES 1.1", "Built-in Speaker",
                           "Accessibility", "VoiceOver"}));
    EXPECT_TRUE(UIDevice_Hardware::capabilityArrayOf(0).isEmpty());
}

TEST(UIDevice_Hardware, TheDeviceClassifiesItsOwnMachine) {
    SystemFixture kernel;
    kernel.backend->setSysctlByName("hw.machine", nodeText("iPod2,2"));
    EXPECT_EQ(UIDevice_Hardware::platformType(), 10);
    EXPECT_EQ(UIDevice_Hardware::platformCapabilities(), 0x0BB058E0u);
    EXPECT_TRUE(UIDevice_Hardware::platformHasCapability(0x20 | 0x40));  // WiFi, accelerometer
    EXPECT_FALSE(UIDevice_Hardware::platformHasCapability(0x01 | 0x20)); // telephony too
}

TEST(UIDevice_Kernel, NamedQueriesReadTheirNodes) {
    SystemFixture kernel;
    FixtureBackend& backend = *kernel.backend;
    backend.setSysctl({CTL_KERN, KERN_OSTYPE}, nodeText("Darwin"));
    backend.setSysctl({CTL_KERN, KERN_OSRELEASE}, nodeText("10.0.0d3"));
    backend.setSysctl({CTL_KERN, KERN_OSREV}, nodeInt32(199506));
    backend.setSysctl({CTL_KERN, KERN_VERSION}, nodeText("Darwin Kernel Version 10.0.0d3"));
    backend.setSysctl({CTL_KERN, KERN_HOSTNAME}, nodeText("Ada’s iPhone"));
    backend.setSysctl({CTL_KERN, KERN_OSVERSION}, nodeText("7A341"));
    std::vector<unsigned char> sleep(timeval32::Layout::kSize);
    timeval32::Layout::encode({1'600'000'000, 999'999}, sleep.data());
    backend.setSysctlByName("kern.sleeptime", sleep);
    backend.failSysctlByName("kern.waketime", ENOENT);
    EXPECT_EQ(UIDevice_Kernel::ostype(), "Darwin");
    EXPECT_EQ(UIDevice_Kernel::osrelease(), "10.0.0d3");
    EXPECT_EQ(UIDevice_Kernel::osrevision(), 199506);
    EXPECT_EQ(UIDevice_Kernel::version(), "Darwin Kernel Version 10.0.0d3");
    EXPECT_EQ(UIDevice_Kernel::hostname(), "Ada’s iPhone") << "UTF-8";
    EXPECT_EQ(UIDevice_Kernel::osversion(), "7A341");
    EXPECT_EQ(UIDevice_Kernel::boottime(),
              QDateTime::fromSecsSinceEpoch(SystemFixture::kNow - 3661, QTimeZone::utc()));
    EXPECT_EQ(UIDevice_Kernel::sleeptime(),
              QDateTime::fromSecsSinceEpoch(1'600'000'000, QTimeZone::utc()))
        << "microseconds ignored";
    EXPECT_EQ(UIDevice_Kernel::waketime(), std::nullopt);
}

TEST(UIDevice_Kernel, RefusedQueriesAreMinusOneOrNothing) {
    SystemFixture kernel;
    kernel.backend->failSysctl({CTL_KERN, KERN_OSREV}, EOPNOTSUPP);
    kernel.backend->failSysctl({CTL_KERN, KERN_BOOTTIME}, EPERM);
    EXPECT_EQ(UIDevice_Kernel::osrevision(), -1);
    EXPECT_EQ(UIDevice_Kernel::ostype(), std::nullopt);
    EXPECT_EQ(UIDevice_Kernel::boottime(), std::nullopt);
    EXPECT_EQ(UIDevice_Kernel::sleeptime(), std::nullopt);
}

// Asked afresh each time, unlike the interface record the Network rows keep.
TEST(UIDevice_Hardware, MacAddressOfEn0InCapitals) {
    SystemFixture kernel;
    const std::vector<uint8_t> ether{0x00, 0x1b, 0x63, 0xac, 0xde, 0xf0};
    const unsigned flags = IFF_UP_DARWIN | IFF_RUNNING_DARWIN;
    kernel.backend->setInterfaceAddresses(
        {{"en0", flags, networkbuffers::sockaddrDl(4, IFT_ETHER, "en0", ether), {}, {}}});
    EXPECT_EQ(UIDevice_Hardware::macaddress(), "00:1B:63:AC:DE:F0");
    kernel.backend->setInterfaceAddresses({});
    testenv::MessageLog log("ormel.system");
    EXPECT_EQ(UIDevice_Hardware::macaddress(), std::nullopt);
    EXPECT_EQ(log.warnings().size(), 1);
}

TEST(UIDevice_Hardware, DiskSpaceOfTheHomeDirectory) {
    QTemporaryDir home;
    const QByteArray realHome = qgetenv("HOME");
    qputenv("HOME", home.path().toUtf8());
    const std::optional<int64_t> total = UIDevice_Hardware::totalDiskSpace();
    const std::optional<int64_t> free = UIDevice_Hardware::freeDiskSpace();
    qputenv("HOME", realHome);
    struct statvfs disk {};
    ASSERT_EQ(::statvfs(home.path().toUtf8().constData(), &disk), 0);
    EXPECT_EQ(total, static_cast<int64_t>(disk.f_blocks) * static_cast<int64_t>(disk.f_frsize));
    ASSERT_TRUE(free);
    EXPECT_GT(*free, 0);
    EXPECT_LE(*free, *total);
}
