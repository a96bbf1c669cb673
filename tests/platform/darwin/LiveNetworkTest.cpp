// The Linux backend's network answers from the running kernel: in a network namespace a
// test sets up itself (root; a veth pair, a tun device, routes, neighbours), and in the
// host's own. Suites named LiveHost* carry the CTest label "live".
#include "BackendReads.h"
#include "NetworkReads.h"

#include "platform/darwin/Ifaddrs.h"
#include "platform/darwin/linux/LinuxBackend.h"
#include "support/NetworkBuffers.h"
#include "support/PrivateMountNamespace.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>

using namespace darwin;
using namespace backendreads;
using namespace networkreads;
using networkbuffers::kInterfaceListName;
using networkbuffers::kRoutingDumpName;

namespace {

const char* const kSetUp[] = {
    "link set lo up",
    "link add v0 address 02:00:00:00:01:01 type veth peer name v1 address 02:00:00:00:01:02",
    "link set v0 up",
    "link set v1 up",
    "addr add 10.31.0.1/24 brd + dev v0",
    "route add default via 10.31.0.254",
    "route add 10.32.0.7/32 via 10.31.0.253",
    "route add blackhole 10.33.0.0/16",
    "neigh add 10.31.0.253 lladdr 02:00:00:00:01:fd dev v0 nud permanent",
    "neigh add 10.31.0.254 lladdr 02:00:00:00:01:fe dev v0 nud reachable",
    "tuntap add t0 mode tun",
    "addr add 10.34.0.1 peer 10.34.0.2 dev t0",
    "link set t0 up",
};

std::vector<std::string> commandLines(const std::string& command) {
    std::vector<std::string> lines;
    FILE* pipe = ::popen(command.c_str(), "r");
    char buffer[512];
    while (pipe != nullptr && std::fgets(buffer, sizeof buffer, pipe) != nullptr) {
        lines.emplace_back(buffer, std::strcspn(buffer, "\n"));
    }
    if (pipe != nullptr) {
        ::pclose(pipe);
    }
    return lines;
}

// "address mac" for each line that names an IPv4 address first and a link-level address
// later: `ip -4 neigh` ("… lladdr 02:…"), the routing table's neighbours ("… link#3 02:…").
std::vector<std::string> neighboursIn(const std::vector<std::string>& lines) {
    std::vector<std::string> neighbours;
    for (const std::string& line : lines) {
        std::istringstream words(line);
        std::string address, word;
        for (words >> address; words >> word;) {
            if (word.size() == 17 && std::ranges::count(word, ':') == 5) {
                neighbours.push_back(address + " " + word);
            }
        }
    }
    std::ranges::sort(neighbours);
    return neighbours;
}

// getifaddrs: the links and their IPv4 addresses.
std::string ifaddrsLines(Backend& backend) {
    ifaddrs* list = nullptr;
    if (backend.getifaddrs(&list) != 0) {
        return std::string("getifaddrs: ") + std::strerror(errno) + "\n";
    }
    std::string lines;
    for (const ifaddrs* entry = list; entry != nullptr; entry = entry->ifa_next) {
        if (entry->ifa_addr[1] == AF_LINK || entry->ifa_addr[1] == AF_INET_DARWIN) {
            lines += std::string(entry->ifa_name) + " " + addressText(entry->ifa_addr) +
                     (entry->ifa_netmask ? " mask " + addressText(entry->ifa_netmask) : "") +
                     (entry->ifa_dstaddr ? " dst " + addressText(entry->ifa_dstaddr) : "") + "\n";
        }
    }
    backend.freeifaddrs(list);
    return lines;
}

// SIOCGIF* requests: each answer's address, or the error's name.
std::string addressRequestLines(Backend& backend) {
    const int fd = backend.socket(AF_INET_DARWIN, SOCK_DGRAM_DARWIN, 0);
    if (fd < 0) {
        return std::string("socket: ") + std::strerror(errno) + "\n";
    }
    const struct {
        const char* name;
        unsigned long request;
        const char* text;
    } requests[] = {
        {"v0", SIOCGIFADDR_DARWIN, "addr"},
        {"v0", SIOCGIFNETMASK_DARWIN, "netmask"},
        {"v0", SIOCGIFBRDADDR_DARWIN, "brdaddr"},
        {"v0", SIOCGIFDSTADDR_DARWIN, "dstaddr"},
        {"t0", SIOCGIFDSTADDR_DARWIN, "dstaddr"},
        {"t0", SIOCGIFBRDADDR_DARWIN, "brdaddr"},
        {"v1", SIOCGIFADDR_DARWIN, "addr"},
        {"nosuch0", SIOCGIFADDR_DARWIN, "addr"},
        {"v0", 0xC0206911, "flags"}, // SIOCGIFFLAGS is not served
    };
    std::string lines;
    for (const auto& asked : requests) {
        unsigned char record[ifreq::Layout::kSize] = {};
        ifreq::Layout::encode(IfreqAddress{asked.name, {}}, record);
        lines += std::string(asked.name) + " " + asked.text + " " +
                 (backend.ioctl(fd, asked.request, record) == 0 ? addressText(record + 16)
                                                                : strerrorname_np(errno)) +
                 "\n";
    }
    backend.close(fd);
    return lines;
}

// In the child: sets the namespace up, then reads everything through the backend: the
// IPv4 routes, sorted, and whether their neighbours are ip's; the links with their IPv4
// addresses; getifaddrs; the address requests.
std::string readPrivateNetwork() {
    for (const char* command : kSetUp) {
        if (std::system(("ip " + std::string(command) + " >/dev/null 2>&1").c_str()) != 0) {
            return std::string("failed: ip ") + command;
        }
    }
    LinuxBackend backend;
    const std::optional<Bytes> dump = sysctlValue(backend, kRoutingDumpName);
    const std::optional<Bytes> list = sysctlValue(backend, kInterfaceListName);
    if (!dump || !list) {
        return std::string("sysctl: ") + std::strerror(errno);
    }
    std::vector<std::string> routes = routeLines(*dump, AF_INET_DARWIN);
    std::ranges::sort(routes);
    const bool sameNeighbours = neighboursIn(routes) == neighboursIn(commandLines("ip -4 neigh"));
    routes.push_back(sameNeighbours ? "neighbours as ip -4 neigh lists them"
                                    : "neighbours differ from ip -4 neigh");
    for (const std::string& line : interfaceLines(*list)) {
        if (!line.starts_with("  ") || line.find(':') == std::string::npos) {
            routes.push_back(line);
        }
    }
    std::string text;
    for (const std::string& line : routes) {
        text += line + "\n";
    }
    return text + ifaddrsLines(backend) + addressRequestLines(backend);
}

} // namespace

