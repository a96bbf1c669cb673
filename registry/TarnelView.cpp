#include "registry/TarnelView.h"

#include "common/Resources.h"
#include "platform/ui/Color.h"
#include "platform/ui/Font.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TableViewCell.h"
#include "registry/DestinationRows.h"
#include "registry/TarnelDB.h"
#include "registry/TarnelHostnameQuery.h"
#include "registry/TarnelViewDelegate.h"

namespace {

constexpr double kTableInsetX = 5;
constexpr double kTableInsetY = 2;
constexpr double kTextSize = 14;
constexpr double kAddressTextSize = 24;
constexpr ui::Rect kHeaderFrame{10, 5, 300, 32};

} // namespace

TarnelView::TarnelView(const QString& address)
    : PopupView(kDesignedFrame),
      tableView_(new ui::TableView(ui::Rect{}, ui::TableViewStyle::Grouped)),
      tarnel_(TarnelDB::sharedInstance()), ipaddr_(address) {
    setAlpha(0.9);
    setStrokeWidth(8.0);
    setAccessibleName(Resources::text("IPAddress") + QLatin1Char(' ') + address);
    data_ = tarnel_->search(address);
    code_ = data_.value(0);

    tableView_->setParent(this);
    tableView_->setDataSource(this);
    tableView_->setDelegate(this);
    tableView_->setBackgroundColor(ui::Color::clear());
    tableView_->setSeparatorStyle(ui::TableViewCellSeparatorStyle::None);
    tableView_->setTableHeaderView(makeHeaderView());
    tableView_->hide();
    placeTable();

    rdns_ = TarnelHostnameQuery::start(address, this);
}

QWidget* TarnelView::makeHeaderView() {
    auto* header = new QWidget();
    ui::setFrame(header, kHeaderFrame);
    auto* flag = new ui::ImageView(Resources::image(TarnelDB::flagImageName(code_)), header);
    const ui::Size flagSize = flag->image().size();
    ui::setFrame(flag, {10, 5, flagSize.width, flagSize.height});
    auto* label = new ui::Label(ipaddr_, header);
    const double labelX = flagSize.width + 20;
    ui::setFrame(label, {labelX, 5, kHeaderFrame.width - labelX, 32});
    label->setTextColor(ui::Color::white());
    label->setFont(ui::boldSystemFontOfSize(kAddressTextSize));
    label->setAdjustsFontSizeToFitWidth(true);
    label->setMinimumFontSize(12);
    return header;
}

void TarnelView::placeTable() {
    const ui::Rect bounds = ui::Screen::toPoints(rect());
    ui::setFrame(tableView_, {kTableInsetX, kTableInsetY, bounds.width - 2 * kTableInsetX,
                              bounds.height - 2 * kTableInsetY});
    tableView_->setScrollEnabled(tableView_->contentSize().height >
                                 ui::Screen::toPoints(tableView_->height()) + 0.5);
}

void TarnelView::resizeEvent(QResizeEvent* event) {
    PopupView::resizeEvent(event);
    placeTable();
}

QString TarnelView::rowTitle(int row) const {
    return DestinationRows::title(row);
}

QString TarnelView::rowValue(int row) const {
    return DestinationRows::value(row, ipaddr_, hostname_, data_);
}

ui::TableViewCell* TarnelView::tableViewCellForRowAtIndexPath(ui::TableView* tableView,
                                                              const ui::IndexPath& indexPath) {
    auto* cell = tableView->dequeueReusableCell<ui::TableViewCell>(
        kCellIdentifier, ui::TableViewCellStyle::Subtitle);
    cell->setAccessoryType(ui::TableViewCellAccessoryType::None);
    cell->setSelectionStyle(ui::TableViewCellSelectionStyle::None);
    cell->setBackgroundColor(ui::Color::clear());
    cell->textLabel()->setFont(ui::boldSystemFontOfSize(kTextSize));
    cell->textLabel()->setTextColor(ui::Color::lightGray());
    cell->textLabel()->setText(rowTitle(indexPath.row));
    cell->detailTextLabel()->setFont(ui::boldSystemFontOfSize(kTextSize));
    cell->detailTextLabel()->setTextColor(ui::Color::white());
    cell->detailTextLabel()->setText(rowValue(indexPath.row));
    return cell;
}

void TarnelView::tableViewDidSelectRowAtIndexPath(ui::TableView* tableView,
                                                  const ui::IndexPath& indexPath) {
    tableView->deselectRowAtIndexPathAnimated(indexPath, true);
    dismiss();
}

void TarnelView::dismiss() {
    tableView_->hide();
    PopupView::dismiss();
}

void TarnelView::viewDidAppear() {
    tableView_->show();
    placeTable();
}

void TarnelView::viewDidDismiss() {
    if (delegate_ != nullptr) {
        delegate_->tarnelViewDidDismiss(this);
    }
}

// The history has the name already (TarnelHostnameQuery): here it only shows.
void TarnelView::reverseDNSFoundHostname(ReverseDNS* /*sender*/, const QString& hostname) {
    hostname_ = hostname;
    tableView_->reloadRowsAtIndexPathsWithRowAnimation({{0, kHostnameRow}},
                                                       ui::TableViewRowAnimation::Fade);
}
