#include "platform/darwin/linux/NetlinkAnswers.h"

#include "platform/darwin/Route.h"
#include "platform/darwin/Sysctl.h"
#include "platform/darwin/SysctlRequest.h"
#include "platform/darwin/linux/InterfaceList.h"
#include "platform/darwin/linux/MessageSink.h"
#include "platform/darwin/linux/NetlinkInterfaces.h"
#include "platform/darwin/linux/RoutingTable.h"

#include <cerrno>
#include <optional>

namespace darwin {

namespace {

const std::vector<int> kRouteDumpName = {CTL_NET, PF_ROUTE_DARWIN, 0, 0, NET_RT_DUMP, 0};
const std::vector<int> kInterfaceListName = {CTL_NET, PF_ROUTE_DARWIN, 0,
                                             AF_LINK, NET_RT_IFLIST2,  0};

bool interfaceListMessages(const NetlinkConnector& connect, MessageSink& sink) {
    const std::optional<NetlinkInterfaces> interfaces = NetlinkInterfaces::read(connect);
    if (interfaces) {
        InterfaceList(*interfaces).messages(sink);
    }
    return interfaces.has_value();
}

} // namespace

bool isRoutingSocketName(const std::vector<int>& mib) {
    return mib == kRouteDumpName || mib == kInterfaceListName;
}

int answerRoutingSocket(const SysctlRequest& request, const std::vector<int>& mib,
                        const NetlinkConnector& connect) {
    if (request.offersNewValue()) {
        return SysctlRequest::fail(EPERM);
    }
    MessageSink sink(request.oldBuffer(), request.oldRoom());
    const bool read = mib == kRouteDumpName ? RoutingTable(connect).messages(sink)
                                            : interfaceListMessages(connect, sink);
    if (!read) {
        return -1;
    }
    return request.replyWrittenTable(sink.needed(), sink.written(), routingProbeSize(sink.needed()));
}

size_t routingProbeSize(size_t size) {
    return size + size / 8 + 1024;
}

int answerGetifaddrs(ifaddrs** list, const NetlinkConnector& connect) {
    if (list == nullptr) {
        errno = EFAULT;
        return -1;
    }
    const std::optional<NetlinkInterfaces> interfaces = NetlinkInterfaces::read(connect);
    if (!interfaces) {
        return -1;
    }
    const std::vector<InterfaceAddress> entries = InterfaceList(*interfaces).entries();
    *list = makeIfaddrsList(entries);
    return entries.empty() || *list != nullptr ? 0 : -1;
}

} // namespace darwin
