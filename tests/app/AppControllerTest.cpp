#include "app/AppController.h"
#include "memdisk/DiskStatusViewController.h"
#include "memdisk/MemoryStatusViewController.h"
#include "network/NetworkStatusViewController.h"
#include "platform/services/NetworkReachability.h"
#include "platform/ui/DelayedPerform.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/TabBarItem.h"
#include "process/ProcessStatusViewController.h"
#include "support/EventLoop.h"
#include "support/SystemFixture.h"
#include "system/SystemStatusViewController.h"

#include <QCoreApplication>

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <thread>

namespace {

using services::NetworkPath;
using services::NetworkReachability;

// Stores that record what the controller does with them.
struct RecordingStores {
    std::mutex mutex;
    QStringList calls;
    QList<QStringList> inserted;
    bool ready = true;
    bool canBegin = true;
    QStringList destinations;
    QHash<QString, QStringList> registry;

    void record(const QString& call) {
        std::lock_guard lock(mutex);
        calls.append(call);
    }
    QStringList recorded() {
        std::lock_guard lock(mutex);
        return calls;
    }

    AppStores stores() {
        AppStores s;
        AppStores::History history;
        history.isReady = [this] {
            record("isReady");
            return ready;
        };
        history.begin = [this] {
            record("begin");
            return canBegin;
        };
        history.insert = [this](const QStringList& row) {
            record("insert");
            std::lock_guard lock(mutex);
            inserted.append(row);
            return true;
        };
        history.commit = [this] {
            record("commit");
            return true;
        };
        history.close = [this] { record("closeHistory"); };
        s.history = history;
        s.registrySearch = [this](const QString& address) { return registry.value(address); };
        s.registryClose = [this] { record("closeRegistry"); };
        s.routingDestinations = [this] {
            record("routing");
            return destinations;
        };
        s.servicesClose = [this] { record("closeServices"); };
        s.processFinalize = [this] { record("finalizeProcess"); };
        return s;
    }
};

class AppControllerTest : public ::testing::Test {
protected:
    void SetUp() override {
        NetworkReachability::setPathSource([] { return NetworkPath{true, false}; });
    }
    void TearDown() override {
        NetworkReachability::setPathSource({});
        ui::Application::sharedApplication()->setDelegate(nullptr);
    }

    // Launches a controller over the given stores as the application's delegate.
    std::unique_ptr<AppController> launch(AppStores stores) {
        auto controller = std::make_unique<AppController>(std::move(stores));
        ui::Application::sharedApplication()->setDelegate(controller.get());
        controller->applicationDidFinishLaunchingWithOptions(ui::Application::sharedApplication(),
                                                             {});
        return controller;
    }

