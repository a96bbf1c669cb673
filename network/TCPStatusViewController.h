#pragma once

#include "network/SocketListViewController.h"

// The TCP sockets: a listening socket by its local address and the name of its port,
// any other by its peer and its state.
class TCPStatusViewController : public SocketListViewController {
public:
    static constexpr int kCellOffset = -50;

    TCPStatusViewController();

    Row rowFor(const ProtocolInfo& socket) const override;

protected:
    void takeSnapshot() override;
};
