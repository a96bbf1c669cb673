#include "process/ProcessStatusViewController.h"
#include "ProcessTableFixture.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/TableView.h"
#include "process/ProcessDetailViewController.h"
#include "process/ProcessStatusMobileUserTableCell.h"
#include "process/ProcessStatusOtherUsersTableCell.h"

#include "support/QtPrinters.h"

#include <QAccessible>
#include <gtest/gtest.h>

#include <memory>

using P = ProcessTableFixture;

namespace {

class ProcessStatusViewControllerTest : public ::testing::Test {
protected:
    void SetUp() override {
        kernel.backend->setUserName(4242, "alice");
        kernel.backend->setTaskInfo(P::kOwnPid, 1572864);
        kernel.backend->setTaskInfo(80, 3 * 1048576);
    }

    // The list on screen, in its navigation stack, over the given kernel table.
    void show(const std::vector<darwin::KinfoProc>& table) {
        kernel.backend->setProcessTable(table);
        list = new ProcessStatusViewController();
        stack = std::make_unique<ui::NavigationController>(list);
        stack->view();
        stack->beginAppearanceTransition(true, false);
        stack->endAppearanceTransition();
    }

    // The cell the screen makes for a row, laid out; like every cell, it belongs to the
    // table.
    template <typename Cell> Cell* cellAt(int section, int row) {
        auto* cell = dynamic_cast<Cell*>(
            list->tableViewCellForRowAtIndexPath(list->tableView(), {section, row}));
        cell->resize(ui::Screen::px(320), ui::Screen::px(52));
        cell->layoutSubviews();
        return cell;
    }

