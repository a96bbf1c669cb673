#include "location/LocationController.h"
#include "location/LocationControllerDelegate.h"
#include "support/EventLoop.h"
#include "support/ManualTimer.h"
#include "tests/location/FakeLocationManager.h"

#include <gtest/gtest.h>

namespace {

using services::LocationError;
using services::LocationReading;

class LocationControllerTest : public ::testing::Test, public LocationControllerDelegate {
protected:
    void SetUp() override { ui::DelayedPerform::setTimer(&timer_); }
    void TearDown() override { ui::DelayedPerform::setTimer(nullptr); }
    void locationUpdatedGeoDataErrorString(services::LocationManager*, GeoData*,
                                           const QString& errorString) override {
        reports.append(errorString);
    }
    void letScanEnd() {
        timer_.advanceBy(static_cast<int>(LocationController::kScanSeconds * 1000));
        testenv::flushEvents();
    }
    LocationController& makeController(bool enabled = true) {
        auto fake = std::make_unique<FakeLocationManager>(enabled);
        manager = fake.get();
        controller = std::make_unique<LocationController>(std::move(fake));
        controller->setDelegate(this);
        return *controller;
    }

    testenv::ManualTimer timer_;
    FakeLocationManager* manager = nullptr;
    std::unique_ptr<LocationController> controller;
    QStringList reports;
};

TEST_F(LocationControllerTest, AScanStartsOnceAndReportsOnceAfterThirtySeconds) {
    makeController();
    EXPECT_TRUE(controller->start());
    EXPECT_TRUE(controller->start()) << "a second start while scanning still says it scans";
    EXPECT_EQ(manager->starts, 1);
    timer_.advanceBy(static_cast<int>(LocationController::kScanSeconds * 1000) - 1);
    testenv::flushEvents();
    EXPECT_TRUE(reports.isEmpty());
    letScanEnd();
    EXPECT_EQ(reports, QStringList{QString()});
    EXPECT_FALSE(controller->isScanning());
    EXPECT_FALSE(controller->hasNewData());

    controller->start();
    controller->stop();
    letScanEnd();
    EXPECT_EQ(reports.size(), 1) << "a stopped scan does not report";
}

TEST_F(LocationControllerTest, KeepsTheMostAccurateReadingAndIgnoresInvalidOnes) {
    makeController().start();
    manager->send(1, -1);
    EXPECT_FALSE(controller->bestEffort() || controller->hasNewData());
    manager->send(2, 50, 100);
    EXPECT_NEAR(controller->geoData()->timeElapsed(), 100, 5);
    manager->send(3, 20, 0, LocationReading{2, 10, 0, 1, 1, {}});
    manager->send(4, 20);
    manager->send(5, 80);
    EXPECT_TRUE(controller->hasNewData());
    EXPECT_EQ(controller->bestEffort()->latitude, 3) << "only a strictly better reading replaces";
    EXPECT_EQ(controller->geoData()->location()->latitude, 3);
    EXPECT_NEAR(controller->geoData()->distanceMoved(), 111195, 200) << "a degree of latitude";

    controller->stop();
    controller->start();
    EXPECT_FALSE(controller->hasNewData());
    manager->send(6, 30);
    EXPECT_EQ(controller->geoData()->location()->latitude, 3) << "the best outlives a scan";
    EXPECT_TRUE(controller->hasNewData());
}

TEST_F(LocationControllerTest, AReadingWorseThanTheDesiredAccuracyIsKeptButNotAccepted) {
    makeController();
    manager->setDesiredAccuracy(10);
    controller->start();
    manager->send(2, 50);
    EXPECT_EQ(controller->bestEffort()->latitude, 2);
    EXPECT_FALSE(controller->geoData()->location());
}

TEST_F(LocationControllerTest, AnErrorEndsTheScanAndReportsItsTextOnce) {
    const std::pair<LocationError, QString> cases[] = {
        {{true, 0, {}}, "Location unknown"},
        {{true, 1, {}}, "Location access denied"},
        {{true, 2, {}}, "Location error 2"},
        {{false, 7, "The bus went away"}, "The bus went away"}};
    for (const auto& [error, text] : cases) {
        reports.clear();
        makeController().start();
        manager->delegate()->locationManagerDidFailWithError(manager, error);
        letScanEnd();
        EXPECT_EQ(reports, QStringList{text});
        EXPECT_FALSE(controller->isScanning());
    }
}

TEST_F(LocationControllerTest, DisabledServicesSayItAndNeverReport) {
    EXPECT_FALSE(makeController(false).start());
    EXPECT_EQ(controller->errorString(), QStringLiteral("Location services are off"));
    EXPECT_EQ(manager->starts, 0);
    letScanEnd();
    EXPECT_TRUE(reports.isEmpty());
}

} // namespace
