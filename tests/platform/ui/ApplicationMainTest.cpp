#include "platform/ui/Application.h"
#include "platform/ui/Geometry.h"

#include <QCoreApplication>
#include <QTimer>
#include <gtest/gtest.h>

using namespace ui;

namespace {

class LaunchJournal : public ApplicationDelegate {
public:
    explicit LaunchJournal(QStringList* calls) : calls_(calls) {}
    bool applicationDidFinishLaunchingWithOptions(Application*,
                                                  const QVariantMap& options) override {
        calls_->append(options.isEmpty() ? "didFinishLaunching" : "options!");
        calls_->append(QString::number(Screen::scale()));
        QTimer::singleShot(0, QCoreApplication::instance(), [] { QCoreApplication::exit(3); });
        return true;
    }
    void applicationDidBecomeActive(Application*) override { calls_->append("didBecomeActive"); }
    void applicationWillTerminate(Application*) override { calls_->append("willTerminate"); }

private:
    QStringList* calls_;
};

} // namespace

TEST(ApplicationMain, LaunchesTheDelegateWithTheChosenScaleAndRunsTheLoop) {
    const double savedScale = Screen::scale();
    qputenv("ORMEL_SCALE", "1.5");
    QStringList calls;
    char name[] = "test";
    char* argv[] = {name, nullptr};
    const int result = ApplicationMain(1, argv, [&] { return new LaunchJournal(&calls); });
    qunsetenv("ORMEL_SCALE");
    Screen::setScale(savedScale);
    EXPECT_EQ(result, 3);
    ASSERT_GE(calls.size(), 3);
    EXPECT_EQ(calls[0], "didFinishLaunching");
    EXPECT_EQ(calls[1], "1.5");
    EXPECT_EQ(calls[2], "didBecomeActive");
    EXPECT_EQ(calls.last(), "willTerminate");
    EXPECT_EQ(Application::sharedApplication()->delegate(), nullptr);
}
