#include "platform/ioreg/Service.h"

namespace ioreg {

std::optional<Value> Service::property(const QString& key) const {
    for (const auto& [name, value] : properties) {
        if (name == key) {
            return value;
        }
    }
    return std::nullopt;
}

void Service::setProperty(const QString& key, const Value& value) {
    for (auto& [name, existing] : properties) {
        if (name == key) {
            existing = value;
            return;
        }
    }
    properties.emplace_back(key, value);
}

} // namespace ioreg
