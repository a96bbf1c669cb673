#include "location/LocationController.h"

#include "common/Resources.h"
#include "location/LocationControllerDelegate.h"
#include "platform/ui/DelayedPerform.h"

namespace {

QString errorText(const services::LocationError& error) {
    if (!error.locationDomain) {
        return error.localizedDescription;
    }
    switch (error.code) {
    case 0:
        return Resources::text(QStringLiteral("LocationUnknown"));
    case 1:
        return Resources::text(QStringLiteral("LocationDenied"));
    default:
        return QStringLiteral("%1 %2")
            .arg(Resources::text(QStringLiteral("GenericLocationError")))
            .arg(error.code);
    }
}

} // namespace

namespace {
LocationController* testInstance = nullptr;
} // namespace

LocationController* LocationController::sharedInstance() {
    if (testInstance != nullptr) {
        return testInstance;
    }
    static LocationController* instance =
        new LocationController(services::LocationManager::create());
    return instance;
}

void LocationController::setSharedInstanceForTesting(LocationController* controller) {
    testInstance = controller;
}

LocationController::LocationController(std::unique_ptr<services::LocationManager> manager)
    : locationManager_(std::move(manager)) {
    locationManager_->setDelegate(this);
    locationManager_->setDistanceFilter(services::LocationManager::kDistanceFilterNone);
    locationManager_->setDesiredAccuracy(services::LocationManager::kAccuracyBest);
    isAvailable_ = locationManager_->locationServicesEnabled();
}

LocationController::~LocationController() {
    stop();
    locationManager_->setDelegate(nullptr);
}

bool LocationController::start() {
    if (!isAvailable_) {
        errorString_ = Resources::text(QStringLiteral("NoLocationServices"));
        return false;
    }
    std::lock_guard lock(lock_);
    if (!nowScanning_) {
        nowScanning_ = true;
        hasNewData_ = false;
        locationManager_->startUpdatingLocation();
        ui::DelayedPerform::performAfterDelay(this, kScanSeconds, [this] { stopAndNotice(); });
    }
    return nowScanning_;
}

void LocationController::stop() {
    std::lock_guard lock(lock_);
    ui::DelayedPerform::cancelPreviousPerformRequestsWithTarget(this);
    if (nowScanning_) {
        locationManager_->stopUpdatingLocation();
        nowScanning_ = false;
    }
}

void LocationController::stopAndNotice() {
    stop();
    if (delegate_ != nullptr) {
        delegate_->locationUpdatedGeoDataErrorString(locationManager_.get(), &geoData_,
                                                     errorString_);
    }
}

void LocationController::locationManagerDidUpdateToLocationFromLocation(
    services::LocationManager* manager, const services::LocationReading& newLocation,
    const std::optional<services::LocationReading>& oldLocation) {
    if (newLocation.horizontalAccuracy < 0) {
        return;
    }
    const double distance = oldLocation ? newLocation.distanceFrom(*oldLocation) : 0;
    // Milliseconds to the reading's time: negative for a reading of the past.
    const double age =
        static_cast<double>(QDateTime::currentDateTimeUtc().msecsTo(newLocation.timestamp)) /
        1000.0;
    if (!bestEffort_ || bestEffort_->horizontalAccuracy > newLocation.horizontalAccuracy) {
        bestEffort_ = newLocation;
        const double desired = manager->desiredAccuracy();
        if (desired == services::LocationManager::kAccuracyBest ||
            newLocation.horizontalAccuracy <= desired) {
            geoData_.setDistanceMoved(distance);
            geoData_.setTimeElapsed(-age);
            geoData_.setLocation(newLocation);
        }
    }
    // Any valid reading counts as data of this scan, accepted or not.
    hasNewData_ = true;
}

void LocationController::locationManagerDidFailWithError(services::LocationManager* /*manager*/,
                                                         const services::LocationError& error) {
    errorString_ = errorText(error);
    stopAndNotice();
}
