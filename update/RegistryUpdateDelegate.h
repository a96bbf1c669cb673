#pragma once

#include <QDateTime>
#include <QString>

#include <cstdint>

// What the registry update tells whoever drives it (the download sheet, the
// command line). One of the two ending calls comes, once.
class RegistryUpdateDelegate {
public:
    // Where a failed update stopped: the current copy could not be backed up, a
    // source could not be downloaded, or the new file could not be built or installed.
    enum class Stage { Backup, Download, Install };

    struct Installed {
        QByteArray path;
        uint32_t ranges = 0;
        QDateTime dated; // the file's modification time, UTC
    };

    virtual ~RegistryUpdateDelegate() = default;
    // Bytes of all sources together; `total` is -1 until every source's length is known.
    virtual void registryUpdateProgress(qint64 /*received*/, qint64 /*total*/) {}
    virtual void registryUpdateDidSucceed(const Installed& installed) = 0;
    virtual void registryUpdateDidFail(Stage stage, const QString& message) = 0;
};
