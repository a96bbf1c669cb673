#pragma once

#include "app/AppStores.h"
#include "common/AppState.h"
#include "platform/ui/Application.h"
#include "platform/ui/NumberFormatter.h"
#include "platform/ui/TabBarController.h"
#include "platform/ui/Window.h"

#include <QStringList>
#include <QThread>
#include <QThreadPool>

#include <atomic>
#include <memory>
#include <mutex>
#include <thread>

class SystemStatusViewController;
class ProcessStatusViewController;
class MemoryStatusViewController;
class DiskStatusViewController;
class NetworkStatusViewController;

// The application delegate: builds the window and the five tabs, holds the shared
// number formatter and the launch-time reachability flag, and runs the gathering pass
// that records the registry data of every route destination in the lookup history,
// once at launch on a thread of its own and every 60 seconds while in the background.
class AppController : public ui::ApplicationDelegate,
                      public ui::TabBarControllerDelegate,
                      public AppState {
public:
    // Host whose reachability decides whether network features are offered.
    static constexpr const char* kMakerHost = "ormel.example.org";
    static constexpr double kGatheringPeriod = 60.0;

    explicit AppController(AppStores stores = AppStores::shared());
    ~AppController() override;
    AppController(const AppController&) = delete;
    AppController& operator=(const AppController&) = delete;

    bool applicationDidFinishLaunchingWithOptions(ui::Application* application,
                                                  const QVariantMap& options) override;
    void applicationDidBecomeActive(ui::Application*) override {}
    void applicationWillResignActive(ui::Application*) override {}
    void applicationDidEnterBackground(ui::Application* application) override;
    void applicationWillEnterForeground(ui::Application* application) override;
    void applicationWillTerminate(ui::Application* application) override;
    void tabBarControllerDidSelectViewController(ui::TabBarController*,
                                                 ui::ViewController*) override {}

    void gathering();
    void gatheringInBackground();
    void checkReachability();

    const ui::NumberFormatter* numFormat() const override { return numFormat_.get(); }
    bool networkReachable() const override { return networkReachable_; }
    ui::Window* window() const { return window_.get(); }
    ui::TabBarController* tabBarManager() const { return tabBarManager_.get(); }
    ui::Application::BackgroundTaskIdentifier backgroundTaskIdentifier() const { return bgTaskID; }
    // Whether the launch-time gathering pass has been started.
    bool launchGatheringStarted() const { return launchGathering.joinable(); }

    SystemStatusViewController* systemStatusViewController() const { return systemStatus; }
    ProcessStatusViewController* processStatusViewController() const { return processStatus; }
    MemoryStatusViewController* memoryStatusViewController() const { return memoryStatus; }
    DiskStatusViewController* diskStatusViewController() const { return diskStatus; }
    NetworkStatusViewController* networkStatusViewController() const { return networkStatus; }

private:
    // The registry's screens that the network screens open, and the information screen
    // the System tab opens.
    static void installLookupScreens();
    static ui::ViewController* makeDestinationScreen(const QString& address,
                                                     const QStringList& registryResult);
    void buildTabs();
    void backgroundPass(unsigned generation);
    void rearmGathering(unsigned generation);
    void endBackgroundTask();
    void armGathering(unsigned generation);
    void stopGatheringThreads();
    void startBackgroundThread();

    AppStores stores;
    // The root screens, owned by their navigation stacks under tabBarManager_.
    SystemStatusViewController* systemStatus = nullptr;
    ProcessStatusViewController* processStatus = nullptr;
    MemoryStatusViewController* memoryStatus = nullptr;
    DiskStatusViewController* diskStatus = nullptr;
    NetworkStatusViewController* networkStatus = nullptr;
    std::unique_ptr<ui::Window> window_;
    std::unique_ptr<ui::TabBarController> tabBarManager_;
    std::unique_ptr<ui::NumberFormatter> numFormat_;
    bool networkReachable_ = false;
    ui::Application::BackgroundTaskIdentifier bgTaskID = ui::Application::BackgroundTaskInvalid;

    std::thread launchGathering;
    // The thread whose event loop runs the background gathering and its re-arming.
    std::mutex backgroundMutex;
    std::unique_ptr<QThread> backgroundThread;
    std::unique_ptr<QObject> backgroundContext;
    // Bumped on each return to the foreground (under armMutex, together with the
    // cancellation), so that an arming or a pass still on its way registers nothing.
    std::atomic<unsigned> armGeneration{0};
    std::mutex armMutex;
    // The controller's work on the global queue, waited for before the controller goes.
    QThreadPool armingQueue;
    // Main-queue work addressed to the controller is dropped once this is gone.
    std::unique_ptr<QObject> mainContext;
};
