#pragma once

#include "platform/darwin/RecordLayout.h"

#include <array>
#include <cstddef>
#include <cstdint>

// Management information base names of the device's kernel and the layouts of the
// small records its sysctl nodes answer with. Plain constants in namespace darwin,
// so that they never meet the host's own sysctl names.
namespace darwin {

// Top level.
constexpr int CTL_KERN = 1;
constexpr int CTL_VM = 2;
constexpr int CTL_VFS = 3;
constexpr int CTL_NET = 4;
constexpr int CTL_HW = 6;
constexpr unsigned CTL_MAXNAME = 12;

// CTL_KERN.
constexpr int KERN_OSTYPE = 1;
constexpr int KERN_OSRELEASE = 2;
constexpr int KERN_OSREV = 3;
constexpr int KERN_VERSION = 4;
constexpr int KERN_HOSTNAME = 10;
constexpr int KERN_PROC = 14;
constexpr int KERN_BOOTTIME = 21;
constexpr int KERN_OSVERSION = 65;

// Third level of KERN_PROC.
constexpr int KERN_PROC_ALL = 0;
constexpr int KERN_PROC_PID = 1;
constexpr int KERN_PROC_PGRP = 2;
constexpr int KERN_PROC_SESSION = 3;
constexpr int KERN_PROC_TTY = 4;
constexpr int KERN_PROC_UID = 5;
constexpr int KERN_PROC_RUID = 6;

// CTL_VM.
constexpr int VM_METER = 1;
constexpr int VM_LOADAVG = 2;
constexpr int VM_MACHFACTOR = 4;
constexpr int VM_SWAPUSAGE = 5;

// CTL_HW.
constexpr int HW_MACHINE = 1;
constexpr int HW_MODEL = 2;
constexpr int HW_NCPU = 3;
constexpr int HW_BYTEORDER = 4;
constexpr int HW_PHYSMEM = 5;
constexpr int HW_USERMEM = 6;
constexpr int HW_PAGESIZE = 7;
constexpr int HW_DISKNAMES = 8;
constexpr int HW_DISKSTATS = 9;
constexpr int HW_EPOCH = 10;
constexpr int HW_FLOATINGPT = 11;
constexpr int HW_MACHINE_ARCH = 12;
constexpr int HW_VECTORUNIT = 13;
constexpr int HW_BUS_FREQ = 14;
constexpr int HW_CPU_FREQ = 15;
constexpr int HW_CACHELINE = 16;
constexpr int HW_L1ICACHESIZE = 17;
constexpr int HW_L1DCACHESIZE = 18;
constexpr int HW_L2SETTINGS = 19;
constexpr int HW_L2CACHESIZE = 20;
constexpr int HW_L3SETTINGS = 21;
constexpr int HW_L3CACHESIZE = 22;
constexpr int HW_TB_FREQ = 23;
constexpr int HW_MEMSIZE = 24;
constexpr int HW_AVAILCPU = 25;
constexpr int HW_MAXID = 26;

// struct timeval of a 32-bit process (KERN_BOOTTIME, and inside kinfo_proc and utmpx).
struct Timeval32 {
    int32_t sec = 0;
    int32_t usec = 0;

    bool operator==(const Timeval32&) const = default;
};

namespace timeval32 {
using Layout = RecordLayout<Timeval32, 8,                // struct timeval, 32-bit
                            Field<&Timeval32::sec, 0>,   // tv_sec
                            Field<&Timeval32::usec, 4>>; // tv_usec
} // namespace timeval32

// struct loadavg (VM_LOADAVG): three fixed-point averages (1, 5 and 15 minutes) and
// their scale.
struct Loadavg32 {
    std::array<uint32_t, 3> ldavg{};
    int32_t fscale = 0;

    bool operator==(const Loadavg32&) const = default;
};

namespace loadavg32 {
using Layout = RecordLayout<Loadavg32, 16,                  // struct loadavg
                            Field<&Loadavg32::ldavg, 0>,    // fixpt_t ldavg[3]
                            Field<&Loadavg32::fscale, 12>>; // fscale
} // namespace loadavg32

// Fixed-point scale of the load averages.
constexpr int FSHIFT = 11;
constexpr int32_t FSCALE = 1 << FSHIFT;
static_assert(FSCALE == 2048);

} // namespace darwin
