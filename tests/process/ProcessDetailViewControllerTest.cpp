#include "process/ProcessDetailViewController.h"
#include "ProcessTableFixture.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/TableView.h"

#include "support/QtPrinters.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

#include <csignal>
#include <cstring>

using P = ProcessTableFixture;
using Sent = darwin::FixtureBackend::SentSignal;

namespace {

const ui::Color kPurple{0.7, 0, 0.7, 1};

class ProcessDetailViewControllerTest : public ::testing::Test {
protected:
    // The detail screen of `process`, as it comes on screen.
    void open(const darwin::KinfoProc& process) {
        kernel.backend->setProcessTable({process});
        screen = std::make_unique<ProcessDetailViewController>();
        screen->setInfo(std::make_shared<const ProcessInfo>(process.pid));
        screen->viewWillAppear(false);
    }

    QStringList column(bool titles, const QString& onlyTitle = {}) const {
        QStringList texts;
        for (const ProcessDetailTableCell::Data& row : screen->dataCells()) {
            if (onlyTitle.isEmpty() || row.title == onlyTitle) {
                texts.append(titles ? row.title : row.value);
            }
        }
        return texts;
    }

    static QString alertText() {
        const QList<ui::AlertView*> alerts = ui::AlertView::visibleAlerts();
        return alerts.size() == 1 ? alerts[0]->title() + ": " + alerts[0]->message() : QString();
    }

    ui::ActionSheet* tapStop() {
        P::closeOverlays();
        screen->stopButton()->trigger();
        return ui::ActionSheet::visibleSheets().value(0);
    }

    ProcessTableFixture kernel;
    std::unique_ptr<ProcessDetailViewController> screen;
};

TEST_F(ProcessDetailViewControllerTest, OwnProcessShowsMemoryAndFlagsButNoStopButton) {
    kernel.backend->setTaskInfo(P::kOwnPid, 1572864);
    auto own = P::process(P::kOwnPid, "ormel", 501);
    own.flag = 0x4003;
    own.pgid = 900;
    open(own);
    EXPECT_EQ(screen->title(), "Process Details");
    EXPECT_EQ(screen->navigationItem()->rightBarButtonItem(), nullptr);
    const QString text = screen->tableView()->renderText();
    EXPECT_TRUE(text.startsWith("--\nCommand\tormel\nUser\tmobile (501)\nGroup\tmobile (501)\n"
                                "PID\t1000\nPPID\t1\nPGID\t900\nState\tSleeping\nPriority\t31\n"
                                "Memory\t1.5 MB\nStarted\t"))
        << text.toStdString();
    EXPECT_TRUE(text.endsWith("Uptime\t1 hour, 30 secs\n"
                              "Info\tProcess may hold POSIX adv. lock\n"
                              "Info\tHas a controlling terminal\n"
                              "Info\tProcess called exec.\n"))
        << text.toStdString();
    EXPECT_EQ(screen->tableView()->rectForRowAtIndexPath({0, 0}).height, 28);

    // "Started" is the local time with its offset from UTC.
    static const QRegularExpression form(R"(^(.{19}) ([+-])(\d\d)(\d\d)$)");
    const QRegularExpressionMatch started = form.match(column(false, "Started").value(0));
    ASSERT_TRUE(started.hasMatch());
    QDateTime wall = QDateTime::fromString(started.captured(1), "yyyy-MM-dd HH:mm:ss");
    wall.setTimeSpec(Qt::UTC);
    const int offset = (started.captured(3).toInt() * 3600 + started.captured(4).toInt() * 60) *
                       (started.captured(2) == "-" ? -1 : 1);
    EXPECT_EQ(wall.toSecsSinceEpoch() - offset, P::kStarted);
}

TEST_F(ProcessDetailViewControllerTest, OtherUsersProcessHasNoMemoryRowAndSignedIds) {
    kernel.backend->setUserName(4294967294u, "nobody");
    auto nobody = P::process(20, "daemon", 4294967294u);
    nobody.flag = 0x4;
    open(nobody);
    EXPECT_EQ(screen->stopButton(), nullptr);
    EXPECT_EQ(column(true), QStringList({"Command", "User", "Group", "PID", "PPID", "PGID", "State",
                                         "Priority", "Started", "Uptime"}));
    EXPECT_EQ(column(false, "User"), QStringList({"nobody (-2)"}));

    auto bits = P::process(21, "daemon", 77);
    bits.flag = 0x8000 | 0x10000;
    open(bits);
    EXPECT_EQ(column(false, "Info"), QStringList({""}));
}

TEST_F(ProcessDetailViewControllerTest, ZombieGetsAdviceFirstAndTheSignalSheetNext) {
    open(P::process(20, "MobileSMS", 501, darwin::SZOMB));
    EXPECT_FALSE(column(true).contains("Memory"));
    EXPECT_EQ(screen->dataCells().value(6).color, kPurple);
    EXPECT_EQ(screen->dataCells().last().title, "Advice");
    EXPECT_EQ(screen->dataCells().last().color, ui::Color::red());
    ASSERT_NE(screen->stopButton(), nullptr);
    EXPECT_EQ(screen->stopButton()->title(), "Stop");

    EXPECT_EQ(tapStop(), nullptr);
    EXPECT_TRUE(alertText().startsWith("Advice: This process has already ended"));
    ui::ActionSheet* sheet = tapStop();
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->actionSheetStyle(), ui::ActionSheetStyle::BlackOpaque);
    EXPECT_EQ(sheet->destructiveButtonIndex(), 0);
    EXPECT_EQ(sheet->buttonTitleAtIndex(1), "Ask to quit (SIGTERM)");
    EXPECT_EQ(sheet->cancelButtonIndex(), 2);
    EXPECT_TRUE(kernel.backend->signalsSent().empty()) << "nothing before the choice";