    ProcessTableFixture kernel;
    std::unique_ptr<ui::NavigationController> stack;
    ProcessStatusViewController* list = nullptr;
};

TEST_F(ProcessStatusViewControllerTest, GroupsByNameFirstThenUserKeepingSnapshotOrder) {
    kernel.backend->setUserName(501, "");      // uid 501 without an account entry
    kernel.backend->setUserName(77, "mobile"); // the account name counts, whatever the id
    show({P::process(1, "launchd", 0), P::process(30, "MobileSafari", 0),
          P::process(40, "SpringBoard", 501), P::process(60, "syncd", 77),
          P::process(70, "firefox-esr", 4242), P::process(80, "MobileMail", 501),
          P::process(90, "sshd", 4242)});
    // The snapshot lists the kernel's table backwards; each section keeps that order.
    EXPECT_EQ(list->tableView()->renderText(), "-- Main Applications\n"
                                               "MobileMail\t3.0 MB\t1 hour, 30 secs\n"
                                               "firefox-esr\t1 hour, 30 secs\n"
                                               "MobileSafari\t1 hour, 30 secs\n"
                                               "-- User Processes\n"
                                               "syncd\t1 hour, 30 secs\n"
                                               "SpringBoard\t? MB\t1 hour, 30 secs\n"
                                               "-- Other Processes\n"
                                               "sshd\talice\t1 hour, 30 secs\tPID: 90\tPPID: 1\n"
                                               "launchd\troot\t1 hour, 30 secs\tPID: 1\tPPID: 1\n");
    EXPECT_EQ(list->title(), "Processes");
}

TEST_F(ProcessStatusViewControllerTest, AScreenReaderReadsEverySectionAndRow) {
    show({P::process(1, "launchd", 0), P::process(30, "MobileSafari", 0),
          P::process(40, "SpringBoard", 501), P::process(90, "sshd", 4242)});
    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(list->tableView());
    ASSERT_NE(table, nullptr);
    QStringList names;
    for (int i = 0; i < table->childCount(); ++i) {
        names.append(table->child(i)->text(QAccessible::Name));
    }
    EXPECT_EQ(names,
              QStringList({"Main Applications", "MobileSafari\t1 hour, 30 secs", "User Processes",
                           "SpringBoard\t? MB\t1 hour, 30 secs", "Other Processes",
                           "sshd\talice\t1 hour, 30 secs\tPID: 90\tPPID: 1",
                           "launchd\troot\t1 hour, 30 secs\tPID: 1\tPPID: 1"}));
    EXPECT_EQ(table->child(0)->role(), QAccessible::Heading);
    EXPECT_EQ(table->child(1)->role(), QAccessible::ListItem);
}

TEST_F(ProcessStatusViewControllerTest, OwnUsersRowsShowColourIconAndMemory) {
    show({P::process(P::kOwnPid, "ormel", 501), P::process(20, "MobileSMS", 501, darwin::SZOMB),
          P::process(21, "thunderbird", 501), P::process(23, "MobilePhone", 4242)});
    using Cell = ProcessStatusMobileUserTableCell;
    Cell* own = cellAt<Cell>(1, 0);
    EXPECT_EQ(own->name()->textColor(), Cell::kOwnProcessColor);
    EXPECT_EQ(own->iconName(), "Ormel.png");
    EXPECT_FALSE(own->iconBox()->image().isNull()) << "the icon ships in the bundle";
    EXPECT_EQ(own->memory()->text(), "1.5 MB");
    EXPECT_DOUBLE_EQ(ui::frame(own->iconBox()).x, own->contentBounds().x + 230);

    Cell* zombie = cellAt<Cell>(0, 2);
    EXPECT_EQ(zombie->name()->textColor(), Cell::kZombieColor);
    EXPECT_EQ(zombie->iconName(), "SMS.png");
    EXPECT_EQ(zombie->memory()->text(), "");

    Cell* linuxMail = cellAt<Cell>(0, 1);
    EXPECT_EQ(linuxMail->name()->textColor(), Cell::kOwnUserColor);
    EXPECT_EQ(linuxMail->iconName(), "Mail.png");

    Cell* otherUsers = cellAt<Cell>(0, 0);
    EXPECT_EQ(otherUsers->name()->textColor(), ui::Color::black());
    EXPECT_EQ(otherUsers->iconName(), "none48.png");
    EXPECT_FALSE(otherUsers->memory()->isVisibleTo(otherUsers));
    EXPECT_DOUBLE_EQ(ui::frame(otherUsers->iconBox()).x, otherUsers->contentBounds().x + 80);
}

TEST_F(ProcessStatusViewControllerTest, OtherUsersRowsShowTheSuperuserInBrown) {
    kernel.backend->setUserName(0, "toor");
    kernel.backend->setUserName(99, "root");
    show({P::process(1, "launchd", 0), P::process(2, "fake", 99),
          P::process(3, "httpd", 77, darwin::SZOMB), P::process(4, "gone", 77)});
    kernel.backend->vanish(4);
    list->refreshAction();
    using Cell = ProcessStatusOtherUsersTableCell;
    // A process gone before its own query: an empty record, uid 0.
    EXPECT_EQ(list->tableView()->rowTexts({2, 0}), QStringList({"PID: 0", "PPID: 0"}));
    EXPECT_EQ(cellAt<Cell>(2, 0)->user()->textColor(), Cell::kSuperuserColor);
    Cell* zombie = cellAt<Cell>(2, 1);
    EXPECT_EQ(zombie->name()->textColor(), Cell::kZombieColor);
    EXPECT_EQ(zombie->user()->textColor(), ui::Color::black());
    EXPECT_EQ(cellAt<Cell>(2, 2)->user()->textColor(), Cell::kSuperuserColor) << "named root";
    EXPECT_EQ(cellAt<Cell>(2, 3)->user()->textColor(), Cell::kSuperuserColor) << "uid 0";
}

TEST_F(ProcessStatusViewControllerTest, RefreshReplacesRowsAndDisappearingDropsThem) {
    show({P::process(10, "a", 77), P::process(11, "b", 77)});
    kernel.backend->setProcessTable({P::process(12, "c", 77)});
    list->refreshAction();
    EXPECT_EQ(list->tableView()->rowTexts({2, 0}).value(0), "c");
    EXPECT_EQ(list->tableView()->numberOfRowsInSection(2), 1);

    stack->beginAppearanceTransition(false, false);
    stack->endAppearanceTransition();
    EXPECT_TRUE(list->otherProcs().isEmpty());
    EXPECT_TRUE(list->pstat()->info().isEmpty());
    EXPECT_EQ(list->tableView()->numberOfRowsInSection(2), 0);
}

TEST_F(ProcessStatusViewControllerTest, SelectingARowPushesItsDetailsWithoutTheTabBar) {
    show({P::process(10, "a", 77), P::process(11, "b", 77)});
    list->tableView()->tapRowAtIndexPath({2, 1});
    auto* detail = dynamic_cast<ProcessDetailViewController*>(stack->topViewController());
    ASSERT_NE(detail, nullptr);
    EXPECT_EQ(detail->info()->pid(), 10);
    EXPECT_TRUE(detail->hidesBottomBarWhenPushed());
    EXPECT_FALSE(list->hidesBottomBarWhenPushed());
    EXPECT_FALSE(list->tableView()->indexPathForSelectedRow().has_value());
    EXPECT_EQ(list->navigationItem()->backBarButtonTitle(), "Back");
    EXPECT_TRUE(list->pstat()->info().isEmpty()) << "the list dropped its snapshot";
    EXPECT_EQ(detail->dataCells().value(0).value, "a") << "the detail keeps its own record";

    stack->popViewControllerAnimated(false);
    EXPECT_EQ(list->otherProcs().size(), 2) << "a fresh snapshot";
}

} // namespace

