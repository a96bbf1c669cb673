#include "ProcessTableFixture.h"
#include "platform/darwin/Darwin.h"
#include "platform/darwin/linux/LinuxBackend.h"
#include "process/ProcessDetailViewController.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

// Reads the running host and signals a real child process: labelled "live" in CTest.
TEST(LiveHostProcessDetail, SigtermChosenInTheSheetEndsAChildProcess) {
    darwin::install(std::make_shared<darwin::LinuxBackend>("/"));
    const pid_t child = ::fork();
    if (child == 0) {
        for (;;) {
            ::pause();
        }
    }
    ASSERT_GT(child, 0);
    int status = 0;
    {
        ProcessDetailViewController screen;
        screen.setInfo(std::make_shared<const ProcessInfo>(child));
        screen.viewWillAppear(false);
        if (screen.stopButton() != nullptr) { // a process of our own user
            screen.stopButton()->trigger();
        }
        if (ui::ActionSheet* sheet = ui::ActionSheet::visibleSheets().value(0)) {
            sheet->dismissWithClickedButtonIndexAnimated(
                ProcessDetailViewController::kSigTermButtonIndex, false);
        }
        const QList<ui::AlertView*> alerts = ui::AlertView::visibleAlerts();
        EXPECT_EQ(alerts.size() == 1 ? alerts[0]->message() : "",
                  "The signal was sent to the process.");
        ProcessTableFixture::closeOverlays();
        ::kill(child, SIGKILL); // no-op once SIGTERM has ended it
        ASSERT_EQ(::waitpid(child, &status, 0), child);
    }
    darwin::install(nullptr);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << "status " << status;
}
