#include "network/PeerViewController.h"

#include "common/Resources.h"
#include "network/ServicesDB.h"

PeerViewController::PeerViewController()
    : NetworkDetailViewController("PeerInfo"), services_(ServicesDB::sharedInstance()) {}

void PeerViewController::buildInfoData() {
    dataCells_.clear();
    buildDestinationRow(peer_);
    buildPortInfoWithTitle(port_, Resources::text("DestPort"));
    buildPortInfoWithTitle(myPort_, Resources::text("LocalPort"));
}

void PeerViewController::buildPortInfoWithTitle(int32_t port, const QString& title) {
    const QList<QStringList> found = services_->searchWithProtocol(port, proto_);
    // A port shows as the 16-bit number it is on the wire.
    const auto number = static_cast<uint16_t>(port);
    const QString name = found.isEmpty() ? QStringLiteral("unknown") : found.first().value(0);
    appendRow(title, QStringLiteral("%1 (%2)").arg(number).arg(name));
    const QString remarks = found.isEmpty() ? QString() : found.first().value(1);
    if (!remarks.isEmpty()) {
        appendRow(Resources::text("PortInfo"), remarks);
    }
}
