#pragma once

#include "support/SystemFixture.h"

#include "platform/ui/ActionSheet.h"
#include "platform/ui/AlertView.h"

#include <QCoreApplication>

#include <string>

// A fixture kernel with a process table. The application runs as uid 501 ("mobile"),
// pid 1000 (the fixture backend's defaults); every process started an hour ago.
class ProcessTableFixture : public SystemFixture {
public:
    static constexpr int32_t kOwnPid = darwin::FixtureBackend::kDefaultPid;
    static constexpr uint32_t kOwnUid = darwin::FixtureBackend::kDefaultUid;
    static constexpr int32_t kStarted = static_cast<int32_t>(kNow - 3600);

    ProcessTableFixture() {
        backend->setUserName(0, "root");
        backend->setUserName(501, "mobile");
        backend->setGroupName(0, "wheel");
        backend->setGroupName(501, "mobile");
    }
    ~ProcessTableFixture() { closeOverlays(); }

    static darwin::KinfoProc process(int32_t pid, std::string comm, uint32_t uid,
                                     int8_t stat = darwin::SSLEEP) {
        darwin::KinfoProc record;
        record.pid = pid;
        record.comm = std::move(comm);
        record.uid = uid;
        record.ruid = uid;
        record.gid0 = uid;
        record.stat = stat;
        record.starttime.sec = kStarted;
        record.ppid = 1;
        record.pgid = pid;
        record.priority = 31;
        return record;
    }

    // Alerts and sheets left on screen by a test, and their deferred deletion.
    static void closeOverlays() {
        for (ui::AlertView* alert : ui::AlertView::visibleAlerts()) {
            alert->dismissWithClickedButtonIndexAnimated(0, false);
        }
        for (ui::ActionSheet* sheet : ui::ActionSheet::visibleSheets()) {
            sheet->dismissWithClickedButtonIndexAnimated(sheet->cancelButtonIndex(), false);
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};
