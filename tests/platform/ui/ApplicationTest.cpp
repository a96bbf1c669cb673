#include "platform/ui/Application.h"
#include "platform/ui/Geometry.h"

#include <QCoreApplication>
#include <QTimer>
#include <gtest/gtest.h>

#include <set>

using namespace ui;

namespace {

// Writes the calls it gets; on launch it also notes the screen scale and ends the loop.
class Journal : public ApplicationDelegate {
public:
    explicit Journal(QStringList* calls) : calls_(calls) {}
    bool applicationDidFinishLaunchingWithOptions(Application*,
                                                  const QVariantMap& options) override {
        note(options.isEmpty() ? "didFinishLaunching" : "options!");
        note(QString::number(Screen::scale()));
        QTimer::singleShot(0, QCoreApplication::instance(), [] { QCoreApplication::exit(3); });
        return true;
    }
    void applicationDidBecomeActive(Application*) override { note("didBecomeActive"); }
    void applicationWillResignActive(Application*) override { note("willResignActive"); }
    void applicationDidEnterBackground(Application*) override { note("didEnterBackground"); }
    void applicationWillEnterForeground(Application*) override { note("willEnterForeground"); }
    void applicationWillTerminate(Application*) override { note("willTerminate"); }
    void note(const QString& call) { calls_->append(call); }

private:
    QStringList* calls_;
};

} // namespace

TEST(ApplicationMain, LaunchesTheDelegateWithTheChosenScaleAndRunsTheLoop) {
    const double savedScale = Screen::scale();
    Application::sharedApplication()->dispatchStateChange(Qt::ApplicationInactive);
    qputenv("ORMEL_SCALE", "1.5");
    QStringList calls;
    char name[] = "test";
    char* argv[] = {name, nullptr};
    const int result = ApplicationMain(1, argv, [&] { return new Journal(&calls); });
    qunsetenv("ORMEL_SCALE");
    Screen::setScale(savedScale);
    EXPECT_EQ(result, 3);
    EXPECT_EQ(calls.mid(0, 3), QStringList({"didFinishLaunching", "1.5", "didBecomeActive"}));
    EXPECT_EQ(calls.last(), "willTerminate");
    EXPECT_EQ(Application::sharedApplication()->delegate(), nullptr);
}

TEST(Application, StateChangesReachTheDelegateInTheDevicesOrder) {
    QStringList calls;
    Journal journal(&calls);
    Application* application = Application::sharedApplication();
    application->setDelegate(&journal);
    application->dispatchStateChange(Qt::ApplicationActive);
    calls.clear();

    // Active straight to hidden: resign first, then background.
    application->dispatchStateChange(Qt::ApplicationHidden);
    application->dispatchStateChange(Qt::ApplicationSuspended); // still the background
    EXPECT_EQ(calls, QStringList({"willResignActive", "didEnterBackground"}));
    EXPECT_EQ(application->applicationState(), Application::ApplicationState::Background);
    calls.clear();
    application->dispatchStateChange(Qt::ApplicationActive);
    application->dispatchStateChange(Qt::ApplicationInactive);
    application->dispatchStateChange(Qt::ApplicationActive);
    EXPECT_EQ(calls, QStringList({"willEnterForeground", "didBecomeActive", "willResignActive",
                                  "didBecomeActive"}));
    application->setDelegate(nullptr);
}

TEST(Application, BackgroundTasksGetDistinctValidIdsAndEndOnce) {
    Application* application = Application::sharedApplication();
    const int before = application->backgroundTaskCount();
    std::set<Application::BackgroundTaskIdentifier> ids{Application::BackgroundTaskInvalid};
    for (int i = 0; i < 100; ++i) {
        ids.insert(application->beginBackgroundTaskWithExpirationHandler([] {}));
    }
    EXPECT_EQ(ids.size(), 101u) << "distinct, and none is the invalid one";
    EXPECT_EQ(application->backgroundTaskCount(), before + 100);
    for (int round = 0; round < 2; ++round) {
        for (auto id : ids) {
            application->endBackgroundTask(id);
        }
    }
    EXPECT_EQ(application->backgroundTaskCount(), before);
}
