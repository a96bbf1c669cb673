#pragma once

#include <QHashFunctions>

namespace ui {

// A row in a sectioned table.
struct IndexPath {
    int section = 0;
    int row = 0;

    static IndexPath indexPathForRowInSection(int row, int section) { return {section, row}; }

    bool operator==(const IndexPath&) const = default;
    auto operator<=>(const IndexPath&) const = default;
};

inline size_t qHash(const IndexPath& path, size_t seed = 0) {
    return qHashMulti(seed, path.section, path.row);
}

} // namespace ui
