#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

// The device's hardware as the kernel reports it ({CTL_HW, n} and hw.* names), asked
// afresh on every call. A 32-bit query the kernel refuses comes back as -1; a string
// or 64-bit one as no value.
class UIDevice_Hardware {
public:
    // Primitives
    static int32_t getIntegerValue(int n);                // sysctl {CTL_HW, n}, 4 bytes
    static std::optional<int64_t> getInteger64Value(int n); // 8 bytes, or 4 widened
    static std::optional<QString> getStringValue(int n);  // size probe, buffer, read
    static int32_t getIntegerValueByName(const char* name);
    static std::optional<QString> getSysInfoByName(const char* name);

    static std::optional<QString> machine();  // HW_MACHINE
    static std::optional<QString> model();    // HW_MODEL
    static int32_t ncpu();                    // HW_NCPU
    static int32_t byteorder();               // HW_BYTEORDER
    // Sizes and frequencies past 2^31 (any machine with more than 2 GiB) are read whole:
    // no value when the kernel cannot give one.
    static std::optional<int64_t> physmem();  // HW_PHYSMEM
    static std::optional<int64_t> usermem();  // HW_USERMEM
    static std::optional<int64_t> memsize();  // HW_MEMSIZE
    static std::optional<int64_t> busfreq();  // HW_BUS_FREQ
    static std::optional<int64_t> cpufreq();  // HW_CPU_FREQ
    static std::optional<int64_t> tbfreq();   // HW_TB_FREQ
    static int32_t pagesize();                // HW_PAGESIZE
    static int32_t floatingpoint();           // "hw.optional.floatingpoint"
    static int32_t cachesize();               // HW_CACHELINE
    static int32_t l1icachesize();            // HW_L1ICACHESIZE
    static int32_t l1dcachesize();            // HW_L1DCACHESIZE
    static int32_t availcpu();                // HW_AVAILCPU
    static std::optional<QString> platform(); // "hw.machine"

    // The device-family classification of the machine class (no screen shows it).
    static int platformType();
    static int platformTypeOf(const QString& machineClass, double screenWidth);
    static QString platformString2();
    static QString platformCode2();
    static uint32_t platformCapabilities();
    static bool platformHasCapability(uint32_t mask);
    static QStringList capabilityArray();
    static QString platformString2Of(int type);
    static QString platformCode2Of(int type);
    static uint32_t platformCapabilitiesOf(int type);
    static QStringList capabilityArrayOf(int type);

    // The home directory's file system, in bytes; no value when it cannot be read.
    static std::optional<int64_t> freeDiskSpace();
    static std::optional<int64_t> totalDiskSpace();
    // The link-level address of "en0" ("00:11:22:AA:BB:CC"), or no value.
    static std::optional<QString> macaddress();
};

// The number of one bits of `word` (0 to 32).
int count_bit(uint32_t word);
