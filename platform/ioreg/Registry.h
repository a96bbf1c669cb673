#pragma once

#include "platform/ioreg/Backend.h"

#include <QString>

#include <memory>
#include <optional>

namespace ioreg {

// The device registry: its services by class and its planes. Served by the installed
// backend; the Linux backend over "/" unless a test installed its own.
class Registry {
public:
    static constexpr const char* kDeviceTreePlane = "IODeviceTree";

    // The first service of a class; none when no service matches.
    static std::optional<Service> matchingService(const QString& className);
    // A property in a plane, from its root entry down when recursive. Only the device
    // tree plane has entries.
    static std::optional<Value> searchProperty(const QString& plane, const QString& key,
                                               bool recursive);

    // Chooses the backend (tests install their own); null returns to the default.
    // Main thread only, as are the queries.
    static void install(std::shared_ptr<Backend> backend);
    static std::shared_ptr<Backend> backend();
};

} // namespace ioreg
