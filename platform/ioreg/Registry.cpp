#include "platform/ioreg/Registry.h"

#include "platform/ioreg/LinuxBackend.h"

namespace ioreg {

namespace {

std::shared_ptr<Backend>& installedBackend() {
    static std::shared_ptr<Backend> backend;
    return backend;
}

} // namespace

std::optional<Service> Registry::matchingService(const QString& className) {
    if (className.isEmpty()) {
        return std::nullopt;
    }
    return backend()->matchingService(className);
}

std::optional<Value> Registry::searchProperty(const QString& plane, const QString& key,
                                              bool recursive) {
    if (plane != QLatin1String(kDeviceTreePlane)) {
        return std::nullopt;
    }
    return backend()->deviceTreeProperty(key, recursive);
}

void Registry::install(std::shared_ptr<Backend> backend) {
    installedBackend() = std::move(backend);
}

std::shared_ptr<Backend> Registry::backend() {
    auto& backend = installedBackend();
    if (!backend) {
        backend = std::make_shared<LinuxBackend>(QStringLiteral("/"));
    }
    return backend;
}

} // namespace ioreg
