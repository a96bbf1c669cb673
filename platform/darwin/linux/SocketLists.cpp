#include "platform/darwin/linux/SocketLists.h"

#include "platform/darwin/SysctlRequest.h"
#include "platform/darwin/linux/HostFile.h"
#include "platform/darwin/linux/ProcNetRaw.h"
#include "platform/darwin/linux/SockDiagDump.h"

#include <netinet/in.h>
#include <sys/socket.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <utility>

namespace darwin {

namespace {

size_t indexOf(PcbListKind kind) {
    return static_cast<size_t>(kind);
}

} // namespace

SocketLists::SocketLists(std::string root, NetlinkConnector sockDiag, Clock now)
    : root_(std::move(root)), sockDiag_(std::move(sockDiag)), now_(std::move(now)) {}

std::optional<PcbListKind> SocketLists::listNamed(const char* name) {
    if (name == nullptr) {
        return std::nullopt;
    }
    if (std::strcmp(name, kTcpPcblist) == 0) {
        return PcbListKind::Tcp;
    }
    if (std::strcmp(name, kUdpPcblist) == 0) {
        return PcbListKind::Udp;
    }
    if (std::strcmp(name, kRawPcblist) == 0) {
        return PcbListKind::Raw;
    }
    return std::nullopt;
}

int SocketLists::answer(PcbListKind kind, const SysctlRequest& request) {
    if (request.offersNewValue()) {
        return SysctlRequest::fail(EPERM);
    }
    Dump dump;
    if (request.isSizeProbe()) {
        if (!read(kind, dump)) {
            return -1;
        }
        const size_t probeSize = pcbListProbeSize(kind, dump.sockets.size());
        keep(kind, std::move(dump));
        return request.reply(nullptr, 0, probeSize);
    }
    if (std::optional<Dump> kept = takeKept(kind)) {
        dump = std::move(*kept);
    } else if (!read(kind, dump)) {
        return -1;
    }
    const size_t count = dump.sockets.size();
    return request.replyWritten(pcbListSize(kind, count), pcbListProbeSize(kind, count),
                                [&dump, kind](unsigned char* out) {
                                    writePcbList(kind, dump.sockets, dump.generation, out);
                                });
}

bool SocketLists::read(PcbListKind kind, Dump& dump) {
    const size_t expected = lastCount_[indexOf(kind)].load(std::memory_order_relaxed);
    dump.sockets.reserve(expected + expected / 8 + 16);
    bool read = false;
    if (kind == PcbListKind::Raw) {
        read = readRaw(dump.sockets);
    } else if (const std::unique_ptr<NetlinkSource> source = sockDiag_()) {
        read = kind == PcbListKind::Tcp
                   ? readSockDiagDump(*source, {AF_UNSPEC, IPPROTO_TCP}, dump.sockets)
                   : readSockDiag(*source, IPPROTO_UDP, dump.sockets);
    }
    if (!read) {
        return false;
    }
    dump.generation = ++generation_;
    dump.readAt = now_();
    lastCount_[indexOf(kind)].store(dump.sockets.size(), std::memory_order_relaxed);
    return true;
}

bool SocketLists::readSockDiag(NetlinkSource& source, uint8_t protocol,
                               std::vector<InetSocket>& into) const {
    const size_t start = into.size();
    if (readSockDiagDump(source, {AF_INET, protocol}, into) &&
        readSockDiagDump(source, {AF_INET6, protocol}, into)) {
        return true;
    }
    into.resize(start);
    return false;
}

// Kernels built without raw socket dumps answer ENOENT: no handler for the protocol.
bool SocketLists::readRaw(std::vector<InetSocket>& into) const {
    const std::unique_ptr<NetlinkSource> source = sockDiag_();
    if (source && readSockDiag(*source, IPPROTO_RAW, into)) {
        return true;
    }
    return errno == ENOENT && readProcNetRaw(into);
}

// raw6 is missing where IPv6 is off: no IPv6 raw sockets, then.
bool SocketLists::readProcNetRaw(std::vector<InetSocket>& into) const {
    const std::optional<std::string> raw = readHostFile(pathUnderRoot(root_, "/proc/net/raw"));
    if (!raw) {
        return false;
    }
    const std::optional<std::string> raw6 = readHostFile(pathUnderRoot(root_, "/proc/net/raw6"));
    if (!raw6 && errno != ENOENT) {
        return false;
    }
    if (!darwin::readProcNetRaw(*raw, AF_INET, into) ||
        (raw6 && !darwin::readProcNetRaw(*raw6, AF_INET6, into))) {
        errno = EIO;
        return false;
    }
    return true;
}

void SocketLists::keep(PcbListKind kind, Dump dump) {
    std::lock_guard lock(mutex_);
    kept_[indexOf(kind)] = std::move(dump);
}

// Takes the sockets a probe kept, while they are recent; lists kept too long go.
std::optional<SocketLists::Dump> SocketLists::takeKept(PcbListKind kind) {
    std::optional<Dump> taken;
    std::lock_guard lock(mutex_);
    const TimePoint now = now_();
    std::swap(taken, kept_[indexOf(kind)]);
    for (std::optional<Dump>& kept : kept_) {
        if (kept && now - kept->readAt >= kLifetime) {
            kept.reset();
        }
    }
    if (taken && now - taken->readAt >= kLifetime) {
        taken.reset();
    }
    return taken;
}

} // namespace darwin
