#pragma once

#include "platform/ioreg/Value.h"

#include <QString>

#include <optional>

namespace ioreg {

// A registry entry: the class it is an instance of and its properties.
struct Service {
    QString className;
    Value::Entries properties;

    std::optional<Value> property(const QString& key) const;
    // Sets or replaces the property under key.
    void setProperty(const QString& key, const Value& value);
};

} // namespace ioreg
