// Keeps the VNC-served window on the loopback address. Qt's VNC platform listens on
// every address of the machine and has no option to choose one; with
// ORMEL_VNC_LOOPBACK=1 (set by ./run when there is no display) this definition of
// bind(), linked into the executable ahead of the C library's, turns a wildcard
// address into the loopback address, so the screen is reachable only from this host
// (or through an ssh tunnel).
#include <dlfcn.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <cstdlib>
#include <cstring>

namespace {

using BindFunction = int (*)(int, const sockaddr*, socklen_t);

bool loopbackOnly() {
    static const bool enabled = [] {
        const char* value = std::getenv("ORMEL_VNC_LOOPBACK");
        return value != nullptr && std::strcmp(value, "1") == 0;
    }();
    return enabled;
}

} // namespace

extern "C" int bind(int fd, const sockaddr* address, socklen_t length) {
    static const auto realBind = reinterpret_cast<BindFunction>(dlsym(RTLD_NEXT, "bind"));
    if (realBind == nullptr || address == nullptr || !loopbackOnly()) {
        return realBind != nullptr ? realBind(fd, address, length) : -1;
    }
    if (address->sa_family == AF_INET && length >= sizeof(sockaddr_in)) {
        sockaddr_in v4;
        std::memcpy(&v4, address, sizeof v4);
        if (v4.sin_addr.s_addr == htonl(INADDR_ANY)) {
            v4.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
            return realBind(fd, reinterpret_cast<const sockaddr*>(&v4), sizeof v4);
        }
    } else if (address->sa_family == AF_INET6 && length >= sizeof(sockaddr_in6)) {
        sockaddr_in6 v6;
        std::memcpy(&v6, address, sizeof v6);
        if (std::memcmp(&v6.sin6_addr, &in6addr_any, sizeof in6addr_any) == 0) {
            // A dual-stack socket bound to ::ffff:127.0.0.1 takes IPv4 loopback clients.
            static const unsigned char mappedLoopback[16] = {0, 0, 0,    0,    0,   0, 0, 0,
                                                             0, 0, 0xff, 0xff, 127, 0, 0, 1};
            std::memcpy(&v6.sin6_addr, mappedLoopback, sizeof mappedLoopback);
            return realBind(fd, reinterpret_cast<const sockaddr*>(&v6), sizeof v6);
        }
    }
    return realBind(fd, address, length);
}
