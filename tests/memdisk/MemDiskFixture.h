#pragma once

#include "memdisk/DiskInfo.h"
#include "memdisk/MemoryStatus.h"
#include "platform/darwin/Mach.h"
#include "platform/darwin/Statfs.h"
#include "support/ScopedLocale.h"
#include "support/SystemFixture.h"

#include <array>
#include <string>

// Fresh instances and the class-wide state of MemoryStatus, which the application reads
// once per process.
struct MemoryStatusTestAccess {
    static std::unique_ptr<MemoryStatus> make() {
        return std::unique_ptr<MemoryStatus>(new MemoryStatus());
    }
    // Reads the host port and page size again, and gives `status` the new page size.
    static void reinitialize(MemoryStatus* status) {
        MemoryStatus::initialize();
        status->pagesize_ = MemoryStatus::pageSize;
    }
};

// A fixture kernel with 4096-byte pages, a known memory reading and no mounted file
// systems, in an English locale; installed for the life of the object.
class MemDiskFixture : public SystemFixture {
public:
    MemDiskFixture() {
        backend->setPageSize(4096);
        backend->setVmStatistics64(memory());
        backend->setMounts({});
    }

    // 16, 12, 8 and 4 MBytes free, active, inactive and wired with 4096-byte pages; every
    // counter shows a different number, so that no two can be mixed up unseen.
    static darwin::VmStatistics64 memory() {
        darwin::VmStatistics64 m;
        m.freeCount = 5000;
        m.activeCount = 3072;
        m.inactiveCount = 2048;
        m.wireCount = 1024;
        m.pageins = 1023;
        m.pageouts = 5120;
        m.faults = 3'000'000;
        m.cowFaults = 6144;
        m.zeroFillCount = uint64_t{1} << 33;
        m.reactivations = 7168;
        m.lookups = 3;
        m.hits = 2;
        return m;
    }

    static darwin::StatfsRecord disk(const std::string& device, const std::string& mountPoint,
                                     const std::string& type = "hfs", uint32_t flags = 0) {
        darwin::StatfsRecord record;
        record.bsize = 4096;
        record.blocks = 1'000'000;
        record.bfree = 250'000;
        record.bavail = 200'000;
        record.flags = flags;
        record.fstypename = type;
        record.mntonname = mountPoint;
        record.mntfromname = device;
        return record;
    }

    // The disk as the model reads it from the kernel's record.
    static DiskInfo info(const darwin::StatfsRecord& record) {
        std::array<unsigned char, darwin::statfs64::Layout::kSize> bytes{};
        darwin::statfs64::Layout::encode(record, bytes.data());
        return DiskInfo(bytes.data());
    }

private:
    testenv::ScopedLocale english{QLocale::English, QLocale::UnitedStates};
};
