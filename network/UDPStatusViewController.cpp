#include "network/UDPStatusViewController.h"

UDPStatusViewController::UDPStatusViewController()
    : SocketListViewController("UDPStatus", "UDPInfo", kCellOffset) {}

void UDPStatusViewController::takeSnapshot() {
    netstat()->snapshotOfUDP();
}

SocketListViewController::Row UDPStatusViewController::rowFor(const ProtocolInfo& socket) const {
    if (socket.foreignAddress == QLatin1String("*")) {
        const QString title = socket.localPort != 0
                                  ? addressText(socket.localAddress, socket.localPort)
                                  : socket.localAddress + QStringLiteral(":*");
        return serviceRow(title, socket);
    }
    return {addressText(socket.foreignAddress, socket.foreignPort), QStringLiteral("CONNECTING"),
            ui::Color::black(), true};
}
