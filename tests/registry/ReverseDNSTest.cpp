#include "registry/ReverseDNS.h"

#include "registry/dnsReply.h"
#include "support/EventLoop.h"
#include "tests/registry/DnsResponder.h"

#include <QByteArray>

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <functional>
#include <memory>
#include <thread>

namespace {

// The question of the queries the tests make, for 192.0.2.1: a record's data begins
// at byte 52 (0x34).
const QByteArray rawQuestion = wireName("1.2.0.192.in-addr.arpa") + big16(12) + big16(1);

struct Parsed {
    int result;
    std::vector<std::string> answers;
};

// Parses a copy in a buffer of its exact size, so that a read past it is a fault.
Parsed parse(const QByteArray& bytes, int type = dns_type_ptr) {
    const auto copy = std::make_unique<uint8_t[]>(static_cast<size_t>(bytes.size()));
    std::copy(bytes.begin(), bytes.end(), copy.get());
    Parsed parsed;
    parsed.result =
        dns_reply_answers(copy.get(), static_cast<size_t>(bytes.size()), type, parsed.answers);
    return parsed;
}

// A CNAME whose data fills the reply past the answer buffer's size.
QByteArray longCname() {
    QByteArray alias;
    for (int i = 0; i < 8; ++i) {
        alias += QByteArray(60, 'a' + static_cast<char>(i)) + '.';
    }
    return cname(alias + "example");
}

struct ReplyCase {
    const char* name;
    Reply reply;
    std::vector<std::string> expected; // the answers kept; none: the result is -1
};

const std::vector<ReplyCase>& replyCases() {
    static const std::vector<ReplyCase> cases = {
        {"several PTRs, first kept first",
         {{ptr("first.example"), ptr("second.example")}},
         {"first.example", "second.example"}},
        {"CNAME then PTR",
         {{cname("4.0/24.3.2.1.in-addr.arpa"), ptr("host.example")}},
         {"host.example"}},
        {"no such name", {{}, 3}, {}},
        {"server failure with a PTR", {{ptr("host.example")}, 2}, {}},
        {"cut inside the PTR's name", {{ptr("host.example")}, 0, -1, 52 + 5}, {}},
        {"compression pointer past the end", {{record(12, QByteArray::fromHex("c0ff"))}}, {}},
        {"compression pointer to itself", {{record(12, QByteArray::fromHex("c034"))}}, {}},
        {"data length past the end", {{record(12, wireName("host.example"), 200)}}, {}},
        {"name longer than its data", {{record(12, wireName("host.example"), 4)}}, {}},
        {"more answers counted than present", {{cname("other.example")}, 0, 3}, {}},
        {"answers counted past a PTR", {{ptr("host.example")}, 0, 3}, {"host.example"}},
        {"PTR past the answer buffer's size", {{longCname(), ptr("host.example")}}, {}},
        {"PTR before the cut at the answer buffer's size",
         {{ptr("host.example"), longCname()}},
         {"host.example"}},
    };
    return cases;
}

TEST(DnsReplyTest, KeepsTheAnswersOfTheAskedTypeAndStopsAtTheFirstFault) {
    for (const ReplyCase& c : replyCases()) {
        const Parsed parsed = parse(build(c.reply, big16(7), rawQuestion));
        EXPECT_EQ(parsed.result, c.expected.empty() ? -1 : 0) << c.name;
        EXPECT_EQ(parsed.answers, c.expected) << c.name;
    }
}

TEST(DnsReplyTest, EveryCutOfAReplyKeepsAtMostItsLeadingAnswers) {
    const QByteArray whole = build(
        {{cname("x.example"), ptr("first.example"), ptr("second.example")}}, big16(7), rawQuestion);
    for (int length = 0; length <= whole.size(); ++length) {
        const Parsed parsed = parse(whole.left(length));
        ASSERT_LE(parsed.answers.size(), 2u) << length;
        EXPECT_EQ(parsed.result, parsed.answers.empty() ? -1 : 0) << length;
        if (!parsed.answers.empty()) {
            EXPECT_EQ(parsed.answers.front(), "first.example") << length;
        }
    }
}

TEST(DnsReplyTest, AddressAnswersAreDottedQuadsOfFourBytes) {
    const QByteArray question = wireName("host.example") + big16(1) + big16(1);
    const auto a = [&](const QByteArray& data) {
        return parse(build({{record(1, data)}}, big16(7), question), dns_type_a);
    };
    EXPECT_EQ(a(QByteArray::fromHex("c0000201")).answers, std::vector<std::string>{"192.0.2.1"});
    EXPECT_EQ(a(QByteArray::fromHex("c00002")).result, -1);
    EXPECT_EQ(a(QByteArray::fromHex("c000020105")).result, -1);
}

class Receiver : public QObject, public ReverseDNSDelegate {
public:
    void reverseDNSFoundHostname(ReverseDNS* sender, const QString& hostname) override {
        senders.append(sender);
        hostnames.append(hostname);
    }
    void reverseDNSQueryEnded(ReverseDNS* /*sender*/) override { ++ended; }
    QList<ReverseDNS*> senders;
    QStringList hostnames;
    int ended = 0;
};

// Waits for the background queries and the calls they queued.
void settle() {
    ASSERT_TRUE(ReverseDNS::waitForQueries(30000));
    testenv::flushEvents();
}

TEST(ReverseDNSTest, ReverseNamesAreTheAddressBytesBackwardsUnderInAddrArpa) {
    EXPECT_EQ(ReverseDNS::reverseName("192.0.2.10"), "10.2.0.192.in-addr.arpa.");
    EXPECT_EQ(ReverseDNS::reverseName("0.0.0.0"), "0.0.0.0.in-addr.arpa.");
    EXPECT_EQ(ReverseDNS::reverseName("192.0.2"), "");
    EXPECT_EQ(ReverseDNS::reverseName("example"), "");
}

TEST(ReverseDNSTest, TheDelegateHearsTheFirstNameOfAGoodReplyAndNothingElse) {
    for (const ReplyCase& c : replyCases()) {
        DnsResponder responder([&c](const QByteArray& id, const QByteArray& question) {
            return build(c.reply, id, question);
        });
        ReverseDNS dns;
        Receiver receiver;
        dns.setDelegate(&receiver);
        dns.lookupHostnameByIPAddress("192.0.2.1");
        settle();
        EXPECT_GE(responder.queries(), 1) << c.name;
        const QStringList expected =
            c.expected.empty() ? QStringList{} : QStringList{QString::fromStdString(c.expected[0])};
        EXPECT_EQ(receiver.hostnames, expected) << c.name;
        EXPECT_TRUE(receiver.senders.isEmpty() || receiver.senders.front() == &dns) << c.name;
        EXPECT_EQ(receiver.ended, 1) << c.name;
    }
}

TEST(ReverseDNSTest, AQueryNotAllowedToStartStillEnds) {
    ReverseDNS::setBackgroundQueriesAllowed(false);
    ReverseDNS dns;
    Receiver receiver;
    dns.setDelegate(&receiver);
    dns.lookupHostnameByIPAddress("192.0.2.1");
    dns.lookupHostnameByIPAddress("not an address");
    settle();
    ReverseDNS::setBackgroundQueriesAllowed(true);
    EXPECT_TRUE(receiver.hostnames.isEmpty());
    EXPECT_EQ(receiver.ended, 2);
}

TEST(ReverseDNSTest, SynchronousLookupKeepsEveryNameAndTheFirstAsHost) {
    DnsResponder responder([](const QByteArray& id, const QByteArray& question) {
        return build({{ptr("one.example"), ptr("two.example")}}, id, question);
    });
    ReverseDNS dns;
    EXPECT_EQ(dns.lookupWithAddress("192.0.2.1"), (QStringList{"one.example", "two.example"}));
    EXPECT_EQ(dns.host(), "one.example");
}

TEST(ReverseDNSTest, AnswersForADestroyedDelegateOrSenderGoNowhere) {
    DnsResponder responder(
        [](const QByteArray& id, const QByteArray& question) {
            return build({{ptr("host.example")}}, id, question);
        },
        /*held=*/true);
    ReverseDNS kept, lostDelegate;
    auto lostSender = std::make_unique<ReverseDNS>();
    Receiver keptReceiver, senderGoneReceiver;
    auto goneReceiver = std::make_unique<Receiver>();
    kept.setDelegate(&keptReceiver);
    lostDelegate.setDelegate(goneReceiver.get());
    lostSender->setDelegate(&senderGoneReceiver);
    for (ReverseDNS* dns : {&kept, &lostDelegate, lostSender.get()}) {
        dns->lookupHostnameByIPAddress("192.0.2.1");
    }
    ASSERT_TRUE(testenv::processEventsUntil([&] { return responder.queries() >= 3; }));
    goneReceiver.reset();
    lostSender.reset();
    responder.release();
    settle();
    EXPECT_EQ(keptReceiver.hostnames, QStringList{"host.example"});
    EXPECT_TRUE(senderGoneReceiver.hostnames.isEmpty());
    EXPECT_EQ(lostDelegate.delegate(), nullptr);
}

} // namespace
