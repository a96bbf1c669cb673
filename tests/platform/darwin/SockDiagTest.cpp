// The control-block lists of the Linux backend over recorded socket dumps
// (tests/fixtures/sock-diag; the sockets are listed in tools/netlink/record-sock-diag).
#include "BackendReads.h"
#include "NetworkReads.h"
#include "RecordBytes.h"
#include "RecordedNetlink.h"

#include "platform/darwin/linux/LinuxBackend.h"
#include "platform/darwin/linux/SocketMapping.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <linux/inet_diag.h>
#include <linux/sock_diag.h>
#include <netinet/in.h>

#include <filesystem>
#include <fstream>

using namespace darwin;
using namespace networkreads;
using namespace recordbytes;

namespace {

const RecordedNetlink::Key kTcpDump{TCPDIAG_GETSOCK, AF_INET};
const RecordedNetlink::Key kUdp4Dump{SOCK_DIAG_BY_FAMILY, AF_INET, IPPROTO_UDP};
const RecordedNetlink::Key kUdp6Dump{SOCK_DIAG_BY_FAMILY, AF_INET6, IPPROTO_UDP};
const RecordedNetlink::Key kRaw4Dump{SOCK_DIAG_BY_FAMILY, AF_INET, IPPROTO_RAW};
const RecordedNetlink::Key kRaw6Dump{SOCK_DIAG_BY_FAMILY, AF_INET6, IPPROTO_RAW};

// The recorded sockets; raw ones from the fixture root's /proc/net/raw and raw6, as the
// recording's kernel does not dump them.
struct Host {
    RecordedNetlink netlink{
        "sock-diag",
        {{kTcpDump, "tcp.bin"}, {kUdp4Dump, "udp-inet.bin"}, {kUdp6Dump, "udp-inet6.bin"}}};
    std::chrono::steady_clock::time_point now{};
    LinuxBackend backend{testenv::fixturePath("linux-root-net").toStdString(),
                         [this] { return now; }, netlink.connector()};
};

Walk readList(LinuxBackend& backend, const char* name) {
    const std::optional<Bytes> list = backendreads::sysctlValue(backend, name);
    EXPECT_TRUE(list) << name << ": " << std::strerror(errno);
    return walk(list.value_or(Bytes{}));
}

} // namespace

// Kernel order (TCP: one dump of both families; UDP: AF_INET first). IPv6 sockets carrying IPv4
// (v4-mapped ends) read as IPv4 ones; a dual-stack listener has both flags, a v6-only one INP_IPV6
// alone.
TEST(SockDiagLists, RecordedDumpsGiveTheDeviceRecords) {
    Host host;
    EXPECT_EQ(describeAll(readList(host.backend, kTcpPcblist)),
              (std::vector<std::string>{
                  "tcp4 inet 127.0.0.1:5001 0.0.0.0:0 LISTEN",
                  "tcp4 inet 127.0.0.1:5004 0.0.0.0:0 LISTEN",
                  "tcp6 inet6 [::1]:5002 [::]:0 LISTEN",
                  "tcp46 inet6 0.0.0.0:5003 0.0.0.0:0 LISTEN",
                  "tcp4 inet6 127.0.0.1:5003 127.0.0.1:50132 ESTABLISHED",
                  "tcp4 inet 127.0.0.1:50132 127.0.0.1:5003 ESTABLISHED",
                  "tcp4 inet 127.0.0.1:5001 127.0.0.1:33924 ESTABLISHED",
                  "tcp4 inet 127.0.0.1:5001 127.0.0.1:33936 ESTABLISHED",
                  "tcp4 inet 127.0.0.1:5001 127.0.0.1:33904 CLOSE_WAIT",
                  "tcp6 inet6 [::1]:5002 [::1]:39626 ESTABLISHED",
                  "tcp4 inet 127.0.0.1:5001 127.0.0.1:33930 ESTABLISHED",
                  "tcp4 inet 127.0.0.1:5001 127.0.0.1:33894 ESTABLISHED",
                  "tcp6 inet6 [::1]:39626 [::1]:5002 ESTABLISHED",
                  "tcp4 inet 127.0.0.1:33894 127.0.0.1:5001 ESTABLISHED",
                  "tcp4 inet 127.0.0.1:33904 127.0.0.1:5001 FIN_WAIT_2",
                  "tcp4 inet 127.0.0.1:33910 127.0.0.1:5001 TIME_WAIT",
                  "tcp4 inet6 127.0.0.1:33924 127.0.0.1:5001 ESTABLISHED",
                  "tcp4 inet 127.0.0.1:33930 127.0.0.1:5001 ESTABLISHED",
                  "tcp4 inet 127.0.0.1:33936 127.0.0.1:5001 ESTABLISHED",
              }));
    EXPECT_EQ(describeAll(readList(host.backend, kUdpPcblist)),
              (std::vector<std::string>{
                  "udp4 inet 127.0.0.1:5301 0.0.0.0:0",
                  "udp4 inet 127.0.0.1:5302 127.0.0.1:5301",
                  "udp6 inet6 [::1]:5303 [::]:0",
                  "udp46 inet6 0.0.0.0:5304 0.0.0.0:0",
                  "udp4 inet6 127.0.0.1:52376 127.0.0.1:5301",
              }));
    EXPECT_EQ(describeAll(readList(host.backend, kRawPcblist)),
              (std::vector<std::string>{
                  "raw4 inet 0.0.0.0:0 0.0.0.0:0 proto 255",
                  "raw4 inet 0.0.0.0:0 0.0.0.0:0 proto 1",
                  "raw6 inet6 [::]:0 [::]:0 proto 58",
              }));
}

