#include "network/SocketListViewController.h"

#include "common/Resources.h"
#include "network/NetworkNavigation.h"
#include "network/NetworkStatusTableCell.h"
#include "network/PeerViewController.h"
#include "network/ServicesDB.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Font.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/TableView.h"

const QString SocketListViewController::kUnknownService = QStringLiteral("unknown");

SocketListViewController::SocketListViewController(const char* titleKey, const char* headerKey,
                                                   int cellOffset)
    : ui::TableViewController(ui::TableViewStyle::Grouped),
      netstat_(NetworkStatus::sharedInstance()), services_(ServicesDB::sharedInstance()),
      headerKey_(headerKey), cellOffset_(cellOffset) {
    setTitle(Resources::text(titleKey));
}

void SocketListViewController::viewDidLoad() {
    ui::TableViewController::viewDidLoad();
    tableView()->setScrollEnabled(true);
    navigationItem()->setBackBarButtonTitle(Resources::text("Back"));
    navigationItem()->setRightBarButtonItem(
        new ui::BarButtonItem(ui::BarButtonSystemItem::Refresh, [this] { refreshAction(); }));
}

void SocketListViewController::viewWillAppear(bool /*animated*/) {
    takeSnapshot();
    sockets_ = netstat_->protocol();
    tableView()->reloadData();
}

void SocketListViewController::viewWillDisappear(bool /*animated*/) {
    netstat_->removeAllData();
}

void SocketListViewController::refreshAction() {
    viewWillAppear(false);
}

QString SocketListViewController::serviceName(const ProtocolInfo& socket) const {
    const QList<QStringList> found =
        services_->searchWithProtocol(socket.localPort, socket.protocolName);
    return found.isEmpty() ? kUnknownService : found.first().value(0);
}

QString SocketListViewController::addressText(const QString& address, uint16_t port) {
    return QStringLiteral("%1:%2").arg(address).arg(port);
}

SocketListViewController::Row
SocketListViewController::serviceRow(const QString& title, const ProtocolInfo& socket) const {
    const QString name = serviceName(socket);
    return {title, name, name == kUnknownService ? ui::Color::red() : ui::Color::black(), false};
}

int SocketListViewController::tableViewNumberOfRowsInSection(ui::TableView*, int) {
    return static_cast<int>(sockets_.size());
}

QString SocketListViewController::tableViewTitleForHeaderInSection(ui::TableView*, int) {
    return Resources::text(headerKey_);
}

ui::TableViewCell*
SocketListViewController::tableViewCellForRowAtIndexPath(ui::TableView* tableView,
                                                         const ui::IndexPath& indexPath) {
    auto* cell =
        tableView->dequeueReusableCell<NetworkStatusTableCell>(kNetworkStatusTableCellIdentifier);
    cell->setHeight(static_cast<int>(kRowHeight));
    cell->setOffset(cellOffset_);
    cell->title()->setFont(ui::boldSystemFontOfSize(14));
    cell->value()->setFont(ui::systemFontOfSize(14));
    const Row row = indexPath.row < sockets_.size() ? rowFor(*sockets_[indexPath.row]) : Row{};
    cell->setLabel({row.title, row.value, std::nullopt});
    cell->value()->setTextColor(row.valueColor);
    cell->setAccessoryType(row.opensPeer ? ui::TableViewCellAccessoryType::DisclosureIndicator
                                         : ui::TableViewCellAccessoryType::None);
    return cell;
}

void SocketListViewController::tableViewDidSelectRowAtIndexPath(ui::TableView* tableView,
                                                                const ui::IndexPath& indexPath) {
    tableView->deselectRowAtIndexPathAnimated(indexPath, true);
    if (indexPath.row >= sockets_.size()) {
        return;
    }
    const ProtocolInfo& socket = *sockets_[indexPath.row];
    if (!rowFor(socket).opensPeer) {
        return;
    }
    auto* peer = new PeerViewController();
    peer->setPeer(socket.foreignAddress);
    peer->setPort(socket.foreignPort);
    peer->setMyPort(socket.localPort);
    peer->setProto(socket.protocolName);
    pushHidingBottomBar(this, peer);
}
