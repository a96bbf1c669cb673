// The control-block lists of the running kernel: sockets opened in a private network
// namespace (root), and the host's own lists (LiveHost*, CTest label "live").
#include "PcbLists.h"

#include "platform/darwin/linux/LinuxBackend.h"
#include "support/PrivateMountNamespace.h"

#include <gtest/gtest.h>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <sstream>

using namespace darwin;
using namespace pcblists;

namespace {

// A socket of the namespace; -1 when any step fails (the lists then miss it).
int openSocket(int family, int type, int v6only = -1) {
    const int s = ::socket(family, type | SOCK_CLOEXEC, 0);
    if (v6only >= 0) {
        ::setsockopt(s, IPPROTO_IPV6, IPV6_V6ONLY, &v6only, sizeof v6only);
    }
    return s;
}

int bound(int s, const char* address, uint16_t port) {
    ::sockaddr_storage storage{};
    socklen_t length = 0;
    if (std::strchr(address, ':') != nullptr) {
        auto* in6 = reinterpret_cast<::sockaddr_in6*>(&storage);
        in6->sin6_family = AF_INET6;
        in6->sin6_port = htons(port);
        ::inet_pton(AF_INET6, address, &in6->sin6_addr);
        length = sizeof *in6;
    } else {
        auto* in = reinterpret_cast<::sockaddr_in*>(&storage);
        in->sin_family = AF_INET;
        in->sin_port = htons(port);
        ::inet_pton(AF_INET, address, &in->sin_addr);
        length = sizeof *in;
    }
    return ::bind(s, reinterpret_cast<::sockaddr*>(&storage), length) == 0 ? s : -1;
}

int connectedTo(int s, uint16_t port) {
    ::sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(port);
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return ::connect(s, reinterpret_cast<::sockaddr*>(&to), sizeof to) == 0 ? s : -1;
}

uint16_t localPort(int s) {
    ::sockaddr_in address{};
    socklen_t length = sizeof address;
    ::getsockname(s, reinterpret_cast<::sockaddr*>(&address), &length);
    return ntohs(address.sin_port);
}

std::string joined(std::vector<std::string> lines) {
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
    const int listener = bound(openSocket(AF_INET, SOCK_STREAM), "127.0.0.1", 7001);
    ::listen(listener, 4);
    const int client = connectedTo(openSocket(AF_INET, SOCK_STREAM), 7001);
    const int server = ::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
    const int v6only = bound(openSocket(AF_INET6, SOCK_STREAM, 1), "::", 7002);
    const int dual = bound(openSocket(AF_INET6, SOCK_STREAM, 0), "::", 7003);
    ::listen(v6only, 4);
    ::listen(dual, 4);
    const int udp = bound(openSocket(AF_INET, SOCK_DGRAM), "127.0.0.1", 7301);
    const int udpConnected =
        connectedTo(bound(openSocket(AF_INET, SOCK_DGRAM), "127.0.0.1", 7302), 7301);
    if (std::min({listener, client, server, v6only, dual, udp, udpConnected}) < 0) {
        return std::string("a socket could not be set up: ") + std::strerror(errno);
    }
    const std::string clientEnd = "127.0.0.1:" + std::to_string(localPort(client));
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
        const std::optional<Bytes> list = read(backend, name);
        if (!list) {
            return std::string(name) + ": " + std::strerror(errno);
        }
        const std::vector<std::string> described = describeAll(walk(*list));
        lines.insert(lines.end(), described.begin(), described.end());
    }
    return joined(lines) + "--\n" + joined(expected);
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
        const std::optional<Bytes> list = read(backend, name);
        ASSERT_TRUE(list) << std::strerror(errno);
        const Walk walk = pcblists::walk(*list);
        EXPECT_TRUE(walk.endsCleanly);
        EXPECT_EQ(walk.records.size(), walk.header.count);
        EXPECT_EQ(walk.closing.has_value(), !walk.records.empty());
        for (const Bytes& record : walk.records) {
            EXPECT_LE(inpcb::Layout::decode(record.data() + 4).gencnt, walk.header.gen);
        }
    }
}
