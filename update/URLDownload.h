#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QUrl>

class QNetworkAccessManager;
class QNetworkReply;
class URLDownloadDelegate;

// One HTTP or HTTPS resource streamed into a file. The file is created anew (a stale
// file of that name is removed first, a link there is not followed) and synced to
// storage at the end. Redirects are followed only to the same scheme or to HTTPS.
// Only a success status (2xx) counts: any other, a body shorter than its
// Content-Length, a transfer error, a write error (disk full) or no data for the
// stall time-out fails the download. A failed download removes its file.
class URLDownload : public QObject {
public:
    static constexpr int defaultStallTimeoutMs = 15000;

    URLDownload(const QUrl& url, const QByteArray& destination, URLDownloadDelegate* delegate,
                QNetworkAccessManager* manager);
    ~URLDownload() override;
    URLDownload(const URLDownload&) = delete;
    URLDownload& operator=(const URLDownload&) = delete;

    void setStallTimeoutMs(int milliseconds) { stallTimeoutMs_ = milliseconds; }
    // Creates the file and starts the transfer; a file that cannot be created fails
    // the download at once (the delegate hears it before start returns).
    void start();
    // Ends the transfer and removes the file; the delegate hears nothing more.
    void cancel();

    const QUrl& url() const { return url_; }
    const QByteArray& destination() const { return destination_; }
    // The response's Last-Modified header, empty without one.
    QByteArray lastModified() const { return lastModified_; }
    // The body's length from Content-Length, or -1 when the server did not say.
    qint64 expectedLength() const { return expectedLength_; }
    qint64 bytesReceived() const { return bytesReceived_; }

private:
    void onMetaData();
    void onReadyRead();
    void onFinished();
    void onStalled();
    bool checkStatus();
    bool writeAvailable();
    void fail(const QString& error);
    void finish();
    void stop();

    QUrl url_;
    QByteArray destination_;
    URLDownloadDelegate* delegate_;
    QNetworkAccessManager* manager_;
    QNetworkReply* reply_ = nullptr;
    QTimer stallTimer_;
    int stallTimeoutMs_ = defaultStallTimeoutMs;
    int fd_ = -1;
    bool statusChecked_ = false;
    bool ended_ = false;
    QByteArray lastModified_;
    qint64 expectedLength_ = -1;
    qint64 bytesReceived_ = 0;
};
