#include "platform/ioreg/FixtureBackend.h"
#include "platform/ioreg/Registry.h"
#include "platform/services/DeviceIdentity.h"
#include "platform/services/QtAccelerometer.h"
#include "support/TestEnvironment.h"

#include <QApplication>
#include <gtest/gtest.h>

#include <cstdlib>

// Test entry point: pins the documents directory and home to temporary folders
// before anything reads them, and runs the tests under a QApplication on the
// offscreen platform with the bundle of the build tree.
int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ::setenv("ORMEL_RESOURCE_DIR", ORMEL_BUNDLE_DIR, 0);
    const QByteArray documents = testenv::documentsDir().toLocal8Bit();
    ::setenv("ORMEL_DOCUMENTS_DIR", documents.constData(), 1);
    const QByteArray home = testenv::makeTempDir("home").toLocal8Bit();
    ::setenv("HOME", home.constData(), 1);
    ::setenv("XDG_DATA_HOME", (home + "/.local/share").constData(), 1);
    ::setenv("XDG_CONFIG_HOME", (home + "/.config").constData(), 1);
    // The machine's own location service answers differently on every machine: screens
    // under test have none (a log that cannot be opened), unless a test gives its own.
    // Instants show in the local zone: UTC for every run.
    ::setenv("TZ", "UTC", 1);
    ::setenv("ORMEL_NMEA_LOG", "/nonexistent/ormel-tests.nmea", 0);
    QApplication app(argc, argv);
    // Nor do they see the machine's device registry, its own description or its
    // sensors: each test builds what it reads.
    ioreg::Registry::install(std::make_shared<ioreg::FixtureBackend>());
    services::DeviceIdentity::setDefaultRoot(testenv::makeTempDir("device-root"));
    services::QtAccelerometer noAccelerometer{QByteArray()};
    services::Accelerometer::setSharedForTesting(&noAccelerometer);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
