#include "process/ProcessDetailViewController.h"
#include "ProcessTableFixture.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/TableView.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <ctime>

using P = ProcessTableFixture;
using Sent = darwin::FixtureBackend::SentSignal;

namespace {

// The local time zone is `zone` (a TZ value) for the life of the object.
class LocalZone {
public:
    explicit LocalZone(const char* zone) : saved(qgetenv("TZ")) {
        qputenv("TZ", zone);
        tzset();
    }
    ~LocalZone() {
        saved.isNull() ? qunsetenv("TZ") : qputenv("TZ", saved);
        tzset();
    }

private:
    QByteArray saved; // null when TZ was not set
};

class ProcessDetailViewControllerTest : public ::testing::Test {
protected:
    // The detail screen of `process`, as it comes on screen.
    void open(const darwin::KinfoProc& process) {
        kernel.backend->setProcessTable({process});
        screen = std::make_unique<ProcessDetailViewController>();
        screen->setInfo(std::make_shared<const ProcessInfo>(process.pid));
        screen->viewWillAppear(false);
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
    LocalZone zone{"UTC-2"}; // two hours east of UTC
    std::unique_ptr<ProcessDetailViewController> screen;
};

TEST_F(ProcessDetailViewControllerTest, OwnProcessShowsMemoryAndFlagsButNoStopButton) {
    kernel.backend->setTaskInfo(P::kOwnPid, 1572864);
    auto own = P::process(P::kOwnPid, "ormel", 501);
    own.flag = 0x4003;
    own.pgid = 900;
    open(own);
    EXPECT_EQ(screen->navigationItem()->rightBarButtonItem(), nullptr);
    EXPECT_EQ(screen->tableView()->renderText(), "--\n"
                                                 "Command\tormel\n"
                                                 "User\tmobile (501)\n"
                                                 "Group\tmobile (501)\n"
                                                 "PID\t1000\n"
                                                 "PPID\t1\n"
                                                 "PGID\t900\n"
                                                 "State\tSleeping\n"
                                                 "Priority\t31\n"
                                                 "Memory\t1.5 MB\n"
                                                 "Started\t2023-11-14 23:13:20 +0200\n"
                                                 "Uptime\t1 hour, 30 secs\n"
                                                 "Info\tProcess may hold POSIX adv. lock\n"
                                                 "Info\tHas a controlling terminal\n"
                                                 "Info\tProcess called exec.\n");
}

TEST_F(ProcessDetailViewControllerTest, OtherUsersProcessHasNoMemoryRowAndSignedIds) {
    kernel.backend->setUserName(4294967294u, "nobody");
    auto nobody = P::process(20, "daemon", 4294967294u);
    nobody.flag = 0x4 | 0x8000 | 0x10000; // bits without a text, and one with an empty one
    open(nobody);
    EXPECT_EQ(screen->stopButton(), nullptr);
    const QString text = screen->tableView()->renderText();
    EXPECT_TRUE(text.contains("User\tnobody (-2)\nGroup\t (-2)\n")) << text.toStdString();
    EXPECT_TRUE(text.contains("Priority\t31\nStarted\t")) << "no memory row";
    EXPECT_TRUE(text.endsWith("Uptime\t1 hour, 30 secs\nInfo\t\n")) << "one info row, empty";
}

TEST(ProcessDetailDate, WestOfUtcAndInvalid) {
    LocalZone zone("<-0330>3:30");
    const QDateTime started = QDateTime::fromSecsSinceEpoch(P::kStarted, Qt::UTC);
    EXPECT_EQ(ProcessDetailViewController::dateDescription(started), "2023-11-14 17:43:20 -0330");
    EXPECT_EQ(ProcessDetailViewController::dateDescription(QDateTime()), "");
}

TEST_F(ProcessDetailViewControllerTest, ZombieGetsAdviceFirstAndTheSignalSheetNext) {
    open(P::process(20, "MobileSMS", 501, darwin::SZOMB));
    const QString text = screen->tableView()->renderText();
    EXPECT_FALSE(text.contains("Memory")) << text.toStdString();
    EXPECT_TRUE(text.endsWith("Advice\tRestart the device to clear it\n")) << text.toStdString();
    ASSERT_NE(screen->stopButton(), nullptr);

    EXPECT_EQ(tapStop(), nullptr);
    EXPECT_TRUE(alertText().startsWith("Advice: This process has already ended"));
    ui::ActionSheet* sheet = tapStop();
    ASSERT_NE(sheet, nullptr);
    EXPECT_TRUE(kernel.backend->signalsSent().empty()) << "nothing before the choice";

    sheet->dismissWithClickedButtonIndexAnimated(ProcessDetailViewController::kSigKillButtonIndex,
                                                 false);
    EXPECT_EQ(kernel.backend->signalsSent(), std::vector<Sent>({{20, P::kStarted, SIGKILL}}));
    EXPECT_EQ(alertText(), "Notification: The signal was sent to the process.");
    EXPECT_FALSE(screen->stopButton()->isEnabled());
}

TEST_F(ProcessDetailViewControllerTest, SheetChoicesAndFailuresWithTheSystemsText) {
    open(P::process(20, "syncd", 501));
    ui::ActionSheet* sheet = tapStop();
    sheet->dismissWithClickedButtonIndexAnimated(sheet->cancelButtonIndex(), false);
    EXPECT_TRUE(kernel.backend->signalsSent().empty()) << "Cancel";
    EXPECT_EQ(alertText(), "");
    tapStop()->dismissWithClickedButtonIndexAnimated(
        ProcessDetailViewController::kSigTermButtonIndex, false);
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

TEST_F(ProcessDetailViewControllerTest, HostileNamesShowTheirBytesOnTheirRows) {
    kernel.backend->setUserName(77, "caf\xe9\n");
    open(P::process(30, "a\x1b]0;b\x07\xff", 77));
    const QString text = screen->tableView()->renderText();
    EXPECT_TRUE(text.startsWith("--\n"
                                "Command\ta\\x1b]0;b\\x07\\xff\n"
                                "User\tcaf\\xe9\\n (77)\n"))
        << text.toStdString();
}

} // namespace
