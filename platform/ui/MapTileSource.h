#pragma once

#include <QHash>
#include <QImage>
#include <QObject>
#include <QSet>
#include <QString>

#include <functional>

class QNetworkAccessManager;

namespace ui {

// Imagery tiles for the satellite and hybrid maps, from a tile server the user names
// in ORMEL_TILE_URL ("https://host/{z}/{x}/{y}.jpg"). Nothing is fetched without it.
class MapTileSource : public QObject {
public:
    static constexpr int kMaximumZoom = 19;

    // $ORMEL_TILE_URL when it names {z}, {x} and {y}; else the empty text.
    static QString configuredTemplate();

    explicit MapTileSource(const QString& urlTemplate, QObject* parent = nullptr);
    ~MapTileSource() override;

    bool isValid() const { return !template_.isEmpty(); }
    QString urlOf(int zoom, int x, int y) const;
    // The tile when it has arrived; otherwise a null image, and the first call asks
    // the server for it.
    QImage tile(int zoom, int x, int y);
    // Runs whenever a tile arrives.
    void setArrivalAction(std::function<void()> action) { arrived_ = std::move(action); }

private:
    static quint64 keyOf(int zoom, int x, int y);

    QString template_;
    QNetworkAccessManager* network_ = nullptr;
    QHash<quint64, QImage> tiles_;
    QSet<quint64> pending_;
    std::function<void()> arrived_;
};

} // namespace ui
