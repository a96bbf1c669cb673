#pragma once

#include "app/AppController.h"
#include "platform/services/NetworkReachability.h"
#include "platform/ui/Application.h"
#include "support/SystemFixture.h"
#include "system/SystemStatus.h"

#include <memory>

// The application over a fixture kernel: launched as main launches it (no network
// path), with pid 1 "launchd" run by root, and terminated at the end.
class LaunchedApp {
public:
    explicit LaunchedApp(SystemFixture& kernel) {
        darwin::KinfoProc launchd;
        launchd.pid = 1;
        launchd.comm = "launchd";
        launchd.stat = darwin::SSLEEP;
        launchd.starttime.sec = static_cast<int32_t>(SystemFixture::kNow - 60);
        kernel.backend->setUserName(0, "root");
        kernel.backend->setProcessTable({launchd});
    }

    void launch() {
        services::NetworkReachability::setPathSource([] { return services::NetworkPath{}; });
        SystemStatus::sharedInstance()->snapshotOfUptime();
        SystemStatus::sharedInstance()->snapshotOfLoadAvg();
        SystemStatus::sharedInstance()->snapshotOfWho();
        controller = std::make_unique<AppController>(AppStores{});
        ui::Application::sharedApplication()->setDelegate(controller.get());
        controller->applicationDidFinishLaunchingWithOptions(ui::Application::sharedApplication(),
                                                             {});
    }

    ~LaunchedApp() {
        if (controller) {
            controller->applicationWillTerminate(ui::Application::sharedApplication());
            ui::Application::sharedApplication()->setDelegate(nullptr);
            controller.reset();
        }
        services::NetworkReachability::setPathSource({});
    }

    std::unique_ptr<AppController> controller;
};
