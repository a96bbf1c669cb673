#include "app/HeadlessRunner.h"
#include "tests/app/LaunchedApp.h"
#include "tests/network/NetworkScreensFixture.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {

using Kind = HeadlessRequest::Kind;

class NetworkDumpTest : public ::testing::Test {
protected:
    void SetUp() override { app.launch(); }

    QString dump(const QString& screen) {
        QString text;
        error.clear();
        EXPECT_TRUE(HeadlessRunner::dumpScreen(*app.controller, screen, false, &text, &error))
            << screen.toStdString() << ": " << error.toStdString();
        return text;
    }

    NetworkScreensFixture host;
    LaunchedApp app{host.kernel};
    QString error;
};

TEST_F(NetworkDumpTest, EveryNetworkScreenOverATypicalHost) {
    const struct {
        const char* screen;
        const char* text;
    } goldens[] = {
        {"network", "== Network Status\n-- Interfaces\nlo0\t16384\t\nen0\t1500\t00:11:22:33:44:55\n"
                    "-- Routes and Sockets\nRouting Table\nTCP Sockets\nUDP Sockets\n"},
        {"network/interface/lo0", "== Interface\n--\nName\tlo0\nType\tloopback\n"
                                  "Address\t127.0.0.1/8\nPeer\t127.0.0.1\nNetmask\t255.0.0.0\n"
                                  "Network\t127.0.0.0\nMTU\t16384\nLink Address\t\n"
                                  "Packets In\t1,200\nErrors In\t0\nPackets Out\t1,200\n"
                                  "Errors Out\t0\nCollisions\t0\nDrops\t0\n"},
        {"network/routing", "== Routing Table\n--\ndefault\t192.168.1.1\t\n"
                            "127.0.0.1\t127.0.0.1\t\n192.168.1.1\t00:aa:bb:cc:dd:ee\t\n"
                            "133.5.6.7\t192.168.1.1\tJP\n"},
        {"network/route/1", "== Route\n--\nDestination\tdefault\nGateway\t192.168.1.1\nUse\t12\n"
                            "Info\tRoute usable\nInfo\tDestination is a gateway\n"
                            "Info\tManually added\n"},
        {"network/tcp", "== TCP Sockets\n-- TCP\n*:22\tssh\n133.5.6.7:443\tESTABLISHED\n"},
        {"network/udp", "== UDP Sockets\n-- UDP\n*:53\tdomain\n*:*\tunknown\n"
                        "192.168.1.1:53\tCONNECTING\n"},
        // The local port is the connected socket's, from the list of the peer's protocol.
        {"network/peer/192.168.1.1:53/udp",
         "== Peer\n--\nDestination\t192.168.1.1\nPeer Port\t53 (domain)\n"
         "Service\tDomain Name Server\nLocal Port\t40000 (safetynetp)\nService\tSafetyNET p\n"},
    };
    for (const auto& [screen, text] : goldens) {
        EXPECT_EQ(dump(QString::fromLatin1(screen)), QString::fromLatin1(text)) << screen;
    }
    EXPECT_TRUE(dump("network/peer/133.5.6.7:443/tcp").endsWith("Local Port\t50000 (unknown)\n"));
    EXPECT_TRUE(dump("network/peer/*:0/tcp").endsWith("Local Port\t0 (unknown)\n"))
        << "a listener's *:0 is no peer";
}

TEST_F(NetworkDumpTest, AnInterfaceOrRouteThatIsNotThereIsAnError) {
    QString text;
    const struct {
        const char* screen;
        const char* error;
    } cases[] = {
        {"network/interface/wlan9", "no interface named wlan9"},
        {"network/route/5", "no route 5 (the table has 4)"},
        {"network/route/0", "no route 0 (the table has 4)"},
        {"network/route/99999999999999999999", "no route 9223372036854775807 (the table has 4)"},
    };
    for (const auto& [screen, expected] : cases) {
        EXPECT_FALSE(HeadlessRunner::dumpScreen(*app.controller, QString::fromLatin1(screen), false,
                                                &text, &error))
            << screen;
        EXPECT_EQ(error, QString::fromLatin1(expected));
    }
    EXPECT_EQ(dump("network/tcp").count('\n'), 4) << "the tab is usable after a failure";
}

TEST(NetworkDumpParse, NamesOfNetworkScreens) {
    for (const char* screen : {"network/interface/a/b", "network/peer/1.2.3.4:65535/udp"}) {
        EXPECT_EQ(HeadlessRunner::parse(QList<QByteArray>{"--dump", screen}).kind, Kind::Dump)
            << screen;
    }
    for (const char* screen :
         {"network/", "network/interface/", "network/route/", "network/route/-1",
          "network/route/1x", "network/peer/1.2.3:80/tcp", "network/peer/1.2.3.4:65536/tcp",
          "network/peer/1.2.3.4:80/sctp", "network/peer/1.2.3.4/tcp", "network/tcp/"}) {
        EXPECT_EQ(HeadlessRunner::parse(QList<QByteArray>{"--dump", screen}).kind, Kind::Invalid)
            << screen;
    }
}

} // namespace
