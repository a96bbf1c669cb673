#pragma once

#include "platform/services/Placemark.h"

#include <QString>

namespace services {

class ReverseGeocoder;

// Hears once from a started reverse geocoder: the placemark found, or the failure.
class ReverseGeocoderDelegate {
public:
    virtual ~ReverseGeocoderDelegate() = default;
    virtual void reverseGeocoderDidFindPlacemark(ReverseGeocoder* geocoder,
                                                 const Placemark& placemark) = 0;
    virtual void reverseGeocoderDidFailWithError(ReverseGeocoder* geocoder,
                                                 const QString& error) = 0;
};

} // namespace services