    SystemFixture kernel;
    RecordingStores recording;
};

TEST_F(AppControllerTest, BuildsTheFiveTabsInOrder) {
    auto controller = launch(recording.stores());
    const QList<ui::ViewController*> stacks = controller->tabBarManager()->viewControllers();
    ASSERT_EQ(stacks.size(), 5);
    const QStringList titles = {"System", "Process", "Memory", "Disk", "Network"};
    for (int tag = 0; tag < 5; ++tag) {
        auto* stack = qobject_cast<ui::NavigationController*>(stacks[tag]);
        ASSERT_NE(stack, nullptr);
        EXPECT_EQ(stack->tabBarItem()->tag(), tag);
        EXPECT_EQ(stack->tabBarItem()->title(), titles[tag]);
        EXPECT_FALSE(stack->tabBarItem()->image().isNull()) << tag;
        EXPECT_EQ(stack->navigationBar()->barStyle(), ui::BarStyle::Black);
    }
    const ui::ViewController* roots[] = {
        controller->systemStatusViewController(), controller->processStatusViewController(),
        controller->memoryStatusViewController(), controller->diskStatusViewController(),
        controller->networkStatusViewController()};
    for (int tag = 0; tag < 5; ++tag) {
        ASSERT_NE(roots[tag], nullptr);
        EXPECT_EQ(qobject_cast<ui::NavigationController*>(stacks[tag])->viewControllers().first(),
                  roots[tag]);
    }
    // The selected tab's screen is on screen once the window shows.
    EXPECT_TRUE(controller->systemStatusViewController()->isOnScreen());
    EXPECT_FALSE(controller->processStatusViewController()->isOnScreen());
    EXPECT_EQ(controller->tabBarManager()->selectedIndex(), 0);
    EXPECT_EQ(AppState::ofSharedApplication(), controller.get());
}

TEST_F(AppControllerTest, LaunchStartsGatheringThenTestsReachabilityBeforeBuilding) {
    AppController* launching = nullptr;
    bool checkedInOrder = false;
    NetworkReachability::setPathSource([&] {
        checkedInOrder = launching->launchGatheringStarted() && launching->numFormat() == nullptr &&
                         launching->window() == nullptr;
        return NetworkPath{true, false};
    });
    AppController controller(recording.stores());
    launching = &controller;
    ui::Application::sharedApplication()->setDelegate(&controller);
    EXPECT_TRUE(controller.applicationDidFinishLaunchingWithOptions(
        ui::Application::sharedApplication(), {}));
    EXPECT_TRUE(checkedInOrder);
    ASSERT_NE(controller.numFormat(), nullptr);
    EXPECT_EQ(controller.numFormat()->getNumberStyle(), ui::NumberFormatterStyle::Decimal);
    EXPECT_TRUE(controller.window()->isVisible());
    controller.applicationWillTerminate(ui::Application::sharedApplication());
    // The launch pass ran on its own thread against the stores.
    EXPECT_TRUE(recording.recorded().contains("isReady"));
}

TEST_F(AppControllerTest, OnlyANonCellularPathCountsAsReachable) {
    struct Case {
        std::optional<NetworkPath> path;
        bool reachable;
    };
    const Case cases[] = {{NetworkPath{true, false}, true},
                          {NetworkPath{true, true}, false},
                          {NetworkPath{false, false}, false},
                          {std::nullopt, false}};
    AppController controller(recording.stores());
    for (const Case& c : cases) {
        NetworkReachability::setPathSource([&] { return c.path; });
        controller.checkReachability();
        EXPECT_EQ(controller.networkReachable(), c.reachable);
    }
}

TEST_F(AppControllerTest, GatheringRecordsEveryDestinationWithARegistryEntry) {
    const QStringList japan = {"JP",        "Japan", "APNIC", "allocated", "1.0.16.0 - 1.0.31.255",
                               "2011-04-14"};
    recording.destinations = {"1.0.16.1", "192.0.2.1", "1.0.16.1"};
    recording.registry.insert("1.0.16.1", japan);
    AppController controller(recording.stores());
    controller.gathering();
    EXPECT_EQ(recording.recorded(),
              QStringList({"isReady", "begin", "routing", "insert", "insert", "commit"}));
    ASSERT_EQ(recording.inserted.size(), 2);
    EXPECT_EQ(recording.inserted[0], QStringList{"1.0.16.1"} + japan);
}

TEST_F(AppControllerTest, APassCommitsWhatItBeganAndBeginsOnlyWithAReadyHistory) {
    AppController controller(recording.stores());
    controller.gathering(); // an empty routing table
    EXPECT_EQ(recording.recorded(), QStringList({"isReady", "begin", "routing", "commit"}));
    recording.destinations = {"192.0.2.1"};
    recording.registry.insert("192.0.2.1", {"JP"});
    recording.ready = false;
    recording.calls.clear();
    controller.gathering();
    EXPECT_EQ(recording.recorded(), QStringList({"isReady"}));
    recording.ready = true;
    recording.canBegin = false;
    recording.calls.clear();
    controller.gathering();
    EXPECT_EQ(recording.recorded(), QStringList({"isReady", "begin"}));
    EXPECT_TRUE(recording.inserted.isEmpty());
}

TEST_F(AppControllerTest, TheBackgroundArmsOnePassThatRearmsItselfUntilTheForeground) {
    auto controller = launch(recording.stores());
    ui::Application* application = ui::Application::sharedApplication();
    controller->applicationDidEnterBackground(application);
    EXPECT_NE(controller->backgroundTaskIdentifier(), ui::Application::BackgroundTaskInvalid);
    // The arming ends the background task on the main queue once it is registered.
    ASSERT_TRUE(testenv::processEventsUntil([&] {
        return controller->backgroundTaskIdentifier() == ui::Application::BackgroundTaskInvalid;
    }));
    EXPECT_EQ(ui::DelayedPerform::pendingCount(controller.get()), 1);
    EXPECT_EQ(application->backgroundTaskCount(), 0);
    controller->applicationWillEnterForeground(application);
    EXPECT_EQ(ui::DelayedPerform::pendingCount(controller.get()), 0);
    controller->applicationWillTerminate(application);

    recording.calls.clear();
    AppController unlaunched(recording.stores());
    unlaunched.gatheringInBackground(); // as the armed request runs it
    EXPECT_EQ(recording.recorded().count("commit"), 1);
    EXPECT_EQ(ui::DelayedPerform::pendingCount(&unlaunched), 1);
    unlaunched.applicationWillEnterForeground(application);
    EXPECT_EQ(ui::DelayedPerform::pendingCount(&unlaunched), 0);
}

TEST_F(AppControllerTest, AControllerCanGoRightAfterEnteringTheBackground) {
    for (int round = 0; round < 20; ++round) {
        auto controller = launch(recording.stores());
        controller->applicationDidEnterBackground(ui::Application::sharedApplication());
        ui::Application::sharedApplication()->setDelegate(nullptr);
        controller.reset(); // the arming still queued must not outlive it
        QCoreApplication::processEvents();
        EXPECT_EQ(ui::Application::sharedApplication()->backgroundTaskCount(), 0);
    }
}

TEST_F(AppControllerTest, APassRunningWhenTheForegroundReturnsDoesNotRearm) {
    std::mutex gate;
    std::condition_variable changed;
    bool passEntered = false;
    bool foregroundDone = false;
    AppStores stores = recording.stores();
    stores.routingDestinations = [&] {
        std::unique_lock lock(gate);
        passEntered = true;
        changed.notify_all();
        changed.wait(lock, [&] { return foregroundDone; });
        return QStringList();
    };
    AppController controller(stores);
    std::thread pass([&] { controller.gatheringInBackground(); });
    {
        std::unique_lock lock(gate);
        changed.wait(lock, [&] { return passEntered; });
    }
    controller.applicationWillEnterForeground(ui::Application::sharedApplication());
    {
        std::lock_guard lock(gate);
        foregroundDone = true;
    }
    changed.notify_all();
    pass.join();
    EXPECT_EQ(ui::DelayedPerform::pendingCount(&controller), 0);
}

TEST_F(AppControllerTest, TerminationClosesTheStoresInOrder) {
    recording.ready = false;
    auto controller = launch(recording.stores());
    controller->applicationWillTerminate(ui::Application::sharedApplication());
    QStringList closes = recording.recorded();
    closes.removeAll("isReady");
    EXPECT_EQ(closes,
              QStringList({"closeHistory", "closeServices", "closeRegistry", "finalizeProcess"}));
}

} // namespace
