#pragma once

#include <QString>

class URLDownload;

// What a download tells its creator. Exactly one of the two ending calls comes, once;
// the download may be deleted from within either.
class URLDownloadDelegate {
public:
    virtual ~URLDownloadDelegate() = default;
    // A success status arrived; expectedLength() is known from here on.
    virtual void downloadDidReceiveResponse(URLDownload* /*download*/) {}
    // `length` more bytes of the body are in the destination file.
    virtual void downloadDidReceiveDataOfLength(URLDownload* /*download*/, qint64 /*length*/) {}
    // The whole body is in the destination file, synced to storage.
    virtual void downloadDidFinish(URLDownload* download) = 0;
    // The transfer failed or its body could not be stored; `error` says why.
    virtual void downloadDidFail(URLDownload* download, const QString& error) = 0;
};
