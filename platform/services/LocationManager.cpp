#include "platform/services/LocationManager.h"

#include "platform/services/QtLocationManager.h"

namespace services {

std::unique_ptr<LocationManager> LocationManager::create() {
    const QString nmeaLog = qEnvironmentVariable("ORMEL_NMEA_LOG");
    if (!nmeaLog.isEmpty()) {
        return QtLocationManager::withNmeaLog(nmeaLog);
    }
    return QtLocationManager::withDefaultSource();
}

} // namespace services
