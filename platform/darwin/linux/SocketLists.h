#pragma once

#include "platform/darwin/linux/InetSocket.h"
#include "platform/darwin/linux/NetlinkSource.h"
#include "platform/darwin/linux/SocketMapping.h"

#include <array>
#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace darwin {

class SysctlRequest;

// The control-block lists sysctlbyname("net.inet.tcp.pcblist", "net.inet.udp.pcblist",
// "net.inet.raw.pcblist") answers, made from socket dumps of the calling process's
// network namespace: TCP from one sock_diag dump of both families, UDP from one of
// AF_INET then one of AF_INET6; raw sockets from sock_diag too where the kernel dumps
// them, else from <root>/proc/net/raw and raw6.
//
// A size probe has to dump to count. So that the fill right after it does not dump
// again, the probe keeps its sockets (compactly, not as records) for kLifetime, and the
// next fill of the same list takes them; a later fill, or one without a probe, dumps
// afresh. The fill writes its records straight into the caller's buffer. Every dump
// takes the next value of the lists' generation counter. Thread-safe.
class SocketLists {
public:
    using TimePoint = std::chrono::steady_clock::time_point;
    using Clock = std::function<TimePoint()>;

    static constexpr std::chrono::milliseconds kLifetime{1000};

    SocketLists(std::string root, NetlinkConnector sockDiag, Clock now);

    // The list a sysctl name asks for, if any.
    static std::optional<PcbListKind> listNamed(const char* name);

    int answer(PcbListKind kind, const SysctlRequest& request);

private:
    struct Dump {
        std::vector<InetSocket> sockets;
        uint64_t generation = 0;
        TimePoint readAt;
    };

    bool read(PcbListKind kind, Dump& dump);
    bool readSockDiag(NetlinkSource& source, uint8_t protocol, std::vector<InetSocket>& into) const;
    bool readRaw(std::vector<InetSocket>& into) const;
    bool readProcNetRaw(std::vector<InetSocket>& into) const;
    void keep(PcbListKind kind, Dump dump);
    std::optional<Dump> takeKept(PcbListKind kind);

    std::string root_;
    NetlinkConnector sockDiag_;
    Clock now_;
    std::atomic<uint64_t> generation_{0};
    std::mutex mutex_;
    std::array<std::optional<Dump>, 3> kept_;
    std::array<std::atomic<size_t>, 3> lastCount_{}; // what the last dump found: room to reserve
};

} // namespace darwin