// Offsets of darwin-abi.md 6.3; every byte not listed is zero.
TEST(SockDiagLists, RecordsHoldTheirFieldsAtTheDeviceOffsets) {
    Host host;
    const Walk tcp = readList(host.backend, kTcpPcblist);
    ASSERT_EQ(tcp.records.size(), 19u);
    const std::string loopback("\x7f\0\0\1", 4);
    // The accepting end of 127.0.0.1:33894 → :5001, 5 bytes unread.
    expectRecord(tcp.records[11],
                 {at(0, 524u), chars(20, "\x84\x66"), chars(22, "\x13\x89"), at(64, uint64_t{1}),
                  at(80, uint8_t{INP_IPV4}), chars(96, loopback), chars(112, loopback),
                  at(244, TCPS_ESTABLISHED), at(416, 100u), at(424, int16_t{1}), at(436, 6),
                  at(440, 2), at(464, 5u)});
    // The listener on :5004 opened by uid 1000: accept queue 0 of 4.
    expectRecord(tcp.records[1],
                 {at(0, 524u), chars(22, "\x13\x8c"), at(64, uint64_t{1}),
                  at(80, uint8_t{INP_IPV4}), chars(112, loopback), at(244, TCPS_LISTEN),
                  at(416, 100u), at(424, int16_t{1}), at(426, SO_ACCEPTCONN_DARWIN), at(436, 6),
                  at(440, 2), at(448, int16_t{4}), at(512, 1000u)});
    EXPECT_EQ(tcp.records[0][444], 2) << "so_qlen of :5001, two connections waiting";
    // The IPv6 socket on ::ffff:127.0.0.1: the IPv4 address in the last 4 bytes only.
    expectRecord(Bytes(tcp.records[16].begin() + 84, tcp.records[16].begin() + 116),
                 {chars(12, loopback), chars(28, loopback)});

    const Walk udp = readList(host.backend, kUdpPcblist);
    ASSERT_EQ(udp.records.size(), 5u);
    expectRecord(udp.records[1],
                 {at(0, 320u), chars(20, "\x14\xb5"), chars(22, "\x14\xb6"), at(64, uint64_t{2}),
                  at(80, uint8_t{INP_IPV4}), chars(96, loopback), chars(112, loopback),
                  at(212, 100u), at(220, int16_t{2}), at(232, 17), at(236, 2)});
}

