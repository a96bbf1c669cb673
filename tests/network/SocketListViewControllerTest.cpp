#include "network/PeerViewController.h"
#include "network/TCPStatusViewController.h"
#include "network/UDPStatusViewController.h"
#include "tests/network/NetworkScreens.h"
#include "tests/network/ServicesFile.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {

using Root = NetworkStatusViewController;
using Row = SocketListViewController::Row;

TEST(SocketListViewController, ListeningSocketsByServiceConnectedOnesByPeer) {
    const ui::Color red = ui::Color::red();
    const ui::Color black = ui::Color::black();
    TCPStatusViewController tcp;
    UDPStatusViewController udp;
    const struct {
        SocketListViewController* list;
        ProtocolInfo socket;
        Row row;
    } cases[] = {
        {&tcp, {6, "*", 22, "*", 0, 0, "LISTEN"}, {"*:22", "ssh", black, false}},
        {&tcp, {6, "127.0.0.1", 4, "*", 0, 0, "LISTEN"}, {"127.0.0.1:4", "unknown", red, false}},
        {&tcp,
         {6, "10.0.0.2", 22, "10.0.0.9", 6000, 0, "ESTABLISHED"},
         {"10.0.0.9:6000", "ESTABLISHED", black, true}},
        {&tcp, {6, "10.0.0.2", 22, "*", 0, 0, "CLOSED"}, {"*:0", "CLOSED", black, true}},
        {&udp, {17, "*", 53, "*", 0, 0, {}}, {"*:53", "domain", black, false}},
        {&udp, {17, "*", 0, "*", 0, 0, {}}, {"*:*", "unknown", red, false}},
        {&udp,
         {17, "10.0.0.2", 4000, "10.0.0.1", 53, 0, {}},
         {"10.0.0.1:53", "CONNECTING", black, true}},
    };
    for (const auto& [list, socket, row] : cases) {
        EXPECT_EQ(list->rowFor(socket), row) << row.title.toStdString();
    }
}

// Cells are reused: a row that showed a red "unknown" shows a state in black.
TEST(SocketListViewController, ARefreshedRowTakesItsOwnColour) {
    using namespace networkbuffers;
    NetworkScreens tab;
    tab.host.setTcp({record(tcpSocket({}, 4, {}, 0, darwin::TCPS_LISTEN))});
    auto* tcp = tab.open<TCPStatusViewController>(Root::TCPRow);
    ASSERT_NE(tcp, nullptr);
    auto* cell =
        dynamic_cast<NetworkStatusTableCell*>(tcp->tableView()->cellForRowAtIndexPath({0, 0}));
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->value()->textColor(), ui::Color::red());
    tab.host.setTcp(
        {record(tcpSocket({10, 0, 0, 2}, 22, {10, 0, 0, 9}, 6000, darwin::TCPS_ESTABLISHED))});
    tcp->refreshAction();
    cell = dynamic_cast<NetworkStatusTableCell*>(tcp->tableView()->cellForRowAtIndexPath({0, 0}));
    EXPECT_EQ(cell->value()->text(), "ESTABLISHED");
    EXPECT_EQ(cell->value()->textColor(), ui::Color::black());
}

TEST(PeerViewController, AConnectedRowOpensItsPeer) {
    NetworkScreens tab;
    tab.open<TCPStatusViewController>(Root::TCPRow);
    EXPECT_EQ(tab.tap<PeerViewController>({0, 0}), nullptr) << "a listener opens nothing";
    auto* peer = tab.tap<PeerViewController>({0, 1});
    ASSERT_NE(peer, nullptr);
    EXPECT_EQ(NetworkScreens::text(peer), "--\n"
                                          "Destination\t133.5.6.7 [JP]\n"
                                          "Peer Port\t443 (https)\n"
                                          "Service\thttp protocol over TLS/SSL\n"
                                          "Local Port\t50000 (unknown)\n");
    peer->tableView()->tapRowAtIndexPath({0, 0});
    EXPECT_EQ(tab.host.destinations, QStringList{"133.5.6.7"});
}

// A known port whose remark is empty has no service row.
TEST(PeerViewController, PortRowsWithoutARemark) {
    const ServicesFile services(QStringList{"443, 6, 'https', ''"});
    PeerViewController peer;
    peer.setPeer(QStringLiteral("*"));
    peer.setPort(443);
    peer.setProto(6);
    peer.view();
    QStringList shown;
    for (const NetworkStatusTableCell::Data& row : peer.dataCells()) {
        shown.append(row.value);
    }
    EXPECT_EQ(shown, QStringList({"*", "443 (https)", "0 (unknown)"}));
    EXPECT_EQ(peer.destData(), QStringList()) << "the registry knows no \"*\"";
}

} // namespace
