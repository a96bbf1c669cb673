#pragma once

#include "update/RegistrySources.h"
#include "update/RegistryUpdateDelegate.h"
#include "update/URLDownloadDelegate.h"

#include <QByteArray>
#include <QDateTime>
#include <QNetworkAccessManager>
#include <QObject>

#include <memory>
#include <optional>
#include <vector>

class URLDownload;

// Replaces the registry file in the documents directory ("ccTLD.dat") with one built
// from freshly downloaded sources, for the download sheet and `ormel --update-registry`
// alike:
//  1. the current copy is kept as "ccTLD.dat.bak" (a link: the file stays in place);
//  2. every source is downloaded at once, progress counted over all of them;
//  3. the statistics files are converted (or a single ready registry file taken), the
//     result written to "ccTLD.dat.new", synced, and checked with the lookup engine's
//     own checks and for a sane number of ranges;
//  4. it is dated with the newest Last-Modified of the sources (the download time
//     without one), renamed over "ccTLD.dat", and the registry database reopened.
// Any failure, or a cancel, leaves the installed file as it was and the backup where
// it was before the update; the temporary files are removed.
class RegistryUpdate : public QObject, public URLDownloadDelegate {
public:
    // The fewest ranges a build of the regional registries' five files has; a single
    // ready file must have one.
    static constexpr uint32_t minimumRangesOfSources = 10000;

    struct Options {
        RegistrySources sources;
        QByteArray documentsDirectory;
        int stallTimeoutMs;
        uint32_t minimumRanges; // 0: minimumRangesOfSources, or 1 for a single file
    };

    RegistryUpdate(RegistryUpdateDelegate* delegate, Options options);
    ~RegistryUpdate() override;
    RegistryUpdate(const RegistryUpdate&) = delete;
    RegistryUpdate& operator=(const RegistryUpdate&) = delete;

    // Backs up and starts the downloads; a failure may be reported before it returns.
    void start();
    // Stops the update and puts everything back; the delegate hears nothing more.
    void cancel();

    QByteArray path() const { return path_; }
    QByteArray newPath() const { return path_ + ".new"; }
    QByteArray backupPath() const { return path_ + ".bak"; }

private:
    struct Source {
        std::unique_ptr<URLDownload> download;
        bool finished = false;
    };

    void downloadDidReceiveResponse(URLDownload* download) override;
    void downloadDidReceiveDataOfLength(URLDownload* download, qint64 length) override;
    void downloadDidFinish(URLDownload* download) override;
    void downloadDidFail(URLDownload* download, const QString& error) override;

    bool backup(QString* error);
    void reportProgress();
    void install();
    bool writeNewFile(QString* error, uint32_t* ranges);
    std::optional<QByteArray> buildFromSources(QString* error) const;
    QDateTime newestLastModified() const;
    void fail(RegistryUpdateDelegate::Stage stage, const QString& message);
    void cleanUp();
    void restoreBackup();

    RegistryUpdateDelegate* delegate_;
    Options options_;
    QByteArray path_;
    QNetworkAccessManager manager_;
    std::vector<Source> sources_;
    bool backedUp_ = false;
    bool running_ = false;
};
