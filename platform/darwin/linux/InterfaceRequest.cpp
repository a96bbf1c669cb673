#include "platform/darwin/linux/InterfaceRequest.h"

#include "platform/darwin/Ifaddrs.h"
#include "platform/darwin/InPcb.h"
#include "platform/darwin/Route.h"

#include <net/if.h>
#include <netinet/in.h>
#include <sys/ioctl.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <iterator>

namespace darwin {

namespace {

struct InterfaceRequestRow {
    unsigned long device;
    unsigned long host;
    unsigned int requiredFlag; // the host flag the device's kernel insists on, or 0
};

constexpr InterfaceRequestRow kInterfaceRequests[] = {
    {SIOCGIFADDR_DARWIN, SIOCGIFADDR, 0},
    {SIOCGIFDSTADDR_DARWIN, SIOCGIFDSTADDR, IFF_POINTOPOINT},
    {SIOCGIFBRDADDR_DARWIN, SIOCGIFBRDADDR, IFF_BROADCAST},
    {SIOCGIFNETMASK_DARWIN, SIOCGIFNETMASK, 0},
};

int failRequest(int error) {
    errno = error;
    return -1;
}

int hostRequest(int fd, unsigned long request, ::ifreq& host) {
    const int result = ::ioctl(fd, request, &host);
    if (result != 0 && errno == ENODEV) {
        errno = ENXIO; // what the device's kernel says of an unknown interface
    }
    return result;
}

} // namespace

int openInterfaceRequestSocket(int domain, int type, int protocol) {
    if (domain != AF_INET_DARWIN) {
        return failRequest(EAFNOSUPPORT);
    }
    if (type != SOCK_DGRAM_DARWIN) {
        return failRequest(ESOCKTNOSUPPORT);
    }
    return ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, protocol);
}

// Linux answers a destination address for any interface and a broadcast address of
// 0.0.0.0 where there is none; the device's kernel refuses both with EINVAL, after it
// has found an address (EADDRNOTAVAIL first).
int answerInterfaceRequest(int fd, unsigned long request, void* argument) {
    const auto row = std::ranges::find(kInterfaceRequests, request, &InterfaceRequestRow::device);
    if (row == std::end(kInterfaceRequests)) {
        return failRequest(ENOTTY);
    }
    if (argument == nullptr) {
        return failRequest(EFAULT);
    }
    auto* bytes = static_cast<unsigned char*>(argument);
    const std::string name = ifreq::Layout::decode(bytes).name;
    if (name.size() >= IFNAMSIZ) {
        return failRequest(ENXIO); // Linux names are shorter
    }
    ::ifreq host{};
    std::memcpy(host.ifr_name, name.data(), name.size());
    if (hostRequest(fd, row->host, host) != 0) {
        return -1;
    }
    ::sockaddr_in answered{};
    std::memcpy(&answered, &host.ifr_addr, sizeof answered);
    if (row->requiredFlag != 0) {
        ::ifreq flags{};
        std::memcpy(flags.ifr_name, name.data(), name.size());
        if (hostRequest(fd, SIOCGIFFLAGS, flags) != 0) {
            return -1;
        }
        if ((static_cast<uint16_t>(flags.ifr_flags) & row->requiredFlag) == 0) {
            return failRequest(EINVAL);
        }
    }
    SockaddrIn address;
    std::memcpy(address.addr.data(), &answered.sin_addr, address.addr.size());
    sockaddr_in::Layout::encode(address,
                                bytes + ifreq::Layout::FieldOf<&IfreqAddress::addr>::kOffset);
    return 0;
}

} // namespace darwin
