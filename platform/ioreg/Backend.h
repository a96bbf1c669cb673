#pragma once

#include "platform/ioreg/Service.h"

#include <QString>

#include <optional>

namespace ioreg {

// The source of the registry's services and of its device tree.
class Backend {
public:
    virtual ~Backend();

    // The first service that is an instance of the class; none when there is none.
    virtual std::optional<Service> matchingService(const QString& className) = 0;
    // A property of the device tree's root entry, or, when recursive, of any entry
    // below it (the first found).
    virtual std::optional<Value> deviceTreeProperty(const QString& key, bool recursive) = 0;
};

} // namespace ioreg
