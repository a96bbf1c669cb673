#include "platform/darwin/HostStatisticsRequest.h"

#include <cstring>

namespace darwin {

namespace {

natural_t minimumCount(int flavor) {
    return flavor == HOST_VM_INFO64 ? HOST_VM_INFO64_COUNT : HOST_VM_INFO_REV0_COUNT;
}

natural_t revisionWords(natural_t count) {
    if (count >= HOST_VM_INFO_COUNT) {
        return HOST_VM_INFO_COUNT;
    }
    return count >= HOST_VM_INFO_REV1_COUNT ? HOST_VM_INFO_REV1_COUNT : HOST_VM_INFO_REV0_COUNT;
}

} // namespace

HostStatisticsRequest::HostStatisticsRequest(mach_port_t host, int flavor, int32_t* info,
                                             natural_t* count)
    : host_(host), flavor_(flavor), info_(info), count_(count) {}

kern_return_t HostStatisticsRequest::check(int servedFlavor) const {
    if (host_ != kHostPort) {
        return KERN_INVALID_HOST;
    }
    if (flavor_ != servedFlavor || info_ == nullptr || count_ == nullptr) {
        return KERN_INVALID_ARGUMENT;
    }
    return *count_ < minimumCount(flavor_) ? KERN_FAILURE : KERN_SUCCESS;
}

kern_return_t HostStatisticsRequest::reply(const VmStatistics& statistics) const {
    const kern_return_t refusal = check(HOST_VM_INFO);
    if (refusal != KERN_SUCCESS) {
        return refusal;
    }
    natural_t words[HOST_VM_INFO_COUNT];
    vm_statistics::Layout::encode(statistics, words);
    const natural_t written = revisionWords(*count_);
    std::memcpy(info_, words, written * sizeof(natural_t));
    *count_ = written;
    return KERN_SUCCESS;
}

kern_return_t HostStatisticsRequest::reply(const VmStatistics64& statistics) const {
    const kern_return_t refusal = check(HOST_VM_INFO64);
    if (refusal != KERN_SUCCESS) {
        return refusal;
    }
    natural_t words[HOST_VM_INFO64_COUNT];
    vm_statistics64::Layout::encode(statistics, words);
    std::memcpy(info_, words, sizeof words);
    *count_ = HOST_VM_INFO64_COUNT;
    return KERN_SUCCESS;
}

} // namespace darwin
