#pragma once

#include <QString>

class GeoData;

namespace services {
class LocationManager;
}

// Told when a location scan has ended: with the reading kept so far and the error
// text, or an empty text when there was none.
class LocationControllerDelegate {
public:
    virtual ~LocationControllerDelegate() = default;
    virtual void locationUpdatedGeoDataErrorString(services::LocationManager* /*manager*/,
                                                   GeoData* /*geoData*/,
                                                   const QString& /*errorString*/) {}
};
