#pragma once

#include "platform/ui/TableViewDataSource.h"
#include "platform/ui/TableViewDelegate.h"
#include "registry/DestinationRows.h"
#include "registry/PopupView.h"
#include "registry/ReverseDNS.h"

#include <QPointer>
#include <QString>
#include <QStringList>

class TarnelDB;
class TarnelHostnameQuery;
class TarnelViewDelegate;

namespace ui {
class TableView;
}

// The lookup panel of one address: its flag and the address in large type over eight
// rows (the address, its host name once the reverse-DNS answer comes, and the
// registry's six texts). Selecting a row closes it like a tap.
class TarnelView : public PopupView,
                   public ui::TableViewDataSource,
                   public ui::TableViewDelegate,
                   public ReverseDNSDelegate {
public:
    static constexpr int kRowCount = DestinationRows::kCount;
    static constexpr int kHostnameRow = DestinationRows::kHostnameRow;
    static constexpr double kRowHeight = 40;
    static inline const QString kCellIdentifier = QStringLiteral("TarnelViewTableCellIdentifier");
    // Where the panel sits on the 320 × 480 point screen.
    static constexpr ui::Rect kDesignedFrame{5, 80, 310, 380};

    // The panel of `address`, whose registry result is not empty; starts looking its
    // host name up.
    explicit TarnelView(const QString& address);

    TarnelViewDelegate* delegate() const { return delegate_; }
    void setDelegate(TarnelViewDelegate* delegate) { delegate_ = delegate; }
    ui::TableView* tableView() const { return tableView_; }
    const QString& ipaddr() const { return ipaddr_; }
    const QString& hostname() const { return hostname_; }
    const QStringList& data() const { return data_; }
    const QString& code() const { return code_; }

    void dismiss() override;

    int tableViewNumberOfRowsInSection(ui::TableView*, int) override { return kRowCount; }
    ui::TableViewCell* tableViewCellForRowAtIndexPath(ui::TableView* tableView,
                                                      const ui::IndexPath& indexPath) override;
    double tableViewHeightForRowAtIndexPath(ui::TableView*, const ui::IndexPath&) override {
        return kRowHeight;
    }
    void tableViewDidSelectRowAtIndexPath(ui::TableView* tableView,
                                          const ui::IndexPath& indexPath) override;

    void reverseDNSFoundHostname(ReverseDNS* sender, const QString& hostname) override;

    QString rowTitle(int row) const;
    QString rowValue(int row) const;

protected:
    void viewDidAppear() override;
    void viewDidDismiss() override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QWidget* makeHeaderView();
    // The table fills the panel but for a margin; it scrolls only when the panel is
    // too small for its rows (a small window).
    void placeTable();

    TarnelViewDelegate* delegate_ = nullptr;
    ui::TableView* tableView_;
    TarnelDB* tarnel_;
    QPointer<TarnelHostnameQuery> rdns_;
    QStringList data_;
    QString code_;
    QString ipaddr_;
    QString hostname_; // empty until answered
};
