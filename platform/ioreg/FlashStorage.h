#pragma once

#include "platform/ioreg/HostTree.h"
#include "platform/ioreg/Service.h"

#include <optional>

namespace ioreg {

// The flash storage ("IOFlashStorageDevice"): the first raw flash chip the MTD layer
// knows, else the disk holding "/" when it is solid state (eMMC, NVMe, SATA SSD). Only
// what the kernel says is published; the NAND geometry of a managed disk is hidden by
// its controller and stays absent.
class FlashStorage {
public:
    static constexpr const char* kClassName = "IOFlashStorageDevice";

    static std::optional<Service> read(const HostTree& host);

private:
    static std::optional<Service> rawFlash(const HostTree& host);
    static std::optional<Service> rootDisk(const HostTree& host);
    static std::optional<QString> rootDiskName(const HostTree& host);
};

} // namespace ioreg
