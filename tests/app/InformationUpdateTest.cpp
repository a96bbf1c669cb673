#include "app/InformationUpdate.h"

#include "app/InformationViewController.h"
#include "common/Resources.h"
#include "platform/services/NetworkReachability.h"
#include "platform/ui/AlertView.h"
#include "registry/RegistryFileBuilder.h"
#include "registry/TarnelDB.h"
#include "support/EventLoop.h"
#include "support/SystemFixture.h"
#include "support/TestEnvironment.h"
#include "tests/app/LaunchedApp.h"
#include "tests/update/HttpTestServer.h"

#include <QFile>
#include <gtest/gtest.h>

#include <utime.h>

namespace {

// A documents copy of the registry file dated `hoursAgo`.
void placeRegistryCopy(const QString& documents, int hoursAgo) {
    const QString path = documents + "/ccTLD.dat";
    ASSERT_TRUE(QFile::copy(Resources::resourcePath() + "/ccTLD.dat", path));
    const time_t when = ::time(nullptr) - hoursAgo * 3600;
    const utimbuf times{when, when};
    ASSERT_EQ(::utime(QFile::encodeName(path).constData(), &times), 0);
}

// The question comes only while the network is reachable and the data in use is older
// than a day; a double tap asks nothing.
TEST(InformationUpdate, IsOfferedOnlyWhenReachableAndTheDataIsOverADayOld) {
    const QByteArray savedDocuments = qgetenv("ORMEL_DOCUMENTS_DIR");
    const QString documents = testenv::makeTempDir("information-update");
    qputenv("ORMEL_DOCUMENTS_DIR", QFile::encodeName(documents));
    SystemFixture kernel;
    LaunchedApp app{kernel};
    app.launch();
    InformationViewController screen;
    screen.view();
    const auto asked = [] { return !ui::AlertView::visibleAlerts().isEmpty(); };

    placeRegistryCopy(documents, 26);
    InformationUpdate::start(&screen);
    EXPECT_FALSE(asked()) << "not reachable";

    services::NetworkReachability::setPathSource([] { return services::NetworkPath{true, false}; });
    app.controller->checkReachability();
    QFile::remove(documents + "/ccTLD.dat");
    placeRegistryCopy(documents, 24);
    InformationUpdate::start(&screen);
    EXPECT_FALSE(asked()) << "data of yesterday";

    QFile::remove(documents + "/ccTLD.dat");
    placeRegistryCopy(documents, 26);
    screen.worldMapViewTapCount(nullptr, 2);
    EXPECT_FALSE(asked());
    screen.worldMapViewTapCount(nullptr, 3);
    ASSERT_TRUE(asked());
    ui::AlertView* question = ui::AlertView::visibleAlerts().front();
    question->dismissWithClickedButtonIndexAnimated(question->cancelButtonIndex(), false);
    InformationViewController::setUpdateStarter({});
    services::NetworkReachability::setPathSource({});
    qputenv("ORMEL_DOCUMENTS_DIR", savedDocuments);
}

// Agreed to, the update installs the served file and the screen shows its records.
TEST(InformationUpdate, AnInstalledFileShowsInTheScreensRecords) {
    const QByteArray savedDocuments = qgetenv("ORMEL_DOCUMENTS_DIR");
    const QString documents = testenv::makeTempDir("information-installed");
    qputenv("ORMEL_DOCUMENTS_DIR", QFile::encodeName(documents));
    QFile afrinic(ORMEL_FIXTURES_DIR "/rir/delegated-afrinic-extended-20260821");
    ASSERT_TRUE(afrinic.open(QIODevice::ReadOnly));
    QString error;
    const std::optional<QByteArray> built =
        RegistryFileBuilder::build({{"afrinic", afrinic.readAll()}}, &error);
    ASSERT_TRUE(built) << error.toStdString();
    testenv::HttpTestServer server;
    server.serve("/ccTLD.dat", {200, *built, {}, testenv::HttpTestServer::Behaviour::Whole, {}});
    qputenv("ORMEL_REGISTRY_URL", server.url("/ccTLD.dat"));
    SystemFixture kernel;
    LaunchedApp app{kernel};
    placeRegistryCopy(documents, 26);
    app.launch();
    services::NetworkReachability::setPathSource([] { return services::NetworkPath{true, false}; });
    app.controller->checkReachability();
    InformationViewController screen;
    screen.view();
    ASSERT_EQ(screen.infoData().size(), 5);
    EXPECT_NE(screen.infoData()[2][1], "0") << "ARIN's records in the shipped file";

    InformationUpdate::start(&screen);
    ASSERT_EQ(ui::AlertView::visibleAlerts().size(), 1);
    ui::AlertView* question = ui::AlertView::visibleAlerts().front();
    question->dismissWithClickedButtonIndexAnimated(question->firstOtherButtonIndex(), false);
    ASSERT_TRUE(testenv::processEventsUntil([&] {
        return QFile::exists(documents + "/ccTLD.dat") && screen.infoData().size() == 5 &&
               screen.infoData()[2][1] == "0";
    }));
    EXPECT_EQ(screen.infoData()[0][0], "AFRINIC");
    EXPECT_NE(screen.infoData()[0][1], "0");

    QFile::remove(documents + "/ccTLD.dat");
    QFile::remove(documents + "/ccTLD.dat.bak");
    TarnelDB::sharedInstance()->updated(); // back to the shipped file
    InformationViewController::setUpdateStarter({});
    services::NetworkReachability::setPathSource({});
    qunsetenv("ORMEL_REGISTRY_URL");
    qputenv("ORMEL_DOCUMENTS_DIR", savedDocuments);
}

} // namespace
