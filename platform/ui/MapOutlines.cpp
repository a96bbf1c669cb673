#include "platform/ui/MapOutlines.h"

#include "platform/ui/Bundle.h"
#include "platform/ui/LittleEndianReader.h"
#include "platform/ui/MapGeometry.h"

#include <QFile>

namespace ui {

namespace {

constexpr char kMagic[] = "ORMWMAP1";
constexpr double kUnit = 1e5; // the file's positions are in 1e-5 degree

} // namespace

const MapOutlines& MapOutlines::shared() {
    static const MapOutlines outlines = [] {
        MapOutlines loaded;
        loaded.load(Bundle::mainBundle().pathForResourceOfType(QStringLiteral("world-map"),
                                                               QStringLiteral("bin")));
        return loaded;
    }();
    return outlines;
}

bool MapOutlines::load(const QString& path) {
    rings_.clear();
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly)) {
        return false;
    }
    const QByteArray bytes = file.readAll();
    LittleEndianReader reader(bytes);
    if (!bytes.startsWith(kMagic) || !reader.has(12)) {
        return false;
    }
    reader.skip(8);
    const quint32 count = reader.u32();
    std::vector<Ring> rings;
    for (quint32 index = 0; index < count; ++index) {
        if (!reader.has(4)) {
            return false;
        }
        const quint32 points = reader.u32();
        if (!reader.has(qsizetype(points) * 8)) {
            return false;
        }
        Ring ring;
        ring.points.reserve(points);
        for (quint32 k = 0; k < points; ++k) {
            const double longitude = reader.i32() / kUnit;
            const double latitude = reader.i32() / kUnit;
            ring.points.append({(longitude + 180) / 360, MercatorProjection::unitY(latitude)});
        }
        ring.bounds = ring.points.boundingRect();
        rings.push_back(std::move(ring));
    }
    rings_ = std::move(rings);
    return true;
}

} // namespace ui
