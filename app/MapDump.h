#pragma once

#include <QString>

// `ormel --dump map`: the map screen's callout for the location reading, the pin's
// title and the place the reverse geocoder names (or the coordinates), as one untitled
// section of one row. It starts the location service and waits up to 10 s for a
// reading; without one it fails saying why.
class MapDump {
public:
    static bool dump(bool json, QString* text, QString* error);
};
