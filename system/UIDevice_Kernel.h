#pragma once

#include <QDateTime>
#include <QString>

#include <cstdint>
#include <optional>

// The kernel's own description ({CTL_KERN, n} and kern.* names), asked afresh on every
// call. A refused integer comes back as -1, a refused string or date as no value.
class UIDevice_Kernel {
public:
    static int32_t getKernelIntegerValue(int n);
    static std::optional<QString> getKernelStringValue(int n);
    static std::optional<QDateTime> getDateValue(int n);                  // UTC
    static std::optional<QDateTime> getDateValueByName(const char* name); // UTC

    static std::optional<QString> ostype();    // KERN_OSTYPE
    static std::optional<QString> osrelease(); // KERN_OSRELEASE
    static int32_t osrevision();               // KERN_OSREV
    static std::optional<QString> version();   // KERN_VERSION
    static std::optional<QString> hostname();  // KERN_HOSTNAME
    static std::optional<QString> osversion(); // KERN_OSVERSION
    static std::optional<QDateTime> boottime(); // KERN_BOOTTIME
    static std::optional<QDateTime> sleeptime(); // "kern.sleeptime"
    static std::optional<QDateTime> waketime();  // "kern.waketime"
};
