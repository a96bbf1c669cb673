#include "platform/services/PlaceIndex.h"

#include "platform/ui/Bundle.h"
#include "platform/ui/LittleEndianReader.h"

#include <QFile>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace services {

namespace {

constexpr char kPlacesMagic[] = "ORMPLCS1";
constexpr double kEarthRadius = 6371008.8; // metres, the mean radius
constexpr double kMetresPerDegree = kEarthRadius * std::numbers::pi / 180;

double radians(double degrees) {
    return degrees * std::numbers::pi / 180;
}

// The great-circle distance in metres (haversine).
double distanceBetween(double lat1, double lon1, double lat2, double lon2) {
    const double dLat = radians(lat2 - lat1);
    const double dLon = radians(lon2 - lon1);
    const double h =
        std::sin(dLat / 2) * std::sin(dLat / 2) +
        std::cos(radians(lat1)) * std::cos(radians(lat2)) * std::sin(dLon / 2) * std::sin(dLon / 2);
    return 2 * kEarthRadius * std::asin(std::min(1.0, std::sqrt(h)));
}

} // namespace

const PlaceIndex& PlaceIndex::shared() {
    static const PlaceIndex index = [] {
        PlaceIndex loaded;
        loaded.load(ui::Bundle::mainBundle().pathForResourceOfType(QStringLiteral("places"),
                                                                   QStringLiteral("bin")));
        return loaded;
    }();
    return index;
}

bool PlaceIndex::load(const QString& path) {
    QFile file(path);
    const bool ok = !path.isEmpty() && file.open(QIODevice::ReadOnly) && parse(file.readAll());
    if (!ok) {
        *this = PlaceIndex();
    }
    return ok;
}

bool PlaceIndex::parse(const QByteArray& bytes) {
    ui::LittleEndianReader reader(bytes);
    if (!bytes.startsWith(kPlacesMagic) || !reader.has(16)) {
        return false;
    }
    reader.skip(8);
    cellDegrees_ = static_cast<int>(reader.u32());
    if (cellDegrees_ <= 0 || 180 % cellDegrees_ != 0) {
        return false;
    }
    const quint32 areaCount = reader.u32();
    for (quint32 k = 0; k < areaCount; ++k) {
        Placemark area;
        for (QString* text : {&area.administrativeArea, &area.country}) {
            if (!reader.has(2)) {
                return false;
            }
            const quint16 length = reader.u16();
            if (!reader.has(length)) {
                return false;
            }
            *text = reader.text(length);
        }
        areas_.push_back(std::move(area));
    }
    const qsizetype cells = qsizetype(columns()) * rows();
    if (!reader.has(4 + 4 * (cells + 1))) {
        return false;
    }
    const quint32 count = reader.u32();
    for (qsizetype cell = 0; cell <= cells; ++cell) {
        cellStarts_.push_back(reader.u32());
    }
    if (cellStarts_.back() != count || !reader.has(qsizetype(count) * 6)) {
        return false;
    }
    places_.reserve(count);
    for (qsizetype cell = 0; cell < cells; ++cell) {
        const double south = static_cast<double>(cell / columns() * cellDegrees_ - 90);
        const double west = static_cast<double>(cell % columns() * cellDegrees_ - 180);
        for (quint32 k = cellStarts_[cell]; k < cellStarts_[cell + 1]; ++k) {
            const double latitude = south + reader.u16() / 65536.0 * cellDegrees_;
            const double longitude = west + reader.u16() / 65536.0 * cellDegrees_;
            const quint16 area = reader.u16();
            if (area >= areas_.size()) {
                return false;
            }
            places_.push_back({static_cast<float>(latitude), static_cast<float>(longitude), area});
        }
    }
    return true;
}

std::optional<Placemark> PlaceIndex::nearest(ui::Coordinate coordinate, double cutoffMetres) const {
    if (places_.empty()) {
        return std::nullopt;
    }
    const double reach = cutoffMetres / kMetresPerDegree; // degrees of latitude
    const double south = std::max(-90.0, coordinate.latitude - reach);
    const double north = std::min(90.0, coordinate.latitude + reach);
    const int firstRow =
        std::clamp(static_cast<int>(std::floor((south + 90) / cellDegrees_)), 0, rows() - 1);
    const int lastRow =
        std::clamp(static_cast<int>(std::floor((north + 90) / cellDegrees_)), 0, rows() - 1);
    // Longitude degrees shrink toward the poles: widen the search by the band's
    // narrowest ones, or search every column near a pole.
    const double narrowest = std::cos(radians(std::max(std::abs(south), std::abs(north))));
    const double across = narrowest > 1e-6 ? reach / narrowest : 360;
    int firstColumn = 0;
    int lastColumn = columns() - 1;
    if (across < 180) {
        firstColumn =
            static_cast<int>(std::floor((coordinate.longitude - across + 180) / cellDegrees_));
        lastColumn =
            static_cast<int>(std::floor((coordinate.longitude + across + 180) / cellDegrees_));
    }
    const Place* best = nullptr;
    double bestDistance = cutoffMetres;
    for (int row = firstRow; row <= lastRow; ++row) {
        for (int column = firstColumn; column <= lastColumn; ++column) {
            const int wrapped = ((column % columns()) + columns()) % columns();
            const int cell = row * columns() + wrapped;
            for (uint32_t k = cellStarts_[cell]; k < cellStarts_[cell + 1]; ++k) {
                const Place& place = places_[k];
                const double d = distanceBetween(coordinate.latitude, coordinate.longitude,
                                                 place.latitude, place.longitude);
                if (d <= bestDistance) {
                    bestDistance = d;
                    best = &place;
                }
            }
        }
    }
    return best != nullptr ? std::optional<Placemark>(areas_[best->area]) : std::nullopt;
}

} // namespace services
