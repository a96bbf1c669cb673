#include "app/AppController.h"

#include "app/InformationUpdate.h"
#include "app/InformationViewController.h"
#include "common/Resources.h"
#include "history/HistoryViewController.h"
#include "memdisk/DiskStatusViewController.h"
#include "memdisk/MemoryStatusViewController.h"
#include "network/NetworkLookupScreens.h"
#include "network/NetworkStatusViewController.h"
#include "platform/services/Dispatch.h"
#include "platform/services/NetworkReachability.h"
#include "platform/ui/DelayedPerform.h"
#include "platform/ui/Geometry.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/TabBarItem.h"
#include "process/ProcessStatusViewController.h"
#include "registry/DestinationViewController.h"
#include "registry/TarnelPopupView.h"
#include "system/SystemStatusViewController.h"

#include <QMetaObject>
#include <QPointer>

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

AppController::AppController(AppStores stores)
    : stores(std::move(stores)), mainContext(std::make_unique<QObject>()) {}

AppController::~AppController() {
    stopGatheringThreads();
    endBackgroundTask();
    tabBarManager_.reset();
    window_.reset();
}

bool AppController::applicationDidFinishLaunchingWithOptions(ui::Application*, const QVariantMap&) {
    launchGathering = std::thread([this] { gathering(); });
    checkReachability();
    numFormat_ = std::make_unique<ui::NumberFormatter>();
    numFormat_->setNumberStyle(ui::NumberFormatterStyle::Decimal);
    window_ = std::make_unique<ui::Window>(ui::Screen::bounds());
    window_->setWindowIcon(Resources::image("ormel-256.png").pixmap());
    installLookupScreens();
    buildTabs();
    window_->addSubview(tabBarManager_->view());
    window_->makeKeyAndVisible();
    return true;
}

void AppController::installLookupScreens() {
    NetworkLookupScreens::install(&TarnelPopupView::popUp, &AppController::makeDestinationScreen,
                                  [] { return new HistoryViewController(); });
    SystemStatusViewController::setInformationScreenMaker(
        [] { return new InformationViewController(); });
    InformationViewController::setUpdateStarter(&InformationUpdate::start);
}

ui::ViewController* AppController::makeDestinationScreen(const QString& address,
                                                         const QStringList& registryResult) {
    auto* screen = new DestinationViewController();
    screen->setIpaddr(address);
    screen->setData(registryResult);
    return screen;
}

void AppController::buildTabs() {
    systemStatus = new SystemStatusViewController();
    processStatus = new ProcessStatusViewController();
    memoryStatus = new MemoryStatusViewController();
    diskStatus = new DiskStatusViewController();
    networkStatus = new NetworkStatusViewController();
    ui::ViewController* roots[] = {systemStatus, processStatus, memoryStatus, diskStatus,
                                   networkStatus};
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
    const std::optional<AppStores::History>& history = stores.history;
    if (!history || !history->isReady() || !history->begin()) {
        return;
    }
    // The routing list is a copy of its own, so a concurrent snapshot cannot change it.
    const QStringList destinations =
        stores.routingDestinations ? stores.routingDestinations() : QStringList();
    for (const QString& destination : destinations) {
        const QStringList registry =
            stores.registrySearch ? stores.registrySearch(destination) : QStringList();
        if (!registry.isEmpty()) {
            history->insert(QStringList{destination} + registry);
        }
    }
    history->commit();
}

void AppController::gatheringInBackground() {
    backgroundPass(armGeneration.load());
}

void AppController::backgroundPass(unsigned generation) {
    gathering();
    rearmGathering(generation);
}

// Registers the next pass on the calling thread, unless the application came back to
// the foreground since this round of background passes was armed.
void AppController::rearmGathering(unsigned generation) {
    std::lock_guard lock(armMutex);
    if (generation != armGeneration.load()) {
        return;
    }
    ui::DelayedPerform::performAfterDelay(this, kGatheringPeriod,
                                          [this, generation] { backgroundPass(generation); });
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
    const QPointer<QObject> context(mainContext.get());
    bgTaskID = application->beginBackgroundTaskWithExpirationHandler([this, context] {
        if (context) {
            services::Dispatch::asyncMain(context, [this] { endBackgroundTask(); });
        }
    });
    const unsigned generation = armGeneration.load();
    armingQueue.start([this, generation, context] {
        armGathering(generation);
        services::Dispatch::asyncMain(context, [this] { endBackgroundTask(); });
    });
}

// Registers the first background pass on the gathering thread's event loop, where
// each pass re-arms the next. Runs on a worker of the global queue, which has no
// event loop of its own to hold a delayed request.
void AppController::armGathering(unsigned generation) {
    std::lock_guard lock(backgroundMutex);
    if (!backgroundThread) {
        return;
    }
    QMetaObject::invokeMethod(
        backgroundContext.get(), [this, generation] { rearmGathering(generation); },
        Qt::BlockingQueuedConnection);
}

void AppController::applicationWillEnterForeground(ui::Application*) {
    std::lock_guard lock(armMutex);
    ++armGeneration;
    ui::DelayedPerform::cancelPreviousPerformRequestsWithTarget(this);
}

void AppController::applicationWillTerminate(ui::Application*) {
    // No pass may run while the stores close under it.
    stopGatheringThreads();
    const std::function<void()> historyClose = stores.history ? stores.history->close : nullptr;
    for (const auto& close :
         {historyClose, stores.servicesClose, stores.registryClose, stores.processFinalize}) {
        if (close) {
            close();
        }
    }
}

void AppController::stopGatheringThreads() {
    {
        std::lock_guard lock(armMutex);
        ++armGeneration;
        ui::DelayedPerform::cancelPreviousPerformRequestsWithTarget(this);
    }
    armingQueue.waitForDone();
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
