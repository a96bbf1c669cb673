#include "history/HistoryDetailViewController.h"

#include "common/Resources.h"
#include "history/HistoryCommentViewController.h"
#include "history/HistoryDB.h"
#include "platform/ui/Font.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/TableView.h"
#include "registry/TarnelDB.h"

#include <QFontMetricsF>

#include <algorithm>

namespace {

const QString kDetailCellIdentifier = QStringLiteral("HistoryDetailTableCellIdentifier");

// The record's fields.
enum Field { Hostname = 2, Comments = 3, IPAddress = 4, FirstRegistryValue = 5 };
constexpr int kFirstRegistryRow = 2;

} // namespace

HistoryDetailViewController::HistoryDetailViewController(HistoryDB* historydb)
    : ui::TableViewController(ui::TableViewStyle::Plain),
      historydb_(historydb != nullptr ? historydb : HistoryDB::sharedInstance()) {
    setTitle(Resources::text("Destination"));
    dns_.setDelegate(this);
}

void HistoryDetailViewController::viewWillAppear(bool /*animated*/) {
    // A record deleted meanwhile reads as an empty list and shows empty rows.
    data_ = historydb_->selectHistory(pkey_);
    ipaddr_ = data_.value(IPAddress);
    hostname_ = data_.value(Hostname);
    comments_ = data_.value(Comments);
    tableView()->reloadData();
    if (hostname_.isEmpty() && !ipaddr_.isEmpty()) {
        dns_.lookupHostnameByIPAddress(ipaddr_);
    }
}

void HistoryDetailViewController::reverseDNSFoundHostname(ReverseDNS* /*sender*/,
                                                          const QString& hostname) {
    // The answer arrives on the main thread, where the table lives.
    hostname_ = hostname;
    if (!hostname.isNull()) {
        historydb_->updateHostnamePkey(hostname, pkey_);
    }
    tableView()->reloadRowsAtIndexPathsWithRowAnimation({ui::IndexPath{0, HostnameRow}},
                                                        ui::TableViewRowAnimation::Fade);
}

void HistoryDetailViewController::saveComments(const QString& comments) {
    historydb_->updateCommentsPkey(comments, pkey_);
    comments_ = comments;
    if (isViewLoaded()) {
        tableView()->reloadData();
    }
}

QPair<QString, QString> HistoryDetailViewController::rowTexts(int row) const {
    switch (row) {
    case 0:
        return {Resources::text("IPAddress"), ipaddr_};
    case HostnameRow:
        return {Resources::text("Hostname"), hostname_};
    case CommentsRow:
        return {Resources::text("Comments"), comments_};
    default: {
        const int index = row - kFirstRegistryRow;
        return {TarnelDB::sharedInstance()->TLDLabel().value(index),
                data_.value(FirstRegistryValue + index)};
    }
    }
}

double HistoryDetailViewController::hostnameHeight(const QString& hostname) {
    const double scale = ui::Screen::scale();
    const QFontMetricsF metrics(ui::boldSystemFontOfSize(17));
    const QRectF box =
        metrics.boundingRect(QRectF(0, 0, kHostnameWidth * scale, 1e6), Qt::TextWordWrap, hostname);
    return box.height() / scale;
}

int HistoryDetailViewController::tableViewNumberOfRowsInSection(ui::TableView*, int section) {
    return section == 0 ? RowCount : 0;
}

ui::TableViewCell*
HistoryDetailViewController::tableViewCellForRowAtIndexPath(ui::TableView* tableView,
                                                            const ui::IndexPath& indexPath) {
    auto* cell = tableView->dequeueReusableCell(kDetailCellIdentifier, ui::TableViewCellStyle::Value2);
    const bool editable = indexPath.row == CommentsRow;
    cell->setAccessoryType(editable ? ui::TableViewCellAccessoryType::DisclosureIndicator
                                    : ui::TableViewCellAccessoryType::None);
    cell->setSelectionStyle(ui::TableViewCellSelectionStyle::None);
    const auto [title, value] = rowTexts(indexPath.row);
    cell->textLabel()->setText(title);
    cell->textLabel()->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    cell->detailTextLabel()->setText(value);
    cell->detailTextLabel()->setNumberOfLines(indexPath.row == HostnameRow ? 4 : 2);
    return cell;
}

double
HistoryDetailViewController::tableViewHeightForRowAtIndexPath(ui::TableView*,
                                                              const ui::IndexPath& indexPath) {
    if (indexPath.row != HostnameRow) {
        return kRowHeight;
    }
    return std::max(kRowHeight, hostnameHeight(hostname_));
}

void HistoryDetailViewController::tableViewDidSelectRowAtIndexPath(ui::TableView* tableView,
                                                                   const ui::IndexPath& indexPath) {
    tableView->deselectRowAtIndexPathAnimated(indexPath, true);
    ui::NavigationController* navigation = navigationController();
    if (indexPath.row != CommentsRow || navigation == nullptr || data_.isEmpty()) {
        return;
    }
    auto* editor = new HistoryCommentViewController(
        comments_, [this](const QString& comments) { saveComments(comments); });
    navigation->pushViewControllerAnimated(editor, true);
}