// No sockets: the leading header alone, as the device's kernel answers; the probe still
// asks for room for two headers.
TEST(SockDiagLists, EmptyListIsTheLeadingHeaderAlone) {
    Host host;
    host.netlink.dumps[kUdp4Dump] = host.netlink.dumps[kUdp6Dump] = RecordedNetlink::doneMessage();
    size_t probe = 0;
    ASSERT_EQ(host.backend.sysctlbyname(kUdpPcblist, nullptr, &probe, nullptr, 0), 0);
    EXPECT_EQ(probe, 48u);
    const std::optional<Bytes> list = backendreads::sysctlValue(host.backend, kUdpPcblist);
    ASSERT_TRUE(list);
    EXPECT_EQ(list->size(), 24u);
    EXPECT_TRUE(walk(*list).endsCleanly);
}

// The probe's dump serves the fill that follows it; a later fill, or one without a
// probe, dumps again. The probe leaves the device's slack: 2 × 24 + (n + n/8) × 524. The
// list's leading and closing headers count the records and date them: one generation a
// dump.
TEST(SockDiagLists, FillRightAfterTheProbeUsesTheProbesDump) {
    Host host;
    size_t probe = 0;
    ASSERT_EQ(host.backend.sysctlbyname(kTcpPcblist, nullptr, &probe, nullptr, 0), 0);
    EXPECT_EQ(probe, 48 + (19 + 2) * 524u);
    Bytes list(probe);
    size_t length = probe;
    ASSERT_EQ(host.backend.sysctlbyname(kTcpPcblist, list.data(), &length, nullptr, 0), 0);
    EXPECT_EQ(length, 48 + 19 * 524u);
    EXPECT_EQ(host.netlink.requests.size(), 1u);

    ASSERT_EQ(host.backend.sysctlbyname(kTcpPcblist, nullptr, &probe, nullptr, 0), 0);
    host.now += SocketLists::kLifetime;
    length = probe;
    ASSERT_EQ(host.backend.sysctlbyname(kTcpPcblist, list.data(), &length, nullptr, 0), 0);
    EXPECT_EQ(host.netlink.requests.size(), 3u);
    const Walk third = walk(Bytes(list.begin(), list.begin() + static_cast<ptrdiff_t>(length)));
    EXPECT_EQ(third.header, (Xinpgen{24, 19, 3, 3}));
    EXPECT_EQ(third.closing.value_or(Xinpgen{}), third.header);
    EXPECT_TRUE(third.endsCleanly);
}

TEST(SockDiagLists, SysctlRulesForTheLists) {
    Host host;
    size_t length = 48 + 5 * 320 - 1;
    Bytes list(length, 0xaa);
    EXPECT_EQ(host.backend.sysctlbyname(kUdpPcblist, list.data(), &length, nullptr, 0), -1);
    EXPECT_EQ(errno, ENOMEM);
    EXPECT_EQ(length, 48 + 5 * 320 - 1u);
    EXPECT_EQ(list, Bytes(length, 0xaa));
    const int value = 1;
    EXPECT_EQ(host.backend.sysctlbyname(kUdpPcblist, nullptr, &length, &value, sizeof value), -1);
    EXPECT_EQ(errno, EPERM);
    EXPECT_EQ(host.backend.sysctlbyname("net.inet.icmp.pcblist", nullptr, &length, nullptr, 0), -1);
    EXPECT_EQ(errno, ENOENT);
}

