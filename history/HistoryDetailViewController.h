#pragma once

#include "platform/ui/TableViewController.h"
#include "registry/ReverseDNS.h"

#include <QStringList>

#include <cstdint>

class HistoryDB;

// One recorded address: the address, its host name, the six registry values and the
// user's comment. The record is read each time the screen appears; when no host name
// is stored, a reverse-DNS query looks it up, and the answer is stored and shown.
// The comment row opens an editor whose text is stored with the record.
class HistoryDetailViewController : public ui::TableViewController, public ReverseDNSDelegate {
public:
    static constexpr double kRowHeight = 40;
    static constexpr double kHostnameWidth = 200;
    static constexpr int HostnameRow = 1;
    static constexpr int CommentsRow = 8;
    static constexpr int RowCount = 9;

    explicit HistoryDetailViewController(HistoryDB* historydb = nullptr);

    void setPkey(int32_t pkey) { pkey_ = pkey; }
    int32_t pkey() const { return pkey_; }
    const QStringList& data() const { return data_; }
    const QString& hostname() const { return hostname_; }
    const QString& comments() const { return comments_; }
    ReverseDNS* reverseDNS() { return &dns_; }

    void viewWillAppear(bool animated) override;
    // Stores `comments` as the record's comment and shows it.
    void saveComments(const QString& comments);
    // The title and value of a row.
    QPair<QString, QString> rowTexts(int row) const;
    // The height of a text in the host-name row's font wrapped to its width.
    static double hostnameHeight(const QString& hostname);

    int tableViewNumberOfRowsInSection(ui::TableView*, int section) override;
    ui::TableViewCell* tableViewCellForRowAtIndexPath(ui::TableView* tableView,
                                                      const ui::IndexPath& indexPath) override;
    double tableViewHeightForRowAtIndexPath(ui::TableView*,
                                            const ui::IndexPath& indexPath) override;
    void tableViewDidSelectRowAtIndexPath(ui::TableView* tableView,
                                          const ui::IndexPath& indexPath) override;

    void reverseDNSFoundHostname(ReverseDNS* sender, const QString& hostname) override;

private:
    HistoryDB* historydb_;
    int32_t pkey_ = -1;
    QStringList data_;
    QString ipaddr_;
    QString hostname_;
    QString comments_;
    ReverseDNS dns_;
};
