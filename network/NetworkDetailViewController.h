#pragma once

#include "network/NetworkStatusTableCell.h"
#include "platform/ui/TableViewController.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class AppState;
class TarnelDB;

// What the route detail and peer screens share: title/value rows built once when the
// view loads, the first of which names a destination address with its country code
// from the registry. That row leads on to the destination screen when the registry
// knows the address.
class NetworkDetailViewController : public ui::TableViewController {
public:
    static constexpr int kCellOffset = 30;
    static constexpr int kRowHeight = 40;
    static constexpr ui::Color kTitleColor{0, 0, 1, 1};

    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewDidUnload() override;
    virtual void buildInfoData() = 0;
    // Appends the destination row: the address, and its country code in brackets when
    // there is one.
    void buildDestinationIso3166(const QString& destination, const QString& iso3166);

    const QList<NetworkStatusTableCell::Data>& dataCells() const { return dataCells_; }
    // The registry's six texts for the destination, an empty list when it has none, or
    // nothing while the registry is not ready.
    const std::optional<QStringList>& destData() const { return destData_; }

    int tableViewNumberOfRowsInSection(ui::TableView*, int) override;
    ui::TableViewCell* tableViewCellForRowAtIndexPath(ui::TableView* tableView,
                                                      const ui::IndexPath& indexPath) override;
    double tableViewHeightForRowAtIndexPath(ui::TableView*, const ui::IndexPath&) override {
        return kRowHeight;
    }
    void tableViewDidSelectRowAtIndexPath(ui::TableView* tableView,
                                          const ui::IndexPath& indexPath) override;

protected:
    explicit NetworkDetailViewController(const char* titleKey);

    // Looks `destination` up (when the registry is ready) and appends its row; the
    // first row of every screen of this kind.
    void buildDestinationRow(const QString& destination);
    void appendRow(const QString& title, const QString& value);
    // The address the destination row names, for the destination screen.
    virtual QString destinationAddress() const = 0;

    AppState* appCon() const { return appCon_; }
    TarnelDB* tarnel() const { return tarnel_; }

    QList<NetworkStatusTableCell::Data> dataCells_;
    std::optional<QStringList> destData_;

private:
    bool leadsToDestination() const { return destData_ && !destData_->isEmpty(); }

    AppState* appCon_;
    TarnelDB* tarnel_;
};