TEST(ProcessStatusOtherUsersTableCellFit, SevenDigitPidsFitTheirLabels) {
    const double scale = ui::Screen::scale();
    ui::Screen::setScale(2);
    ProcessStatusOtherUsersTableCell cell(QStringLiteral("fit"));
    cell.resize(ui::Screen::px(320), ui::Screen::px(52));
    cell.layoutSubviews();
    cell.pid()->setText(QStringLiteral("PID: 4194303"));
    cell.ppid()->setText(QStringLiteral("PPID: 4194303"));
    for (ui::Label* id : {cell.pid(), cell.ppid()}) {
        const QFontMetrics metrics(id->shownFont());
        EXPECT_EQ(metrics.elidedText(id->text(), Qt::ElideRight, id->contentsRect().width()),
                  id->text());
    }
    ui::Screen::setScale(scale);
}

TEST(ProcessStatusMobileUserTableCell, ShowsWhatItIsGivenAndLaysOutForTheOwnUser) {
    using Cell = ProcessStatusMobileUserTableCell;
    Cell cell(kProcessStatusMobileUserTableCellIdentifier);
    cell.resize(ui::Screen::px(320), ui::Screen::px(52));
    cell.setLabel({"syncd", "2 mins, 5 secs", Cell::kOwnUserColor, true, "7.0 MB", "Mail.png"});
    EXPECT_EQ(cell.name()->text(), "syncd");
    EXPECT_EQ(cell.uptime()->text(), "2 mins, 5 secs");
    EXPECT_EQ(cell.memory()->text(), "7.0 MB");
    EXPECT_TRUE(cell.memory()->isVisibleTo(&cell));
    EXPECT_EQ(cell.name()->textColor(), Cell::kOwnUserColor);
    EXPECT_EQ(cell.iconName(), "Mail.png");

    cell.setLabel({"cron", "1 sec", ui::Color::black(), false, QString(), "none48.png"});
    EXPECT_FALSE(cell.memory()->isVisibleTo(&cell));
    EXPECT_DOUBLE_EQ(ui::frame(cell.iconBox()).x, cell.contentBounds().x + 80);
}

TEST(ProcessStatusOtherUsersTableCell, ShowsWhatItIsGiven) {
    using Cell = ProcessStatusOtherUsersTableCell;
    Cell cell(kProcessStatusOtherUsersTableCellIdentifier);
    cell.setLabel(
        {"httpd", "www", "1 sec", "PID: 3", "PPID: 1", Cell::kZombieColor, ui::Color::black()});
    EXPECT_EQ(cell.name()->text(), "httpd");
    EXPECT_EQ(cell.user()->text(), "www");
    EXPECT_EQ(cell.pid()->text(), "PID: 3");
    EXPECT_EQ(cell.ppid()->text(), "PPID: 1");
    EXPECT_EQ(cell.name()->textColor(), Cell::kZombieColor);
}
