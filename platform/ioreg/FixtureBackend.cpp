#include "platform/ioreg/FixtureBackend.h"

namespace ioreg {

void FixtureBackend::addService(Service service) {
    services_.push_back(std::move(service));
}

void FixtureBackend::setDeviceTreeProperty(const QString& key, const Value& value, bool atRoot) {
    (atRoot ? root_ : child_).setProperty(key, value);
}

std::optional<Service> FixtureBackend::matchingService(const QString& className) {
    for (const Service& service : services_) {
        if (service.className == className) {
            return service;
        }
    }
    return std::nullopt;
}

std::optional<Value> FixtureBackend::deviceTreeProperty(const QString& key, bool recursive) {
    if (auto value = root_.property(key)) {
        return value;
    }
    return recursive ? child_.property(key) : std::nullopt;
}

} // namespace ioreg
