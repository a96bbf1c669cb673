#include "platform/darwin/linux/HardwareKernelNodes.h"

#include "platform/darwin/ByteOrder.h"
#include "platform/darwin/Sysctl.h"
#include "platform/darwin/SysctlRequest.h"

#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <span>
#include <variant>

namespace darwin {

namespace {

// A node's value: a string (answered with its NUL), a 32-bit or a 64-bit integer.
using NodeValue = std::variant<std::string, int32_t, int64_t>;
using Produced = std::optional<NodeValue>;

template <class T> Produced produced(const std::optional<T>& value) {
    return value ? Produced(NodeValue(*value)) : std::nullopt;
}

Produced byteOrder() {
    return NodeValue(int32_t{std::endian::native == std::endian::little ? 1234 : 4321});
}

Produced hostPageBytes() {
    return NodeValue(static_cast<int32_t>(::sysconf(_SC_PAGESIZE)));
}

struct Node {
    int top;
    int second;
    const char* name;
    Produced (*produce)(const HardwareValues&, const KernelValues&);
};

using Hw = const HardwareValues&;
using Kern = const KernelValues&;

constexpr auto kNodes = std::to_array<Node>({
    {CTL_HW, HW_MACHINE, "hw.machine", [](Hw hw, Kern) { return produced(hw.machine()); }},
    {CTL_HW, HW_MODEL, "hw.model", [](Hw hw, Kern) { return produced(hw.model()); }},
    {CTL_HW, HW_NCPU, "hw.ncpu", [](Hw hw, Kern) { return produced(hw.onlineCpus()); }},
    {CTL_HW, HW_BYTEORDER, "hw.byteorder", [](Hw, Kern) { return byteOrder(); }},
    {CTL_HW, HW_PHYSMEM, "hw.physmem", [](Hw hw, Kern) { return produced(hw.memoryBytes()); }},
    {CTL_HW, HW_USERMEM, "hw.usermem", [](Hw hw, Kern) { return produced(hw.userMemoryBytes()); }},
    {CTL_HW, HW_PAGESIZE, "hw.pagesize", [](Hw, Kern) { return hostPageBytes(); }},
    {CTL_HW, HW_FLOATINGPT, "hw.optional.floatingpoint",
     [](Hw hw, Kern) { return produced(hw.floatingPoint()); }},
    {CTL_HW, HW_CPU_FREQ, "hw.cpufrequency",
     [](Hw hw, Kern) { return produced(hw.cpuFrequency()); }},
    {CTL_HW, HW_CACHELINE, "hw.cachelinesize",
     [](Hw hw, Kern) { return produced(hw.cacheLine()); }},
    {CTL_HW, HW_L1ICACHESIZE, "hw.l1icachesize",
     [](Hw hw, Kern) { return produced(hw.l1InstructionCache()); }},
    {CTL_HW, HW_L1DCACHESIZE, "hw.l1dcachesize",
     [](Hw hw, Kern) { return produced(hw.l1DataCache()); }},
    {CTL_HW, HW_MEMSIZE, "hw.memsize", [](Hw hw, Kern) { return produced(hw.memoryBytes()); }},
    {CTL_HW, HW_AVAILCPU, "hw.availcpu", [](Hw hw, Kern) { return produced(hw.onlineCpus()); }},
    {CTL_KERN, KERN_OSTYPE, "kern.ostype", [](Hw, Kern k) { return produced(k.ostype()); }},
    {CTL_KERN, KERN_OSRELEASE, "kern.osrelease",
     [](Hw, Kern k) { return produced(k.osrelease()); }},
    {CTL_KERN, KERN_OSREV, "kern.osrevision", [](Hw, Kern k) { return produced(k.osrevision()); }},
    {CTL_KERN, KERN_VERSION, "kern.version", [](Hw, Kern k) { return produced(k.version()); }},
    {CTL_KERN, KERN_HOSTNAME, "kern.hostname", [](Hw, Kern k) { return produced(k.hostname()); }},
    {CTL_KERN, KERN_OSVERSION, "kern.osversion",
     [](Hw, Kern k) { return produced(k.osversion()); }},
});

int answerNode(const SysctlRequest& request, const Node& node, const HardwareValues& hardware,
               const KernelValues& kernel) {
    if (request.offersNewValue()) {
        return SysctlRequest::fail(EPERM);
    }
    errno = 0;
    const Produced value = node.produce(hardware, kernel);
    if (!value) {
        return SysctlRequest::fail(errno != 0 ? errno : ENOENT);
    }
    if (const auto* text = std::get_if<std::string>(&*value)) {
        return request.reply(text->c_str(), text->size() + 1, text->size() + 1);
    }
    if (const auto* wide = std::get_if<int64_t>(&*value)) {
        return request.replyInteger64(*wide);
    }
    unsigned char bytes[sizeof(int32_t)];
    writeLE(bytes, 0, std::get<int32_t>(*value));
    return request.reply(bytes, sizeof bytes, sizeof bytes);
}

} // namespace

HardwareKernelNodes::HardwareKernelNodes(const std::string& root)
    : hardware_(root), kernel_(root) {}

std::optional<int> HardwareKernelNodes::answer(const SysctlRequest& request,
                                               const std::vector<int>& mib) const {
    const auto node = std::ranges::find_if(kNodes, [&mib](const Node& n) {
        return mib.size() == 2 && mib[0] == n.top && mib[1] == n.second;
    });
    return node != kNodes.end() ? std::optional(answerNode(request, *node, hardware_, kernel_))
                                : std::nullopt;
}

std::optional<int> HardwareKernelNodes::answerNamed(const SysctlRequest& request,
                                                    std::string_view name) const {
    const auto node =
        std::ranges::find(kNodes, name, [](const Node& n) { return std::string_view(n.name); });
    return node != kNodes.end() ? std::optional(answerNode(request, *node, hardware_, kernel_))
                                : std::nullopt;
}

} // namespace darwin