// The requests as the kernel reads them (linux/inet_diag.h), the socket numbering them:
// TCP as one TCPDIAG_GETSOCK (inet_diag_req: family AF_INET, states at 52), the others
// as SOCK_DIAG_BY_FAMILY (inet_diag_req_v2: family, protocol, states at 4), raw ones
// with the protocol once more as INET_DIAG_REQ_PROTOCOL. Every state but
// TCP_BOUND_INACTIVE (13).
TEST(SockDiagLists, RequestBytes) {
    Host host;
    host.netlink.dumps[kRaw4Dump] = host.netlink.dumps[kRaw6Dump] = RecordedNetlink::doneMessage();
    for (const char* list : {kTcpPcblist, kUdpPcblist, kRawPcblist}) {
        readList(host.backend, list);
    }
    const uint16_t dump = NLM_F_REQUEST | NLM_F_DUMP;
    const uint32_t states = ~(1u << 13);
    const auto byFamily = [&](uint8_t family, uint8_t protocol) {
        std::vector<Expected> fields = {at<uint16_t>(4, SOCK_DIAG_BY_FAMILY), at(6, dump),
                                        at(16, family), at(17, protocol), at(20, states)};
        if (protocol == IPPROTO_RAW) {
            fields.insert(fields.end(),
                          {at<uint16_t>(72, 8), at<uint16_t>(74, INET_DIAG_REQ_PROTOCOL),
                           at<uint32_t>(76, IPPROTO_RAW)});
        }
        return fields;
    };
    const std::pair<uint32_t, std::vector<Expected>> expected[] = {
        {76,
         {at<uint16_t>(4, TCPDIAG_GETSOCK), at(6, dump), at<uint8_t>(16, AF_INET), at(68, states)}},
        {72, byFamily(AF_INET, IPPROTO_UDP)},
        {72, byFamily(AF_INET6, IPPROTO_UDP)},
        {80, byFamily(AF_INET, IPPROTO_RAW)},
        {80, byFamily(AF_INET6, IPPROTO_RAW)},
    };
    const std::vector<Bytes>& sent = host.netlink.requests;
    ASSERT_EQ(sent.size(), std::size(expected));
    for (size_t i = 0; i < sent.size(); ++i) {
        SCOPED_TRACE(i);
        auto [length, fields] = expected[i];
        EXPECT_EQ(sent[i].size(), length);
        fields.push_back(at(0, length));
        expectRecord(sent[i], fields);
    }
}

// A dump the kernel marks as disturbed is read again; one that stays so fails.
TEST(SockDiagLists, InterruptedDumpIsReadAgain) {
    Host host;
    Bytes interrupted = host.netlink.dumps.at(kTcpDump);
    RecordedNetlink::put<uint16_t>(interrupted, 6, NLM_F_MULTI | NLM_F_DUMP_INTR); // 1st message
    host.netlink.answerNext(kTcpDump, {{{interrupted}}});
    EXPECT_EQ(readList(host.backend, kTcpPcblist).records.size(), 19u);
    EXPECT_EQ(host.netlink.requests.size(), 2u);

    host.netlink.answerNext(kTcpDump, std::vector<RecordedNetlink::Answer>(4, {{interrupted}}));
    size_t length = 0;
    EXPECT_EQ(host.backend.sysctlbyname(kTcpPcblist, nullptr, &length, nullptr, 0), -1);
    EXPECT_EQ(errno, EIO);
}

// Whatever does not parse fails the whole call: no list, nothing written. (How the walk
// checks message and attribute lengths, the rtnetlink cases show.)
TEST(SockDiagLists, MalformedDumpsFailTheCall) {
    const size_t doneLength = NLMSG_LENGTH(sizeof(int));
    // The first message cut to 56 bytes (40 of inet_diag_msg's 72), then NLMSG_DONE.
    const auto shortFirstMessage = [&](Bytes& b) {
        b.resize(56);
        RecordedNetlink::put<uint32_t>(b, 0, 56);
        const Bytes done = RecordedNetlink::doneMessage();
        b.insert(b.end(), done.begin(), done.end());
    };
    const struct {
        const char* what;
        std::function<void(Bytes&)> spoil;
        int error;
    } cases[] = {
        {"message shorter than inet_diag_msg", shortFirstMessage, EIO},
        {"answer without NLMSG_DONE", [&](Bytes& b) { b.resize(b.size() - doneLength); }, EIO},
        {"NLMSG_OVERRUN", [](Bytes& b) { RecordedNetlink::put<uint16_t>(b, 4, NLMSG_OVERRUN); },
         EIO},
        {"NLMSG_DONE carrying an error",
         [](Bytes& b) { RecordedNetlink::put(b, b.size() - 4, -ENOBUFS); }, ENOBUFS},
        {"the kernel's refusal", [](Bytes& b) { b = RecordedNetlink::errorMessage(EACCES); },
         EACCES},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Host host;
        c.spoil(host.netlink.dumps.at(kTcpDump));
        Bytes list(20000, 0xaa);
        size_t length = list.size();
        EXPECT_EQ(host.backend.sysctlbyname(kTcpPcblist, list.data(), &length, nullptr, 0), -1);
        EXPECT_EQ(errno, c.error);
        EXPECT_EQ(list, Bytes(20000, 0xaa));
    }
}

