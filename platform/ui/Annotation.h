#pragma once

#include "platform/ui/MapGeometry.h"

#include <QString>

namespace ui {

// What a map view marks with an annotation view: a coordinate, and the texts of the
// callout that opens when it is selected.
class Annotation {
public:
    virtual ~Annotation() = default;
    virtual Coordinate coordinate() const = 0;
    virtual QString title() const { return {}; }
    virtual QString subtitle() const { return {}; }
};

} // namespace ui
