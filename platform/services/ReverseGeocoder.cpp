#include "platform/services/ReverseGeocoder.h"

#include "platform/services/Dispatch.h"
#include "platform/services/PlaceIndex.h"
#include "platform/services/ReverseGeocoderDelegate.h"

namespace services {

ReverseGeocoder::ReverseGeocoder(ui::Coordinate coordinate, const PlaceIndex* index)
    : coordinate_(coordinate), index_(index) {}

ReverseGeocoder::~ReverseGeocoder() = default;

void ReverseGeocoder::start() {
    if (querying_) {
        return;
    }
    querying_ = true;
    Dispatch::asyncMain(this, [this] { answer(); });
}

void ReverseGeocoder::answer() {
    if (!querying_) {
        return;
    }
    querying_ = false;
    const PlaceIndex& index = index_ != nullptr ? *index_ : PlaceIndex::shared();
    placemark_ = index.nearest(coordinate_);
    if (delegate_ == nullptr) {
        return;
    }
    if (placemark_) {
        delegate_->reverseGeocoderDidFindPlacemark(this, *placemark_);
    } else {
        delegate_->reverseGeocoderDidFailWithError(this, index.isEmpty()
                                                             ? QStringLiteral("No place data")
                                                             : QStringLiteral("No place nearby"));
    }
}

} // namespace services
