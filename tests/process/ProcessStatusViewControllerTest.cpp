#include "process/ProcessStatusViewController.h"
#include "ProcessTableFixture.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/TableView.h"
#include "process/ProcessDetailViewController.h"

#include "support/QtPrinters.h"
#include "support/TableJson.h"

#include <QAccessible>
#include <QRegularExpression>

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

    ProcessTableFixture kernel;
    std::unique_ptr<ui::NavigationController> stack;
    ProcessStatusViewController* list = nullptr;
};

TEST_F(ProcessStatusViewControllerTest, GroupsByNameFirstThenUserAsTextAndForAScreenReader) {
    kernel.backend->setUserName(501, "");      // uid 501 without an account entry
    kernel.backend->setUserName(77, "mobile"); // the account name counts, whatever the id
    show({P::process(1, "launchd", 0), P::process(30, "MobileSafari", 0),
          P::process(40, "SpringBoard", 501), P::process(60, "syncd", 77),
          P::process(70, "firefox-esr", 4242), P::process(80, "MobileMail", 501),
          P::process(90, "sshd", 4242)});
    // The snapshot lists the kernel's table backwards; each section keeps that order. Only
    // the own user's processes show their memory.
    const QString text = list->tableView()->renderText();
    EXPECT_EQ(text, "-- Main Applications\n"
                    "MobileMail\t3.0 MB\t1 hour, 30 secs\n"
                    "firefox-esr\t1 hour, 30 secs\n"
                    "MobileSafari\t1 hour, 30 secs\n"
                    "-- User Processes\n"
                    "syncd\t1 hour, 30 secs\n"
                    "SpringBoard\t? MB\t1 hour, 30 secs\n"
                    "-- Other Processes\n"
                    "sshd\talice\t1 hour, 30 secs\tPID: 90\tPPID: 1\n"
                    "launchd\troot\t1 hour, 30 secs\tPID: 1\tPPID: 1\n");
    // A screen reader reads the same: each titled section's header, then its rows.
    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(list->tableView());
    ASSERT_NE(table, nullptr);
    QStringList read;
    for (int i = 0; i < table->childCount(); ++i) {
        read.append(table->child(i)->text(QAccessible::Name));
    }
    QStringList lines = text.split('\n', Qt::SkipEmptyParts);
    for (QString& line : lines) {
        line.remove(QRegularExpression("^-- "));
    }
    EXPECT_EQ(read, lines);
}

TEST_F(ProcessStatusViewControllerTest, RowColoursIconsAndMemory) {
    kernel.backend->setUserName(0, "toor");
    kernel.backend->setUserName(99, "root");
    kernel.backend->setProcessTable(
        {P::process(P::kOwnPid, "ormel", 501), P::process(20, "MobileSMS", 501, darwin::SZOMB),
         P::process(21, "thunderbird", 501), P::process(23, "MobilePhone", 4242),
         P::process(1, "launchd", 0), P::process(2, "fake", 99),
         P::process(3, "httpd", 77, darwin::SZOMB)});
    ProcessStatusViewController screen;
    const QString up = "1 hour, 30 secs";
    const ui::Color black = ui::Color::black();

    using Mobile = ProcessStatusMobileUserTableCell;
    const std::pair<int32_t, Mobile::Data> mobileRows[] = {
        {P::kOwnPid, {"ormel", up, Mobile::kOwnProcessColor, true, "1.5 MB", "Ormel.png"}},
        {20, {"MobileSMS", up, Mobile::kZombieColor, true, "", "SMS.png"}},
        {21, {"thunderbird", up, Mobile::kOwnUserColor, true, "? MB", "Mail.png"}},
        {23, {"MobilePhone", up, black, false, "", "none48.png"}},
    };
    for (const auto& [pid, row] : mobileRows) {
        EXPECT_EQ(screen.mobileUserRow(ProcessInfo(pid)), row) << pid;
    }

    using Other = ProcessStatusOtherUsersTableCell;
    const std::pair<int32_t, Other::Data> otherRows[] = {
        {1, {"launchd", "toor", up, "PID: 1", "PPID: 1", black, Other::kSuperuserColor}},
        {2, {"fake", "root", up, "PID: 2", "PPID: 1", black, Other::kSuperuserColor}},
        {3, {"httpd", "", up, "PID: 3", "PPID: 1", Other::kZombieColor, black}},
        // A process gone before its own query: an empty record, with uid 0.
        {-1, {"", "", "", "PID: 0", "PPID: 0", black, Other::kSuperuserColor}},
    };
    for (const auto& [pid, row] : otherRows) {
        EXPECT_EQ(screen.otherUsersRow(pid > 0 ? ProcessInfo(pid) : ProcessInfo()), row) << pid;
    }
}

