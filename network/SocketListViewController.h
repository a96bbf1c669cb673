#pragma once

#include "network/NetworkStatus.h"
#include "network/ProtocolInfo.h"
#include "platform/ui/Color.h"
#include "platform/ui/TableViewController.h"

#include <QList>
#include <QString>

class ServicesDB;

// What the TCP and UDP lists share: one titled section with a row per socket of a
// fresh snapshot, taken at each appearance and refresh; leaving the list empties the
// shared snapshot. A socket that waits for peers shows its local address and the name
// of its port (red "unknown" when the port database has none); a connected one shows
// its peer and opens the peer screen.
class SocketListViewController : public ui::TableViewController {
public:
    // What a socket's row shows.
    struct Row {
        QString title;
        QString value;
        ui::Color valueColor;
        bool opensPeer = false;
        bool operator==(const Row&) const = default;
    };

    static constexpr double kRowHeight = 40;
    // The name shown for a port the database does not know.
    static const QString kUnknownService;

    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;
    void refreshAction();

    NetworkStatus* netstat() const { return netstat_; }
    ServicesDB* services() const { return services_; }
    // The sockets shown: the snapshot of the last appearance or refresh.
    const QList<NetworkStatus::Socket>& sockets() const { return sockets_; }
    virtual Row rowFor(const ProtocolInfo& socket) const = 0;
    // The database's name of the socket's local port, or "unknown".
    QString serviceName(const ProtocolInfo& socket) const;
    // "*:22", "192.168.1.7:443".
    static QString addressText(const QString& address, uint16_t port);

    int tableViewNumberOfRowsInSection(ui::TableView*, int section) override;
    ui::TableViewCell* tableViewCellForRowAtIndexPath(ui::TableView* tableView,
                                                      const ui::IndexPath& indexPath) override;
    QString tableViewTitleForHeaderInSection(ui::TableView*, int section) override;
    double tableViewHeightForRowAtIndexPath(ui::TableView*, const ui::IndexPath&) override {
        return kRowHeight;
    }
    void tableViewDidSelectRowAtIndexPath(ui::TableView* tableView,
                                          const ui::IndexPath& indexPath) override;

protected:
    SocketListViewController(const char* titleKey, const char* headerKey, int cellOffset);
    virtual void takeSnapshot() = 0;
    // A row for the service name of a socket waiting for peers: red when unknown.
    Row serviceRow(const QString& title, const ProtocolInfo& socket) const;

private:
    NetworkStatus* netstat_;
    ServicesDB* services_;
    const char* headerKey_;
    int cellOffset_;
    QList<NetworkStatus::Socket> sockets_;
};
