#include "platform/ui/MapTileSource.h"
#include "platform/ui/MapView.h"
#include "support/EventLoop.h"

#include <QBuffer>
#include <QImage>
#include <QTcpServer>
#include <QTcpSocket>

#include <gtest/gtest.h>

namespace {

// A tile server on a loopback port: every request gets one green PNG tile, and its
// path is noted.
class TileServer {
public:
    TileServer() {
        QImage tile(256, 256, QImage::Format_RGB32);
        tile.fill(QColor(0, 160, 0));
        QBuffer buffer(&png_);
        buffer.open(QIODevice::WriteOnly);
        tile.save(&buffer, "PNG");
        server_.listen(QHostAddress::LocalHost);
        QObject::connect(&server_, &QTcpServer::newConnection, [this] { serve(); });
    }
    QString urlTemplate() const {
        return QStringLiteral("http://127.0.0.1:%1/{z}/{x}/{y}.png").arg(server_.serverPort());
    }
    QStringList paths;

private:
    void serve() {
        while (QTcpSocket* socket = server_.nextPendingConnection()) {
            QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                const QList<QByteArray> request = socket->readAll().split(' ');
                paths.append(QString::fromLatin1(request.value(1)));
                socket->write("HTTP/1.1 200 OK\r\nContent-Type: image/png\r\nConnection: close\r\n"
                              "Content-Length: " +
                              QByteArray::number(png_.size()) + "\r\n\r\n" + png_);
                socket->disconnectFromHost();
            });
        }
    }

    QTcpServer server_;
    QByteArray png_;
};

TEST(MapTileSource, OnlyACompleteTemplateCounts) {
    const QByteArray saved = qgetenv("ORMEL_TILE_URL");
    qputenv("ORMEL_TILE_URL", "http://127.0.0.1:9/{z}/{x}.png");
    EXPECT_TRUE(ui::MapTileSource::configuredTemplate().isEmpty());
    EXPECT_FALSE(ui::MapView::hasImagerySource());
    qputenv("ORMEL_TILE_URL", "http://127.0.0.1:9/{z}/{x}/{y}.png");
    EXPECT_TRUE(ui::MapView::hasImagerySource());
    EXPECT_EQ(ui::MapTileSource(ui::MapTileSource::configuredTemplate()).urlOf(3, 4, 5),
              "http://127.0.0.1:9/3/4/5.png");
    qputenv("ORMEL_TILE_URL", saved);
}

TEST(MapTileSource, TheSatelliteMapShowsTheTilesOnceTheyArrive) {
    TileServer server;
    const QByteArray saved = qgetenv("ORMEL_TILE_URL");
    qputenv("ORMEL_TILE_URL", server.urlTemplate().toUtf8());
    ui::MapView map({0, 0, 320, 416});
    qputenv("ORMEL_TILE_URL", saved);
    map.setZoomLevel(3);
    map.setCenterCoordinate({0, 0}, false);
    map.setMapType(ui::MapType::Satellite);
    auto centre = [&map] {
        const QImage image = map.grab().toImage();
        return image.pixelColor(image.width() / 2, image.height() / 2);
    };
    EXPECT_NE(centre(), QColor(0, 160, 0));
    ASSERT_TRUE(testenv::processEventsUntil([&] { return centre() == QColor(0, 160, 0); }));
    // At zoom 3 the centre of the world is where tiles 3/3/3 and 3/4/4 meet.
    EXPECT_TRUE(server.paths.contains("/3/4/4.png"));
    EXPECT_TRUE(server.paths.contains("/3/3/3.png"));
}

} // namespace
