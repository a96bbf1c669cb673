// The control-block lists of the running kernel: sockets opened in a private network
// namespace (root), and the host's own lists (LiveHost*, CTest label "live").
#include "BackendReads.h"
#include "NetworkReads.h"

#include "platform/darwin/linux/LinuxBackend.h"
#include "support/PrivateMountNamespace.h"

#include <gtest/gtest.h>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>

using namespace darwin;
using namespace networkreads;

namespace {

// A socket of the namespace bound to 127.0.0.1:port (IPv4) or [::]:port (IPv6, v6-only
// or dual-stack), and connected to 127.0.0.1:peer when one is given; -1 when any step
// fails (the lists then miss it).
int openSocket(int family, int type, uint16_t port, int v6only = 0, uint16_t peer = 0) {
    const int s = ::socket(family, type | SOCK_CLOEXEC, 0);
    ::sockaddr_in in{AF_INET, htons(port), {htonl(INADDR_LOOPBACK)}, {}};
    ::sockaddr_in6 in6{AF_INET6, htons(port), 0, in6addr_any, 0};
    const bool bound =
        family == AF_INET
            ? ::bind(s, reinterpret_cast<::sockaddr*>(&in), sizeof in) == 0
            : ::setsockopt(s, IPPROTO_IPV6, IPV6_V6ONLY, &v6only, sizeof v6only) == 0 &&
                  ::bind(s, reinterpret_cast<::sockaddr*>(&in6), sizeof in6) == 0;
    in.sin_port = htons(peer);
    const bool connected =
        peer == 0 || ::connect(s, reinterpret_cast<::sockaddr*>(&in), sizeof in) == 0;
    return bound && connected ? s : -1;
}

std::string sortedLines(std::vector<std::string> lines) {
    std::ranges::sort(lines);
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\n";
    }
    return text;
}

// In the namespace: opens the sockets, reads both lists, and returns the lines read and
// the lines expected, parted by "--\n".
std::string listOwnSockets() {
    const int listener = openSocket(AF_INET, SOCK_STREAM, 7001);
    const int v6only = openSocket(AF_INET6, SOCK_STREAM, 7002, 1);
    const int dual = openSocket(AF_INET6, SOCK_STREAM, 7003, 0);
    for (const int s : {listener, v6only, dual}) {
        ::listen(s, 4);
    }
    const int client = openSocket(AF_INET, SOCK_STREAM, 0, 0, 7001);
    const int server = ::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
    const int udp = openSocket(AF_INET, SOCK_DGRAM, 7301);
    const int udpConnected = openSocket(AF_INET, SOCK_DGRAM, 7302, 0, 7301);
    if (std::min({listener, client, server, v6only, dual, udp, udpConnected}) < 0) {
        return std::string("a socket could not be set up: ") + std::strerror(errno);
    }
    ::sockaddr_in clientAddress{};
    socklen_t length = sizeof clientAddress;
    ::getsockname(client, reinterpret_cast<::sockaddr*>(&clientAddress), &length);
    const std::string clientEnd = "127.0.0.1:" + std::to_string(ntohs(clientAddress.sin_port));
    const std::vector<std::string> expected{
        "tcp4 inet 127.0.0.1:7001 0.0.0.0:0 LISTEN",
        "tcp4 inet 127.0.0.1:7001 " + clientEnd + " ESTABLISHED",
        "tcp4 inet " + clientEnd + " 127.0.0.1:7001 ESTABLISHED",
        "tcp6 inet6 [::]:7002 [::]:0 LISTEN",
        "tcp46 inet6 0.0.0.0:7003 0.0.0.0:0 LISTEN",
        "udp4 inet 127.0.0.1:7301 0.0.0.0:0",
        "udp4 inet 127.0.0.1:7302 127.0.0.1:7301",
    };
    LinuxBackend backend;
    std::vector<std::string> lines;
    for (const char* name : {kTcpPcblist, kUdpPcblist}) {
        const std::optional<Bytes> list = backendreads::sysctlValue(backend, name);
        if (!list) {
            return std::string(name) + ": " + std::strerror(errno);
        }
        const std::vector<std::string> described = describeAll(walk(*list));
        lines.insert(lines.end(), described.begin(), described.end());
    }
    return sortedLines(lines) + "--\n" + sortedLines(expected);
}

} // namespace

TEST(SocketListNamespace, ListsHoldExactlyTheSocketsOpened) {
    const PrivateMountNamespace::Outcome outcome =
        PrivateMountNamespace::runWithPrivateNetwork(listOwnSockets);
    if (outcome.skips()) {
        GTEST_SKIP() << "no network namespace: " << outcome.text;
    }
    ASSERT_EQ(outcome.kind, PrivateMountNamespace::Outcome::Kind::Ran) << outcome.text;
    const size_t parting = outcome.text.find("--\n");
    ASSERT_NE(parting, std::string::npos) << outcome.text;
    EXPECT_EQ(outcome.text.substr(0, parting), outcome.text.substr(parting + 3));
}

// Whatever the host holds: each list parses record by record up to its closing header
// (or is the leading header alone), counted and dated by that header.
TEST(LiveHostSocketLists, ListsWalkToTheirClosingHeader) {
    LinuxBackend backend;
    for (const char* name : {kTcpPcblist, kUdpPcblist, kRawPcblist}) {
        SCOPED_TRACE(name);
        const std::optional<Bytes> list = backendreads::sysctlValue(backend, name);
        ASSERT_TRUE(list) << std::strerror(errno);
        const Walk walk = networkreads::walk(*list);
        EXPECT_TRUE(walk.endsCleanly);
        EXPECT_EQ(walk.records.size(), walk.header.count);
        EXPECT_EQ(walk.closing.has_value(), !walk.records.empty());
        for (const Bytes& record : walk.records) {
            EXPECT_LE(inpcb::Layout::decode(record.data() + 4).gencnt, walk.header.gen);
        }
    }
}