TEST_F(ProcessStatusViewControllerTest, RefreshReplacesRowsAndDisappearingDropsThem) {
    show({P::process(10, "a", 77), P::process(11, "b", 77)});
    kernel.backend->setProcessTable({P::process(12, "c", 77)});
    list->refreshAction();
    EXPECT_EQ(list->tableView()->renderText(), "-- Main Applications\n-- User Processes\n"
                                               "-- Other Processes\n"
                                               "c\t\t1 hour, 30 secs\tPID: 12\tPPID: 1\n")
        << "a user without an account entry keeps its column, empty";

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
    EXPECT_TRUE(list->pstat()->info().isEmpty()) << "the list dropped its snapshot";
    EXPECT_EQ(detail->dataCells().value(0).value, "a") << "the detail keeps its own record";

    stack->popViewControllerAnimated(false);
    EXPECT_EQ(list->otherProcs().size(), 2) << "a fresh snapshot";
}

// Command and user names come from the kernel as bytes: each stays on its row and in its
// column, and no byte reaches a terminal raw or goes missing; the JSON has the same cells.
TEST_F(ProcessStatusViewControllerTest, HostileNamesStayInTheirColumnsAndShowTheirBytes) {
    kernel.backend->setUserName(77, "caf\xe9");
    show({P::process(10, "\x1b[8m", 4242), P::process(11, "two\nlines", 77),
          P::process(12, "tab\there", 0), P::process(13, "\xff\xfe", 0)});
    const QString text = list->tableView()->renderText();
    EXPECT_TRUE(text.endsWith("-- Other Processes\n"
                              "\\xff\\xfe\troot\t1 hour, 30 secs\tPID: 13\tPPID: 1\n"
                              "tab\\there\troot\t1 hour, 30 secs\tPID: 12\tPPID: 1\n"
                              "two\\nlines\tcaf\\xe9\t1 hour, 30 secs\tPID: 11\tPPID: 1\n"
                              "\\x1b[8m\talice\t1 hour, 30 secs\tPID: 10\tPPID: 1\n"))
        << text.toStdString();
    const QJsonObject json = list->tableView()->renderJson();
    EXPECT_EQ(json["sections"][2]["rows"][2].toVariant().toStringList(),
              QStringList({"two\nlines", "caf\\xe9", "1 hour, 30 secs", "PID: 11", "PPID: 1"}));
    EXPECT_EQ(textOfTableJson(json), text);
}

} // namespace

// Linux pids run to seven digits: the id labels shrink their text rather than cut it.
TEST(ProcessStatusOtherUsersTableCellFit, SevenDigitPidsFitTheirLabels) {
    const double scale = ui::Screen::scale();
    ui::Screen::setScale(2);
    ProcessStatusOtherUsersTableCell cell(QStringLiteral("fit"));
    cell.resize(ui::Screen::px(320), ui::Screen::px(52));
    cell.layoutSubviews();
    cell.setLabel({"x", "y", "z", "PID: 4194303", "PPID: 4194303"});
    for (ui::Label* id : {cell.pid(), cell.ppid()}) {
        const QFontMetrics metrics(id->shownFont());
        EXPECT_EQ(metrics.elidedText(id->text(), Qt::ElideRight, id->contentsRect().width()),
                  id->text());
    }
    ui::Screen::setScale(scale);
}
