#pragma once

#include "network/NetworkDetailViewController.h"

#include <QString>

#include <cstdint>

class ServicesDB;

// The peer of a connected socket: its address with the country code the registry
// gives it, then the peer's port and the local port, each with its service name and,
// when the port database has one, its remark. Row 0 leads to the destination screen
// when the registry knows the address. The screen keeps its own copies.
class PeerViewController : public NetworkDetailViewController {
public:
    PeerViewController();

    void setPeer(const QString& peer) { peer_ = peer; }
    void setPort(int32_t port) { port_ = port; }
    void setMyPort(int32_t myPort) { myPort_ = myPort; }
    // 6 TCP, 17 UDP: the protocol whose port names are shown.
    void setProto(int32_t proto) { proto_ = proto; }
    const QString& peer() const { return peer_; }
    int32_t port() const { return port_; }
    int32_t myPort() const { return myPort_; }
    int32_t proto() const { return proto_; }

    void buildInfoData() override;
    void buildPortInfoWithTitle(int32_t port, const QString& title);

protected:
    QString destinationAddress() const override { return peer_; }

private:
    ServicesDB* services_;
    QString peer_;
    int32_t port_ = 0;
    int32_t myPort_ = 0;
    int32_t proto_ = 0;
};
