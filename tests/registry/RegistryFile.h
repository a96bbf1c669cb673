#pragma once

#include "platform/darwin/ByteOrder.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <cstdint>
#include <vector>

// Builds registry files byte by byte, in the layout the lookup engine maps.
namespace registryfile {

struct Registry {
    int32_t count = 0;
    uint32_t date = 0;
};

struct Range {
    uint32_t first = 0;
    uint32_t end = 0;
    uint32_t country = 0;
    uint32_t registry = 0;
    uint32_t date = 0;
    uint32_t status = 0;
    bool operator==(const Range&) const = default;
};

// Rows of the engine's tables the test files refer to.
constexpr uint32_t SIP02 = 2, JP = 146, US = 265; // countries
constexpr uint32_t APNIC = 2, ARIN = 3;           // registries
constexpr uint32_t ALLOCATED = 1, ASSIGNED = 2;   // statuses

inline uint32_t ip(unsigned a, unsigned b, unsigned c, unsigned d) {
    return (a << 24) | (b << 16) | (c << 8) | d;
}

inline QByteArray bytes(const std::vector<Registry>& registries, const std::vector<Range>& ranges) {
    QByteArray data(static_cast<int>(1 + 12 * registries.size() + 24 * ranges.size()), '\0');
    data[0] = static_cast<char>(registries.size());
    size_t offset = 1;
    for (const Registry& r : registries) {
        darwin::writeLE<uint32_t>(data.data(), offset, 0xdeadbeef); // not interpreted
        darwin::writeLE<int32_t>(data.data(), offset + 4, r.count);
        darwin::writeLE<uint32_t>(data.data(), offset + 8, r.date);
        offset += 12;
    }
    for (const Range& r : ranges) {
        for (uint32_t field : {r.first, r.end, r.country, r.registry, r.date, r.status}) {
            darwin::writeLE<uint32_t>(data.data(), offset, field);
            offset += 4;
        }
    }
    return data;
}

inline bool write(const QString& path, const QByteArray& data) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(data) == data.size();
}

} // namespace registryfile
