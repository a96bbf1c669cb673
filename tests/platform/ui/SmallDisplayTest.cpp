#include "platform/ui/Application.h"
#include "platform/ui/Geometry.h"
#include "platform/ui/Window.h"

#include "support/TestEnvironment.h"

#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QScreen>
#include <gtest/gtest.h>

using namespace ui;

namespace {

// The offscreen platform's description of one display of the given size.
QByteArray offscreenConfig(int width, int height) {
    return QStringLiteral(R"({"windowFrameMargins": false, "screens": [{"name": "small",
        "x": 0, "y": 0, "width": %1, "height": %2, "logicalDpi": 96, "logicalBaseDpi": 96,
        "dpr": 1}]})")
        .arg(width)
        .arg(height)
        .toUtf8();
}

// Runs the disabled case below in a program of its own on a display `height` pixels
// high, as a fresh start of the application would find it.
void expectWindowFitsDisplay(int height, double expectedScale) {
    const QString config = testenv::makeTempDir("display") + "/screen.json";
    QFile file(config);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(offscreenConfig(800, height));
    file.close();
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen:configfile=" + config);
    environment.insert("ORMEL_EXPECTED_SCALE", QString::number(expectedScale));
    environment.remove("ORMEL_SCALE");
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QStringLiteral("/proc/self/exe"),
                {"--gtest_also_run_disabled_tests",
                 "--gtest_filter=SmallDisplay.DISABLED_WindowAtLaunchScaleFitsTheDisplay"});
    ASSERT_TRUE(child.waitForFinished(60000));
    const QByteArray output = child.readAll();
    EXPECT_EQ(child.exitCode(), 0) << output.constData();
    EXPECT_TRUE(output.contains("[  PASSED  ] 1 test")) << output.constData();
}

} // namespace

TEST(SmallDisplay, TheWindowAndItsWholeScreenFitAnEightHundredByFourEightyDisplay) {
    expectWindowFitsDisplay(480, 1.0);
    expectWindowFitsDisplay(400, 0.8);
}

// Run by the case above, on the display it describes.
TEST(SmallDisplay, DISABLED_WindowAtLaunchScaleFitsTheDisplay) {
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    ASSERT_EQ(available.width(), 800);
    const double saved = Screen::scale();
    Screen::setScale(launchScale());
    EXPECT_DOUBLE_EQ(Screen::scale(), qEnvironmentVariable("ORMEL_EXPECTED_SCALE").toDouble());
    {
        Window window(Screen::bounds());
        window.move(available.topLeft());
        window.show();
        EXPECT_TRUE(available.contains(window.frameGeometry()))
            << window.frameGeometry().height() << " in " << available.height();
        // The window can be made smaller than it starts.
        const QSize smaller = window.size() * 3 / 4;
        window.resize(smaller);
        EXPECT_EQ(window.size(), smaller);
    }
    Screen::setScale(saved);
}
