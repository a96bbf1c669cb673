#pragma once

#include "platform/ui/TableViewController.h"
#include "registry/DestinationRows.h"
#include "registry/ReverseDNS.h"

#include <QString>
#include <QStringList>

#include <mutex>

class TarnelDB;

// One remote address: the address, its host name once the reverse-DNS answer comes,
// and the registry's six texts for it.
class DestinationViewController : public ui::TableViewController, public ReverseDNSDelegate {
public:
    static constexpr int kRowHeight = 40;
    static constexpr int kRowCount = DestinationRows::kCount;
    static constexpr int kHostnameRow = DestinationRows::kHostnameRow;
    static constexpr double kHostnameWidth = 200;
    static inline const QString kCellIdentifier = QStringLiteral("DestinationTableCellIdentifier");

    DestinationViewController();

    // Stores the address and, unless told not to, starts looking its host name up; the
    // answer reaches the history even when the screen has closed by then.
    void setIpaddr(const QString& address, bool lookUpHostname = true);
    void setData(const QStringList& registryResult) { data_ = registryResult; }
    const QString& ipaddr() const { return ipaddr_; }
    QString hostname() const;
    const QStringList& data() const { return data_; }

    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;

    int tableViewNumberOfRowsInSection(ui::TableView*, int) override { return kRowCount; }
    ui::TableViewCell* tableViewCellForRowAtIndexPath(ui::TableView* tableView,
                                                      const ui::IndexPath& indexPath) override;
    double tableViewHeightForRowAtIndexPath(ui::TableView*,
                                            const ui::IndexPath& indexPath) override;

    void reverseDNSFoundHostname(ReverseDNS* sender, const QString& hostname) override;

    // The title and value of `row`.
    QString rowTitle(int row) const;
    QString rowValue(int row) const;

private:
    TarnelDB* tarnel_;
    QString ipaddr_;
    QStringList data_;
    mutable std::mutex hostnameLock_;
    QString hostname_; // empty until answered
};
