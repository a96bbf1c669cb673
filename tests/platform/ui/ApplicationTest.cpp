#include "platform/ui/Application.h"

#include <gtest/gtest.h>

#include <set>
#include <thread>
#include <vector>

using namespace ui;

namespace {

class StateJournal : public ApplicationDelegate {
public:
    void applicationDidBecomeActive(Application*) override { calls.append("didBecomeActive"); }
    void applicationWillResignActive(Application*) override { calls.append("willResignActive"); }
    void applicationDidEnterBackground(Application*) override {
        calls.append("didEnterBackground");
    }
    void applicationWillEnterForeground(Application*) override {
        calls.append("willEnterForeground");
    }
    QStringList calls;
};

class DelegateGuard {
public:
    explicit DelegateGuard(ApplicationDelegate* d) {
        Application::sharedApplication()->setDelegate(d);
    }
    ~DelegateGuard() { Application::sharedApplication()->setDelegate(nullptr); }
};

} // namespace

TEST(Application, StateChangesReachTheDelegateInTheDevicesOrder) {
    StateJournal journal;
    DelegateGuard guard(&journal);
    Application* application = Application::sharedApplication();
    application->dispatchStateChange(Qt::ApplicationActive);
    journal.calls.clear();

    // Active straight to hidden: resign first, then background.
    application->dispatchStateChange(Qt::ApplicationHidden);
    EXPECT_EQ(journal.calls, QStringList({"willResignActive", "didEnterBackground"}));
    EXPECT_EQ(application->applicationState(), Application::ApplicationState::Background);
    // Suspended after hidden is still the background.
    application->dispatchStateChange(Qt::ApplicationSuspended);
    EXPECT_EQ(journal.calls.size(), 2);

    journal.calls.clear();
    application->dispatchStateChange(Qt::ApplicationActive);
    EXPECT_EQ(journal.calls, QStringList({"willEnterForeground", "didBecomeActive"}));
    EXPECT_EQ(application->applicationState(), Application::ApplicationState::Active);

    journal.calls.clear();
    application->dispatchStateChange(Qt::ApplicationInactive);
    application->dispatchStateChange(Qt::ApplicationActive);
    EXPECT_EQ(journal.calls, QStringList({"willResignActive", "didBecomeActive"}));
}

TEST(Application, BackgroundTasksGetDistinctNonZeroIdsAcrossThreads) {
    Application* application = Application::sharedApplication();
    const int before = application->backgroundTaskCount();
    std::vector<std::vector<Application::BackgroundTaskIdentifier>> ids(4);
    std::vector<std::thread> threads;
    for (auto& list : ids) {
        threads.emplace_back([&list, application] {
            for (int i = 0; i < 100; ++i) {
                list.push_back(application->beginBackgroundTaskWithExpirationHandler([] {}));
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    std::set<Application::BackgroundTaskIdentifier> unique;
    for (const auto& list : ids) {
        unique.insert(list.begin(), list.end());
    }
    EXPECT_EQ(unique.size(), 400u);
    EXPECT_EQ(unique.count(Application::BackgroundTaskInvalid), 0u);
    EXPECT_EQ(application->backgroundTaskCount(), before + 400);
    for (auto id : unique) {
        application->endBackgroundTask(id);
    }
    application->endBackgroundTask(Application::BackgroundTaskInvalid);
    EXPECT_EQ(application->backgroundTaskCount(), before);
}
