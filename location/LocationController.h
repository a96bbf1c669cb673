#pragma once

#include "location/GeoData.h"
#include "platform/services/LocationManager.h"

#include <QString>

#include <memory>
#include <mutex>

class LocationControllerDelegate;

// The process's one user of the location service: a scan keeps the most accurate
// reading for at most 30 seconds, then stops and reports once to the delegate.
class LocationController : public services::LocationManagerDelegate {
public:
    static constexpr double kScanSeconds = 30;

    static LocationController* sharedInstance();
    // Puts a test's controller in place of the shared one (nullptr: the shared one).
    static void setSharedInstanceForTesting(LocationController* controller);

    LocationControllerDelegate* delegate() const { return delegate_; }
    void setDelegate(LocationControllerDelegate* delegate) { delegate_ = delegate; }
    services::LocationManager* locationManager() const { return locationManager_.get(); }
    const std::optional<services::LocationReading>& bestEffort() const { return bestEffort_; }
    GeoData* geoData() { return &geoData_; }
    bool isAvailable() const { return isAvailable_; }
    bool isScanning() const { return nowScanning_; }
    bool hasNewData() const { return hasNewData_; }
    const QString& errorString() const { return errorString_; }

    bool start();
    void stop();
    void stopAndNotice();

    void locationManagerDidUpdateToLocationFromLocation(
        services::LocationManager* manager, const services::LocationReading& newLocation,
        const std::optional<services::LocationReading>& oldLocation) override;
    void locationManagerDidFailWithError(services::LocationManager* manager,
                                         const services::LocationError& error) override;

    // A controller over a manager of the caller's (tests); the shared one uses the
    // platform's.
    explicit LocationController(std::unique_ptr<services::LocationManager> manager);
    ~LocationController() override;

private:
    LocationControllerDelegate* delegate_ = nullptr;
    std::unique_ptr<services::LocationManager> locationManager_;
    std::optional<services::LocationReading> bestEffort_;
    GeoData geoData_;
    bool isAvailable_ = false;
    bool nowScanning_ = false;
    bool hasNewData_ = false;
    QString errorString_;
    std::mutex lock_;
};