    sheet->dismissWithClickedButtonIndexAnimated(0, false);
    EXPECT_EQ(kernel.backend->signalsSent(), std::vector<Sent>({{20, P::kStarted, SIGKILL}}));
    EXPECT_EQ(alertText(), "Notification: The signal was sent to the process.");
    EXPECT_FALSE(screen->stopButton()->isEnabled());
}

TEST_F(ProcessDetailViewControllerTest, SheetChoicesAndFailuresWithTheSystemsText) {
    open(P::process(20, "syncd", 501));
    tapStop()->dismissWithClickedButtonIndexAnimated(2, false);
    EXPECT_TRUE(kernel.backend->signalsSent().empty()) << "Cancel";
    EXPECT_EQ(alertText(), "");
    tapStop()->dismissWithClickedButtonIndexAnimated(1, false);
    EXPECT_EQ(kernel.backend->signalsSent(), std::vector<Sent>({{20, P::kStarted, SIGTERM}}));

    kernel.backend->failSignals(EPERM);
    open(P::process(20, "syncd", 501));
    tapStop()->dismissWithClickedButtonIndexAnimated(0, false);
    EXPECT_EQ(alertText(), QString("Error: ") + std::strerror(EPERM));
    EXPECT_TRUE(screen->stopButton()->isEnabled());

    kernel.backend->failSignals(0);
    auto successor = P::process(20, "syncd", 501); // the pid now names a newer process
    successor.starttime.sec += 60;
    kernel.backend->setProcessTable({successor});
    tapStop()->dismissWithClickedButtonIndexAnimated(0, false);
    EXPECT_EQ(alertText(), QString("Error: ") + std::strerror(ESRCH));
    EXPECT_EQ(kernel.backend->signalsSent().size(), 1u);
}

TEST(ProcessDetailTableCell, RowWithoutColourIsBlackInAReusedCell) {
    ProcessDetailTableCell cell(kProcessDetailTableCellIdentifier);
    cell.setLabel({"State", "Zombie", kPurple});
    cell.setLabel({"PID", "20", std::nullopt});
    EXPECT_EQ(cell.value()->textColor(), ui::Color::black());
    EXPECT_EQ(cell.title()->textColor(), ProcessDetailTableCell::kTitleColor);
}

} // namespace