TEST(LiveHostPrivateNetwork, RoutesInterfacesAndAddressRequests) {
    const PrivateMountNamespace::Outcome outcome =
        PrivateMountNamespace::runWithPrivateNetwork(readPrivateNetwork);
    if (outcome.skips()) {
        GTEST_SKIP() << "no private network namespace: " << outcome.text;
    }
    ASSERT_EQ(outcome.kind, PrivateMountNamespace::Outcome::Kind::Ran) << outcome.text;
    EXPECT_EQ(outcome.text, "0.0.0.0 mask 0.0.0.0 via 10.31.0.254 UGS #3\n"
                            "10.31.0.0 mask 255.255.255.0 via link#3 UC #3\n"
                            "10.31.0.1 via link#3 UHl #3\n"
                            "10.31.0.253 via link#3 02:00:00:00:01:fd UHLS #3\n"
                            "10.31.0.254 via link#3 02:00:00:00:01:fe UHL #3\n"
                            "10.31.0.255 via link#3 UHb #3\n"
                            "10.32.0.7 via 10.31.0.253 UGHS #3\n"
                            "10.33.0.0 mask 255.255.0.0 via link#1 USB #1\n"
                            "10.34.0.1 via link#4 UHl #4\n"
                            "10.34.0.2 via link#4 UH #4\n"
                            "127.0.0.0 mask 255.0.0.0 via link#1 Ul #1\n"
                            "127.0.0.1 via link#1 UHl #1\n"
                            "127.255.255.255 via link#1 UHb #1\n"
                            "neighbours as ip -4 neigh lists them\n"
                            "lo link#1 type 24 flags 0x49 mtu 65536\n"
                            "  #1 127.0.0.1 mask 255.0.0.0\n"
                            "v1 link#2 02:00:00:00:01:02 type 6 flags 0x8843 mtu 1500\n"
                            "v0 link#3 02:00:00:00:01:01 type 6 flags 0x8843 mtu 1500\n"
                            "  #3 10.31.0.1 mask 255.255.255.0 brd 10.31.0.255\n"
                            "t0 link#4 type 1 flags 0x8091 mtu 1500\n"
                            "  #4 10.34.0.1 mask 255.255.255.255 brd 10.34.0.2\n"
                            "lo lo link#1\n"
                            "lo 127.0.0.1 mask 255.0.0.0\n"
                            "v1 v1 link#2 02:00:00:00:01:02\n"
                            "v0 v0 link#3 02:00:00:00:01:01\n"
                            "v0 10.31.0.1 mask 255.255.255.0 dst 10.31.0.255\n"
                            "t0 t0 link#4\n"
                            "t0 10.34.0.1 mask 255.255.255.255 dst 10.34.0.2\n"
                            "v0 addr 10.31.0.1\n"
                            "v0 netmask 255.255.255.0\n"
                            "v0 brdaddr 10.31.0.255\n"
                            "v0 dstaddr EINVAL\n"
                            "t0 dstaddr 10.34.0.2\n"
                            "t0 brdaddr EINVAL\n"
                            "v1 addr EADDRNOTAVAIL\n"
                            "nosuch0 addr ENXIO\n"
                            "v0 flags ENOTTY\n");
}

// The host's own tables: every message walks to the next, and the loopback link is
// there, in the interface list and in getifaddrs.
TEST(LiveHostNetwork, TablesParseAndListTheLoopback) {
    LinuxBackend backend;
    const std::optional<Bytes> dump = sysctlValue(backend, kRoutingDumpName);
    ASSERT_TRUE(dump) << std::strerror(errno);
    for (const Bytes& message : split(*dump)) {
        EXPECT_EQ(message[3], RTM_GET);
        EXPECT_EQ(message[2], RTM_VERSION);
    }
    const std::optional<Bytes> list = sysctlValue(backend, kInterfaceListName);
    ASSERT_TRUE(list) << std::strerror(errno);
    EXPECT_TRUE(std::ranges::any_of(interfaceLines(*list), [](const std::string& line) {
        return line.starts_with("lo link#");
    }));
    EXPECT_NE(ifaddrsLines(backend).find("lo 127.0.0.1 mask 255.0.0.0"), std::string::npos);
}
