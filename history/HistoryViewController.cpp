#include "history/HistoryViewController.h"

#include "common/Resources.h"
#include "history/HistoryDB.h"
#include "history/HistoryDetailViewController.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Color.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/SegmentedControl.h"
#include "platform/ui/TableView.h"
#include "platform/ui/Toolbar.h"
#include "registry/TarnelDB.h"

#include <QVBoxLayout>

namespace {

const QString kListCellIdentifier = QStringLiteral("RoutingHistoryTableCellIdentifier");
constexpr int kOkButtonIndex = 1;

} // namespace

HistoryViewController::HistoryViewController(HistoryDB* historydb)
    : ui::TableViewController(ui::TableViewStyle::Plain),
      historydb_(historydb != nullptr ? historydb : HistoryDB::sharedInstance()) {
    setTitle(Resources::text("RoutingHistory"));
}

// The table over the toolbar that holds the order segments.
void HistoryViewController::loadView() {
    auto* container = new QWidget();
    auto* column = new QVBoxLayout(container);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    auto* table = new ui::TableView(ui::Screen::bounds(), tableViewStyle());
    column->addWidget(table, 1);
    toolbar_ = new ui::Toolbar(container);
    column->addWidget(toolbar_);
    setView(container);
    setTableView(table);
}

void HistoryViewController::viewDidLoad() {
    ui::TableViewController::viewDidLoad();
    deleteAll_ =
        new ui::BarButtonItem(Resources::text("DeleteAll"), ui::BarButtonItemStyle::Bordered,
                              [this] { deleteAllAction(); });
    navigationItem()->setLeftBarButtonItem(deleteAll_);
    navigationItem()->setRightBarButtonItem(new ui::BarButtonItem(
        ui::BarButtonSystemItem::Done, [this] { dismissModalViewControllerAnimated(true); }));
    navigationItem()->setBackBarButtonTitle(Resources::text("Back"));

    segment_ = new ui::SegmentedControl({Resources::text("Count"), Resources::text("Date")});
    segment_->setFixedSize(220, 32);
    segment_->setSegmentedControlStyle(ui::SegmentedControlStyle::Bar);
    segment_->setSelectedSegmentIndex(OrderByCount);
    segment_->setValueChangedAction([this] { segmentAction(); });
    toolbar_->setBarStyle(ui::BarStyle::Black);
    toolbar_->setItems({new ui::BarButtonItem(ui::BarButtonSystemItem::FlexibleSpace, nullptr),
                        new ui::BarButtonItem(segment_),
                        new ui::BarButtonItem(ui::BarButtonSystemItem::FlexibleSpace, nullptr)});
}

void HistoryViewController::viewWillAppear(bool /*animated*/) {
    toolbar_->show();
    loadData();
}

void HistoryViewController::viewWillDisappear(bool /*animated*/) {
    // A pushed detail screen has no toolbar; the list shows it again when it returns.
    toolbar_->hide();
}

void HistoryViewController::loadData() {
    ids_ = historydb_->selectAllHistoryIdsOrderBy(orderBy_);
    if (!isEditing()) {
        tableView()->reloadData();
    }
}

void HistoryViewController::segmentAction() {
    orderBy_ = segment_->selectedSegmentIndex() == OrderByDate ? OrderByDate : OrderByCount;
    loadData();
}

void HistoryViewController::deleteAllAction() {
    deleteAll_->setEnabled(false);
    auto* alert =
        new ui::AlertView(Resources::text("Confirmation"), Resources::text("DeleteAllHistory"),
                          this, Resources::text("Cancel"), {Resources::text("OK")});
    alert->show();
    deleteAll_->setEnabled(true);
}

void HistoryViewController::alertViewClickedButtonAtIndex(ui::AlertView* /*alertView*/,
                                                          int buttonIndex) {
    if (buttonIndex == kOkButtonIndex) {
        historydb_->deleteAllHistories();
        loadData();
    }
}

int32_t HistoryViewController::pkeyAt(int row) const {
    return ids_.value(row, -1);
}

int HistoryViewController::tableViewNumberOfRowsInSection(ui::TableView*, int section) {
    return section == 0 ? static_cast<int>(ids_.size()) : 0;
}

ui::TableViewCell*
HistoryViewController::tableViewCellForRowAtIndexPath(ui::TableView* tableView,
                                                      const ui::IndexPath& indexPath) {
    auto* cell =
        tableView->dequeueReusableCell(kListCellIdentifier, ui::TableViewCellStyle::Subtitle);
    cell->setAccessoryType(ui::TableViewCellAccessoryType::DisclosureIndicator);
    cell->setSelectionStyle(ui::TableViewCellSelectionStyle::None);
    // A row deleted since the ids were read shows empty.
    const QStringList record = historydb_->selectHistory(pkeyAt(indexPath.row));
    cell->textLabel()->setText(record.value(4));
    cell->detailTextLabel()->setText(record.value(6));
    const QString code = record.value(5);
    cell->imageView()->setImage(code.isEmpty() ? ui::Image()
                                               : Resources::image(TarnelDB::flagImageName(code)));
    return cell;
}

void HistoryViewController::tableViewDidSelectRowAtIndexPath(ui::TableView* tableView,
                                                             const ui::IndexPath& indexPath) {
    tableView->deselectRowAtIndexPathAnimated(indexPath, true);
    ui::NavigationController* navigation = navigationController();
    if (navigation == nullptr) {
        return;
    }
    auto* detail = new HistoryDetailViewController(historydb_);
    detail->setPkey(pkeyAt(indexPath.row));
    navigation->pushViewControllerAnimated(detail, true);
}

void HistoryViewController::tableViewCommitEditingStyleForRowAtIndexPath(
    ui::TableView* tableView, ui::TableViewCellEditingStyle style, const ui::IndexPath& indexPath) {
    if (style != ui::TableViewCellEditingStyle::Delete) {
        return;
    }
    historydb_->deleteHistory(pkeyAt(indexPath.row));
    loadData();
    tableView->deleteRowsAtIndexPathsWithRowAnimation({indexPath}, ui::TableViewRowAnimation::Fade);
    tableView->reloadData();
}