// Kernels that dump raw sockets give their protocol as the local port.
TEST(SockDiagLists, RawSocketsFromTheKernelsDump) {
    Host host;
    const Bytes& udp = host.netlink.dumps.at(kUdp4Dump);
    Bytes icmp(udp.begin(), udp.begin() + 124);
    RecordedNetlink::put<uint16_t>(icmp, NLMSG_HDRLEN + 4, htons(IPPROTO_ICMP)); // idiag_sport
    const Bytes done = RecordedNetlink::doneMessage();
    icmp.insert(icmp.end(), done.begin(), done.end());
    host.netlink.dumps[kRaw4Dump] = icmp;
    host.netlink.dumps[kRaw6Dump] = done;
    EXPECT_EQ(describeAll(readList(host.backend, kRawPcblist)),
              std::vector<std::string>{"raw4 inet 127.0.0.1:0 0.0.0.0:0 proto 1"});
}

// Without raw6 (IPv6 off) the IPv4 raw sockets alone. A raw UDP socket keeps its
// protocol in inp_ip_p; its socket is the device's wildcard raw one (protocol 0). A line
// that does not parse fails the list.
TEST(SockDiagLists, RawTableFromProc) {
    const std::string root = testenv::makeTempDir("raw").toStdString();
    std::filesystem::create_directories(root + "/proc/net");
    const std::string heading = "  sl  local_address rem_address   st tx_queue rx_queue tr "
                                "tm->when retrnsmt   uid  timeout inode\n";
    std::ofstream(root + "/proc/net/raw")
        << heading
        << "   1: 0100007F:0011 00000000:0000 07 00000000:00000200 00:00000000 "
           "00000000  1000        0 4242 2 0 0\n";
    RecordedNetlink noDumps("sock-diag", {});
    LinuxBackend backend(root, RecentProcessTable::steadyNow, noDumps.connector());
    const Walk raw = readList(backend, kRawPcblist);
    EXPECT_EQ(describeAll(raw),
              std::vector<std::string>{"raw4 inet 127.0.0.1:0 0.0.0.0:0 proto 17"});
    ASSERT_EQ(raw.records.size(), 1u);
    EXPECT_EQ(xinpcb::Layout::decode(raw.records[0].data()).socket,
              (Xsocket{100, SOCK_RAW_DARWIN, 0, 0, 0, 0, AF_INET_DARWIN, 0, 0, 0, 0x200, 0, 1000}));

    std::ofstream(root + "/proc/net/raw") << heading << "   1: 0100007F 00000000:0000 07\n";
    size_t length = 0;
    EXPECT_EQ(backend.sysctlbyname(kRawPcblist, nullptr, &length, nullptr, 0), -1);
    EXPECT_EQ(errno, EIO);
}

TEST(SockDiagLists, TcpStatesMapByMeaning) {
    const std::pair<uint8_t, int32_t> states[] = {
        {1, TCPS_ESTABLISHED}, {2, TCPS_SYN_SENT},  {3, TCPS_SYN_RECEIVED}, {4, TCPS_FIN_WAIT_1},
        {5, TCPS_FIN_WAIT_2},  {6, TCPS_TIME_WAIT}, {7, TCPS_CLOSED},       {8, TCPS_CLOSE_WAIT},
        {9, TCPS_LAST_ACK},    {10, TCPS_LISTEN},   {11, TCPS_CLOSING},     {12, TCPS_SYN_RECEIVED},
        {13, TCPS_CLOSED},     {0, TCPS_CLOSED},    {200, TCPS_CLOSED},
    };
    for (const auto& [linuxState, deviceState] : states) {
        EXPECT_EQ(deviceTcpState(linuxState), deviceState) << int{linuxState};
    }
}
