#pragma once

#include "platform/darwin/linux/HardwareValues.h"
#include "platform/darwin/linux/KernelValues.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace darwin {

class SysctlRequest;

// The hardware and kernel identification nodes, {CTL_HW, n}, {CTL_KERN, n} and their
// names ("hw.machine", "hw.optional.floatingpoint", "kern.osversion", …), answered from
// HardwareValues and KernelValues: strings with their NUL, 32-bit integers, and sizes
// and frequencies as 64-bit nodes (SysctlRequest::replyInteger64). Nodes Linux has no
// source for (bus and time-base frequency, sleep and wake times) are not served, so
// they fail with ENOENT.
class HardwareKernelNodes {
public:
    explicit HardwareKernelNodes(const std::string& root);

    // The call's result when mib (or name) is one of these nodes, else nothing.
    std::optional<int> answer(const SysctlRequest& request, const std::vector<int>& mib) const;
    std::optional<int> answerNamed(const SysctlRequest& request, std::string_view name) const;

private:
    HardwareValues hardware_;
    KernelValues kernel_;
};

} // namespace darwin
