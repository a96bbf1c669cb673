#pragma once

#include "network/NetworkLookupScreens.h"
#include "platform/darwin/Route.h"
#include "platform/ui/ViewController.h"
#include "support/NetworkBuffers.h"
#include "support/SystemFixture.h"

#include <QList>
#include <QString>
#include <QStringList>

// The typical host of the network buffers as the network screens see it, with a route
// to its web server 133.5.6.7 (Japan in the shipped registry, used 12345 times) after
// the others. The registry's screens are replaced by recorders for the life of the
// object.
class NetworkScreensFixture {
public:
    NetworkScreensFixture() {
        using namespace networkbuffers;
        using H = TypicalHost;
        H::install(*kernel.backend);
        setRoutes(join(
            {H::routingDump(),
             route(darwin::RTF_UP | darwin::RTF_GATEWAY | darwin::RTF_HOST | darwin::RTF_STATIC,
                   sockaddrIn(H::kServer), sockaddrIn(H::kRouter), {}, 12345, H::kEn0Index)}));
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

    SystemFixture kernel;
    // What the registry's screens were asked for.
    QStringList popups;
    QStringList destinations;
    QList<QStringList> destinationResults;
};
