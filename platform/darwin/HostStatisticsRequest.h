#pragma once

#include "platform/darwin/Mach.h"

namespace darwin {

// The arguments of one host_statistics or host_statistics64 call and the kernel's rules
// for answering it, shared by every backend so that all of them refuse and copy alike:
// - a port other than the host port: KERN_INVALID_HOST;
// - a flavour the call does not serve, a null buffer or count: KERN_INVALID_ARGUMENT;
// - HOST_VM_INFO with a count below HOST_VM_INFO_REV0_COUNT (12), HOST_VM_INFO64 with a
//   count below HOST_VM_INFO64_COUNT (24): KERN_FAILURE, nothing written;
// - otherwise the record is written and *count receives the words written. For
//   HOST_VM_INFO that is the longest revision the count holds: 15 words from a count of
//   15 on, 14 (without speculative_count) for 14, 12 (without the purge counters) for
//   12 or 13, as xnu serves callers built against older headers.
class HostStatisticsRequest {
public:
    HostStatisticsRequest(mach_port_t host, int flavor, int32_t* info, natural_t* count);

    // KERN_SUCCESS when the kernel would read its counters for this request, given the
    // flavour the call serves; its refusal otherwise.
    kern_return_t check(int servedFlavor) const;

    kern_return_t reply(const VmStatistics& statistics) const;   // HOST_VM_INFO
    kern_return_t reply(const VmStatistics64& statistics) const; // HOST_VM_INFO64

private:
    mach_port_t host_;
    int flavor_;
    int32_t* info_;
    natural_t* count_;
};

} // namespace darwin
