#include "registry/DestinationViewController.h"

#include "common/Resources.h"
#include "platform/ui/Font.h"
#include "platform/ui/Geometry.h"
#include "platform/ui/Label.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TableViewCell.h"
#include "registry/DestinationRows.h"
#include "registry/TarnelDB.h"
#include "registry/TarnelHostnameQuery.h"

#include <QTextLayout>
#include <QTextOption>

#include <algorithm>

namespace {

// The height in points of `text` in the bold 17-point font wrapped to the host name's
// width: at spaces, and inside a word too long for a line (a host name has no spaces).
double wrappedHeight(const QString& text) {
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    QTextLayout layout(text, ui::boldSystemFontOfSize(17));
    layout.setTextOption(option);
    layout.beginLayout();
    double height = 0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(ui::Screen::px(DestinationViewController::kHostnameWidth));
        height += line.height();
    }
    layout.endLayout();
    return height / ui::Screen::scale();
}

} // namespace

DestinationViewController::DestinationViewController() : tarnel_(TarnelDB::sharedInstance()) {
    setTitle(Resources::text("Destination"));
}

void DestinationViewController::setIpaddr(const QString& address, bool lookUpHostname) {
    ipaddr_ = address;
    if (lookUpHostname) {
        // The query outlives a screen closed before the answer: the history gets the
        // name in any case (TarnelHostnameQuery).
        TarnelHostnameQuery::start(address, this);
    }
}

QString DestinationViewController::hostname() const {
    const std::lock_guard lock(hostnameLock_);
    return hostname_;
}

void DestinationViewController::viewDidLoad() {
    ui::TableViewController::viewDidLoad();
    tableView()->setScrollEnabled(true);
}

void DestinationViewController::viewWillAppear(bool /*animated*/) {
    tableView()->reloadData();
}

QString DestinationViewController::rowTitle(int row) const {
    return DestinationRows::title(row);
}

QString DestinationViewController::rowValue(int row) const {
    return DestinationRows::value(row, ipaddr_, hostname(), data_);
}

ui::TableViewCell*
DestinationViewController::tableViewCellForRowAtIndexPath(ui::TableView* tableView,
                                                          const ui::IndexPath& indexPath) {
    auto* cell = tableView->dequeueReusableCell<ui::TableViewCell>(kCellIdentifier,
                                                                   ui::TableViewCellStyle::Value2);
    cell->setAccessoryType(ui::TableViewCellAccessoryType::None);
    cell->setSelectionStyle(ui::TableViewCellSelectionStyle::None);
    cell->textLabel()->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    cell->textLabel()->setText(rowTitle(indexPath.row));
    cell->detailTextLabel()->setNumberOfLines(indexPath.row == kHostnameRow ? 4 : 2);
    cell->detailTextLabel()->setText(rowValue(indexPath.row));
    return cell;
}

double DestinationViewController::tableViewHeightForRowAtIndexPath(ui::TableView*,
                                                                   const ui::IndexPath& indexPath) {
    if (indexPath.row != kHostnameRow) {
        return kRowHeight;
    }
    return std::max<double>(kRowHeight, wrappedHeight(hostname()));
}

// The history has the name already (TarnelHostnameQuery): here it only shows.
void DestinationViewController::reverseDNSFoundHostname(ReverseDNS* /*sender*/,
                                                        const QString& hostname) {
    {
        const std::lock_guard lock(hostnameLock_);
        hostname_ = hostname;
    }
    if (isViewLoaded()) {
        tableView()->reloadRowsAtIndexPathsWithRowAnimation({{0, kHostnameRow}},
                                                            ui::TableViewRowAnimation::Fade);
    }
}
