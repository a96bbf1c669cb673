#include "app/InformationUpdate.h"

#include "app/InformationViewController.h"
#include "common/Resources.h"
#include "platform/services/NetworkReachability.h"
#include "platform/ui/AlertView.h"
#include "support/SystemFixture.h"
#include "support/TestEnvironment.h"
#include "tests/app/LaunchedApp.h"

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

} // namespace
