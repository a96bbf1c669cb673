#include "network/TCPStatusViewController.h"

TCPStatusViewController::TCPStatusViewController()
    : SocketListViewController("TCPStatus", "TCPInfo", kCellOffset) {}

void TCPStatusViewController::takeSnapshot() {
    netstat()->snapshotOfTCP();
}

SocketListViewController::Row TCPStatusViewController::rowFor(const ProtocolInfo& socket) const {
    if (socket.tcpStateText == QLatin1String("LISTEN")) {
        return serviceRow(addressText(socket.localAddress, socket.localPort), socket);
    }
    return {addressText(socket.foreignAddress, socket.foreignPort), socket.tcpStateText,
            ui::Color::black(), true};
}
