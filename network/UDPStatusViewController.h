#pragma once

#include "network/SocketListViewController.h"

// The UDP sockets: an unconnected socket by its local address and the name of its
// port, a connected one by its peer.
class UDPStatusViewController : public SocketListViewController {
public:
    static constexpr int kCellOffset = -30;

    UDPStatusViewController();

    // The sockets of the last appearance (the list's rows).
    const QList<NetworkStatus::Socket>& info() const { return sockets(); }
    Row rowFor(const ProtocolInfo& socket) const override;

protected:
    void takeSnapshot() override;
};
