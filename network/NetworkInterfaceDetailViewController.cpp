#include "network/NetworkInterfaceDetailViewController.h"

#include "common/AppState.h"
#include "common/NumberText.h"
#include "common/Resources.h"
#include "network/NetworkStatus.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/TableView.h"
#include "system/UIDevice_Network.h"

namespace {

const QString kNoAddress = QStringLiteral("0.0.0.0");

} // namespace

NetworkInterfaceDetailViewController::NetworkInterfaceDetailViewController()
    : appCon_(AppState::ofSharedApplication()) {
    setTitle(Resources::text("InterfaceDetails"));
}

void NetworkInterfaceDetailViewController::viewDidLoad() {
    ui::TableViewController::viewDidLoad();
    tableView()->setRowHeight(NetworkStatusTableCell::kDefaultHeight);
    tableView()->setScrollEnabled(true);
    buildInfoData();
}

void NetworkInterfaceDetailViewController::viewWillAppear(bool /*animated*/) {
    tableView()->reloadData();
}

void NetworkInterfaceDetailViewController::viewDidUnload() {
    dataCells_.clear();
    ui::TableViewController::viewDidUnload();
}

void NetworkInterfaceDetailViewController::addRow(const char* titleKey, const QString& value) {
    dataCells_.append({Resources::text(titleKey), value, std::nullopt});
}

void NetworkInterfaceDetailViewController::addCounterRow(const char* titleKey, uint64_t count) {
    addRow(titleKey, numberText(appCon_, count));
}

void NetworkInterfaceDetailViewController::buildInfoData() {
    dataCells_.clear();
    addRow("InterfaceName", info_.name);
    addRow("InterfaceType", buildTypeInfo(info_.type));
    buildAddrInfo(info_.name);
    addRow("MTU", QString::number(info_.mtu));
    addRow("MACAddress", info_.address);
    // The kernel's full 64-bit counts: the record's 32-bit fields wrap on a busy host.
    const InterfaceInfo::Counters& counters = info_.counters64;
    addCounterRow("InputPackets", counters.ipackets);
    addCounterRow("InputErrors", counters.ierrors);
    addCounterRow("OutputPackets", counters.opackets);
    addCounterRow("OutputErrors", counters.oerrors);
    addCounterRow("Collisions", counters.collisions);
    addCounterRow("PacketDrops", counters.iqdrops);
}

QString NetworkInterfaceDetailViewController::buildTypeInfo(uint8_t type) const {
    return NetworkStatus::interfaceTypeText(type);
}

void NetworkInterfaceDetailViewController::buildAddrInfo(const QString& name) {
    const QStringList addresses = UIDevice_Network::getAddressInfoOfInterfaceName(name);
    if (addresses.size() < 5) {
        return;
    }
    addRow("IPAddress", addresses[0]);
    if (addresses[1] != kNoAddress) {
        addRow("BcastAddr", addresses[1]);
    }
    if (addresses[2] != kNoAddress) {
        addRow("DestAddr", addresses[2]);
    }
    if (addresses[3] != kNoAddress) {
        addRow("Netmask", addresses[3]);
    }
    addRow("NetAddr", addresses[4]);
}

int NetworkInterfaceDetailViewController::tableViewNumberOfRowsInSection(ui::TableView*, int) {
    return static_cast<int>(dataCells_.size());
}

ui::TableViewCell* NetworkInterfaceDetailViewController::tableViewCellForRowAtIndexPath(
    ui::TableView* tableView, const ui::IndexPath& indexPath) {
    auto* cell =
        tableView->dequeueReusableCell<NetworkStatusTableCell>(kNetworkStatusTableCellIdentifier);
    cell->setTitleColor(ui::Color::blue());
    cell->setLabel(dataCells_.value(indexPath.row));
    return cell;
}
