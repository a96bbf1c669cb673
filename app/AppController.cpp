#include "app/AppController.h"

#include "app/Resources.h"
#include "memdisk/DiskStatusViewController.h"
#include "memdisk/MemoryStatusViewController.h"
#include "network/NetworkStatusViewController.h"
#include "platform/services/Dispatch.h"
#include "platform/services/NetworkReachability.h"
#include "platform/ui/DelayedPerform.h"
#include "platform/ui/Geometry.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/TabBarItem.h"
#include "process/ProcessStatusViewController.h"
#include "system/SystemStatusViewController.h"

#include <QMetaObject>

namespace {

struct TabEntry {
    int tag;
    const char* titleKey;
    const char* imageName;
};

constexpr TabEntry kTabs[] = {
    {0, "System", "system.png"}, {1, "Process", "process.png"}, {2, "Memory", "memory.png"},
    {3, "Disk", "disk.png"},     {4, "Network", "network.png"},
};

// Flags of a host reachable over a non-cellular path: reachable set, WWAN clear.
constexpr uint32_t kReachableMask =
    services::kSCNetworkReachabilityFlagsReachable | services::kSCNetworkReachabilityFlagsIsWWAN;

} // namespace

AppController::AppController(AppStores stores) : stores(std::move(stores)) {}

AppController::~AppController() {
    stopGatheringThreads();
    tabBarManager_.reset();
    window_.reset();
}

AppController* AppController::appDelegate() {
    return dynamic_cast<AppController*>(ui::Application::sharedApplication()->delegate());
}

bool AppController::applicationDidFinishLaunchingWithOptions(ui::Application*, const QVariantMap&) {
    launchGathering = std::thread([this] { gathering(); });
    checkReachability();
    numFormat_ = std::make_unique<ui::NumberFormatter>();
    numFormat_->setNumberStyle(ui::NumberFormatterStyle::Decimal);
    window_ = std::make_unique<ui::Window>(ui::Screen::bounds());
    window_->setWindowTitle(QStringLiteral("Ormel"));
    window_->setWindowIcon(Resources::image("ormel-256.png").pixmap());
    buildTabs();
    window_->addSubview(tabBarManager_->view());
    window_->makeKeyAndVisible();
    return true;
}

void AppController::buildTabs() {
    systemStatusViewController = new SystemStatusViewController();
    processStatusViewController = new ProcessStatusViewController();
    memoryStatusViewController = new MemoryStatusViewController();
    diskStatusViewController = new DiskStatusViewController();
    networkStatusViewController = new NetworkStatusViewController();
    ui::ViewController* roots[] = {systemStatusViewController, processStatusViewController,
                                   memoryStatusViewController, diskStatusViewController,
                                   networkStatusViewController};
    QList<ui::ViewController*> stacks;
    for (const TabEntry& tab : kTabs) {
        auto* stack = new ui::NavigationController(roots[tab.tag]);
        stack->navigationBar()->setBarStyle(ui::BarStyle::Black);
        stack->setTabBarItem(new ui::TabBarItem(Resources::text(tab.titleKey),
                                                Resources::image(tab.imageName), tab.tag));
        stacks.append(stack);
    }
    tabBarManager_ = std::make_unique<ui::TabBarController>();
    tabBarManager_->setViewControllers(stacks);
    tabBarManager_->setDelegate(this);
}

void AppController::gathering() {
    if (!stores.historyIsReady || !stores.historyIsReady() || !stores.historyBegin()) {
        return;
    }
    // The routing list is a copy of its own, so a concurrent snapshot cannot change it.
    const QStringList destinations =
        stores.routingDestinations ? stores.routingDestinations() : QStringList();
    for (const QString& destination : destinations) {
        const QStringList registry =
            stores.registrySearch ? stores.registrySearch(destination) : QStringList();
        if (!registry.isEmpty()) {
            stores.historyInsert(QStringList{destination} + registry);
        }
    }
    stores.historyCommit();
}

void AppController::gatheringInBackground() {
    gathering();
    ui::DelayedPerform::performAfterDelay(this, kGatheringPeriod,
                                          [this] { gatheringInBackground(); });
}

void AppController::checkReachability() {
    networkReachable_ = false;
    const auto reachability = services::NetworkReachability::createWithName(kMakerHost);
    uint32_t flags = 0;
    if (reachability && reachability->getFlags(&flags) &&
        (flags & kReachableMask) == services::kSCNetworkReachabilityFlagsReachable) {
        networkReachable_ = true;
    }
}

void AppController::endBackgroundTask() {
    if (bgTaskID != ui::Application::BackgroundTaskInvalid) {
        ui::Application::sharedApplication()->endBackgroundTask(bgTaskID);
    }
    bgTaskID = ui::Application::BackgroundTaskInvalid;
}

void AppController::startBackgroundThread() {
    std::lock_guard lock(backgroundMutex);
    if (backgroundThread) {
        return;
    }
    backgroundThread = std::make_unique<QThread>();
    backgroundThread->setObjectName(QStringLiteral("gathering"));
    backgroundContext = std::make_unique<QObject>();
    backgroundContext->moveToThread(backgroundThread.get());
    backgroundThread->start();
}

void AppController::applicationDidEnterBackground(ui::Application* application) {
    startBackgroundThread();
    bgTaskID = application->beginBackgroundTaskWithExpirationHandler(
        [this] { services::Dispatch::asyncMain([this] { endBackgroundTask(); }); });
    const unsigned generation = armGeneration.load();
    services::Dispatch::asyncGlobal([this, generation] {
        armGathering(generation);
        services::Dispatch::asyncMain([this] { endBackgroundTask(); });
    });
}

// Registers the first background pass on the gathering thread's event loop, where
// each pass re-arms the next. Runs on a global-queue worker, which has no event loop
// of its own to hold a delayed request.
void AppController::armGathering(unsigned generation) {
    std::lock_guard lock(backgroundMutex);
    if (!backgroundThread || generation != armGeneration.load()) {
        return;
    }
    QMetaObject::invokeMethod(
        backgroundContext.get(),
        [this, generation] {
            if (generation == armGeneration.load()) {
                ui::DelayedPerform::performAfterDelay(this, kGatheringPeriod,
                                                      [this] { gatheringInBackground(); });
            }
        },
        Qt::BlockingQueuedConnection);
}

void AppController::applicationWillEnterForeground(ui::Application*) {
    ++armGeneration;
    ui::DelayedPerform::cancelPreviousPerformRequestsWithTarget(this);
}

void AppController::applicationWillTerminate(ui::Application*) {
    // No pass may run while the stores close under it.
    stopGatheringThreads();
    for (const auto& close : {stores.historyClose, stores.servicesClose, stores.registryClose,
                              stores.processFinalize}) {
        if (close) {
            close();
        }
    }
}

void AppController::stopGatheringThreads() {
    ++armGeneration;
    ui::DelayedPerform::cancelPreviousPerformRequestsWithTarget(this);
    if (launchGathering.joinable()) {
        launchGathering.join();
    }
    std::lock_guard lock(backgroundMutex);
    if (backgroundThread) {
        backgroundThread->quit();
        backgroundThread->wait();
        backgroundContext.reset();
        backgroundThread.reset();
    }
}
