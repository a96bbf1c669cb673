#pragma once

#include "platform/ioreg/Backend.h"

#include <vector>

namespace ioreg {

// A registry of hand-built services and device-tree properties (tests).
class FixtureBackend : public Backend {
public:
    void addService(Service service);
    // A property of the device tree's root entry, or of an entry below it.
    void setDeviceTreeProperty(const QString& key, const Value& value, bool atRoot = false);

    std::optional<Service> matchingService(const QString& className) override;
    std::optional<Value> deviceTreeProperty(const QString& key, bool recursive) override;

private:
    std::vector<Service> services_;
    Service root_;
    Service child_;
};

} // namespace ioreg
