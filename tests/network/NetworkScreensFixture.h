#pragma once

#include "network/NetworkLookupScreens.h"
#include "platform/darwin/Route.h"
#include "platform/ui/ViewController.h"
#include "support/NetworkBuffers.h"
#include "support/SystemFixture.h"

#include <QList>
#include <QString>
#include <QStringList>

// The typical host of the network buffers as the network screens see it: lo0 and en0,
// the default route via 192.168.1.1, lo0's host route, the router's link-level entry
// and a route to 133.5.6.7 (Japan in the shipped registry, used 12345 times); TCP: a
// listener on *:22 and a connection from port 50000 to 133.5.6.7:443; UDP: a name
// server on *:53, a socket bound to port 0 and one connected to the router's port 53.
// The registry's screens are replaced by recorders for the life of the object.
class NetworkScreensFixture {
public:
    static constexpr networkbuffers::Ipv4 kJapan{133, 5, 6, 7};

    NetworkScreensFixture() {
        using namespace networkbuffers;
        using H = TypicalHost;
        H::install(*kernel.backend);
        setRoutes(join(
            {H::routingDump(),
             route(darwin::RTF_UP | darwin::RTF_GATEWAY | darwin::RTF_HOST | darwin::RTF_STATIC,
                   sockaddrIn(kJapan), sockaddrIn(H::kRouter), {}, 12345, H::kEn0Index)}));
        setTcp({record(tcpSocket({}, 22, {}, 0, darwin::TCPS_LISTEN, 1)),
                record(tcpSocket(H::kAddress, 50000, kJapan, 443, darwin::TCPS_ESTABLISHED, 2))});
        setUdp({record(udpSocket({}, 53, {}, 0, 1)), record(udpSocket({}, 0, {}, 0, 2)),
                record(udpSocket(H::kAddress, 40000, H::kRouter, 53, 3))});
        NetworkLookupScreens::install(
            [this](const QString& address, QWidget*) { popups.append(address); },
            [this](const QString& address, const QStringList& result) {
                destinations.append(address);
                destinationResults.append(result);
                auto* screen = new ui::ViewController();
                screen->setTitle(QStringLiteral("Destination ") + address);
                return screen;
            },
            [] { return new ui::ViewController(); });
    }
    ~NetworkScreensFixture() { NetworkLookupScreens::install({}, {}, {}); }
    NetworkScreensFixture(const NetworkScreensFixture&) = delete;
    NetworkScreensFixture& operator=(const NetworkScreensFixture&) = delete;

    void setRoutes(const networkbuffers::Bytes& dump) {
        kernel.backend->setSysctl(networkbuffers::kRoutingDumpName, dump);
    }
    void setTcp(const std::vector<networkbuffers::Bytes>& records) {
        kernel.backend->setSysctlByName(darwin::kTcpPcblist, networkbuffers::pcblist(7, records));
    }
    void setUdp(const std::vector<networkbuffers::Bytes>& records) {
        kernel.backend->setSysctlByName(darwin::kUdpPcblist, networkbuffers::pcblist(8, records));
    }

    SystemFixture kernel;
    // What the registry's screens were asked for.
    QStringList popups;
    QStringList destinations;
    QList<QStringList> destinationResults;
};
