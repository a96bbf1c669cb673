#include "platform/services/ReverseGeocoder.h"
#include "platform/services/PlaceIndex.h"
#include "platform/services/ReverseGeocoderDelegate.h"
#include "platform/ui/Bundle.h"
#include "support/EventLoop.h"
#include "support/TestEnvironment.h"

#include <QFile>

#include <gtest/gtest.h>

#include <optional>

namespace {

std::optional<services::Placemark> nearest(double latitude, double longitude) {
    return services::PlaceIndex::shared().nearest({latitude, longitude});
}

services::Placemark place(const char* area, const char* country) {
    return {QString::fromUtf8(area), QString::fromUtf8(country)};
}

TEST(PlaceIndex, ShippedPlacesNameTheAreaAndCountryOfKnownCities) {
    ASSERT_FALSE(services::PlaceIndex::shared().isEmpty());
    EXPECT_EQ(nearest(48.8566, 2.3522), place("Île-de-France", "France"));
    EXPECT_EQ(nearest(35.6812, 139.7671), place("Tokyo", "Japan"));
    EXPECT_EQ(nearest(40.7128, -74.0060), place("New York", "United States"));
    EXPECT_EQ(nearest(-33.8688, 151.2093), place("New South Wales", "Australia"));
    // Just off a cell row's edge (every 2° of latitude).
    EXPECT_EQ(nearest(52.0001, 4.36), place("South Holland", "Netherlands"));
    // Across the antimeridian: Labasa (Vanua Levu) lies at 179.38° E.
    const auto fiji = services::PlaceIndex::shared().nearest({-16.5, -179.9}, 100000);
    EXPECT_EQ(fiji.value_or(services::Placemark{}).country, "Fiji");
}

TEST(PlaceIndex, NothingBeyondTheCutOffNorAtThePoles) {
    EXPECT_FALSE(nearest(0, -140)); // the middle of the Pacific
    EXPECT_FALSE(nearest(30, -40)); // the middle of the Atlantic
    EXPECT_FALSE(nearest(90, 0));
    EXPECT_FALSE(nearest(-90, 180));
    // Off Brittany, the nearest place (Plogoff) is some 86 km away.
    const ui::Coordinate offBrittany{47.5, -5.5};
    EXPECT_FALSE(services::PlaceIndex::shared().nearest(offBrittany, 50000));
    EXPECT_EQ(services::PlaceIndex::shared().nearest(offBrittany, 95000),
              place("Brittany", "France"));
}

TEST(PlaceIndex, AMissingOrDamagedFileGivesNoPlaces) {
    services::PlaceIndex index;
    EXPECT_FALSE(index.load(testenv::makeTempDir("places") + "/none.bin"));
    const QString damaged = testenv::makeTempDir("places") + "/places.bin";
    QFile original(ui::Bundle::mainBundle().pathForResourceOfType("places", "bin"));
    ASSERT_TRUE(original.open(QIODevice::ReadOnly));
    QFile file(damaged);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(original.read(original.size() / 2)); // cut in the middle of the places
    file.close();
    EXPECT_FALSE(index.load(damaged));
    EXPECT_TRUE(index.isEmpty());
    EXPECT_FALSE(index.nearest({48.8566, 2.3522}));
}

struct Answers : services::ReverseGeocoderDelegate {
    void reverseGeocoderDidFindPlacemark(services::ReverseGeocoder*,
                                         const services::Placemark& placemark) override {
        found.push_back(placemark);
    }
    void reverseGeocoderDidFailWithError(services::ReverseGeocoder*, const QString&) override {
        ++failures;
    }
    std::vector<services::Placemark> found;
    int failures = 0;
};

TEST(ReverseGeocoder, AnswersOnceFromTheEventLoop) {
    Answers answers;
    services::ReverseGeocoder geocoder({35.6812, 139.7671});
    geocoder.setDelegate(&answers);
    geocoder.start();
    geocoder.start();
    EXPECT_TRUE(geocoder.isQuerying());
    EXPECT_TRUE(answers.found.empty());
    testenv::flushEvents();
    ASSERT_EQ(answers.found.size(), 1u);
    EXPECT_EQ(answers.found[0], place("Tokyo", "Japan"));
    EXPECT_EQ(geocoder.placemark(), place("Tokyo", "Japan"));
    EXPECT_FALSE(geocoder.isQuerying());

    services::ReverseGeocoder far({0, -140});
    far.setDelegate(&answers);
    far.start();
    testenv::flushEvents();
    EXPECT_EQ(answers.failures, 1);
}

TEST(ReverseGeocoder, CancelledOrDestroyedItNeverAnswers) {
    Answers answers;
    services::ReverseGeocoder cancelled({35.6812, 139.7671});
    cancelled.setDelegate(&answers);
    cancelled.start();
    cancelled.cancel();
    {
        services::ReverseGeocoder destroyed({48.8566, 2.3522});
        destroyed.setDelegate(&answers);
        destroyed.start();
    }
    testenv::flushEvents();
    EXPECT_TRUE(answers.found.empty());
    EXPECT_EQ(answers.failures, 0);
}

} // namespace
