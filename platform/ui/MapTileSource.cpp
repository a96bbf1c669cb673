#include "platform/ui/MapTileSource.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

namespace ui {

namespace {

constexpr qsizetype kCachedTiles = 256;

} // namespace

QString MapTileSource::configuredTemplate() {
    const QString value = qEnvironmentVariable("ORMEL_TILE_URL");
    const bool complete = value.contains(QLatin1String("{z}")) &&
                          value.contains(QLatin1String("{x}")) &&
                          value.contains(QLatin1String("{y}"));
    return complete ? value : QString();
}

MapTileSource::MapTileSource(const QString& urlTemplate, QObject* parent)
    : QObject(parent), template_(urlTemplate) {}

MapTileSource::~MapTileSource() = default;

quint64 MapTileSource::keyOf(int zoom, int x, int y) {
    return (quint64(zoom) << 58) | (quint64(quint32(x)) << 29) | quint64(quint32(y));
}

QString MapTileSource::urlOf(int zoom, int x, int y) const {
    QString url = template_;
    url.replace(QLatin1String("{z}"), QString::number(zoom));
    url.replace(QLatin1String("{x}"), QString::number(x));
    url.replace(QLatin1String("{y}"), QString::number(y));
    return url;
}

QImage MapTileSource::tile(int zoom, int x, int y) {
    const quint64 key = keyOf(zoom, x, y);
    if (auto found = tiles_.constFind(key); found != tiles_.constEnd()) {
        return *found;
    }
    if (!isValid() || pending_.contains(key)) {
        return {};
    }
    if (network_ == nullptr) {
        network_ = new QNetworkAccessManager(this);
    }
    pending_.insert(key);
    QNetworkReply* reply = network_->get(QNetworkRequest(QUrl(urlOf(zoom, x, y))));
    connect(reply, &QNetworkReply::finished, this, [this, reply, key] {
        reply->deleteLater();
        pending_.remove(key);
        QImage image;
        const bool loaded =
            reply->error() == QNetworkReply::NoError && image.loadFromData(reply->readAll());
        if (tiles_.size() >= kCachedTiles) {
            tiles_.clear();
        }
        // A tile that failed stays blank rather than being asked for at every frame.
        tiles_.insert(key, image);
        if (loaded && arrived_) {
            arrived_();
        }
    });
    return {};
}

} // namespace ui
