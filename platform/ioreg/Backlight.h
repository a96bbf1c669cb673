#pragma once

#include "platform/ioreg/HostTree.h"
#include "platform/ioreg/Value.h"

#include <cstdint>
#include <optional>

namespace ioreg {

// The display's backlight: the first device of the kernel's backlight class.
class Backlight {
public:
    static constexpr const char* kClassName = "ApplePCF50635PMUBacklight";

    int64_t level = 0;
    int64_t maximum = 0;

    static std::optional<Backlight> read(const HostTree& host);

    // "backlight-level" of the device tree: the level as decimal text.
    Value levelData() const;
    // "IODisplayParameters": {"brightness": {"min": 0, "max": …, "value": …}}.
    Value displayParameters() const;
};

} // namespace ioreg
