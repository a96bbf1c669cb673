#include "update/URLDownload.h"

#include "common/NameText.h"
#include "common/OutputFile.h"
#include "update/ExclusiveFile.h"
#include "update/URLDownloadDelegate.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

#include <cerrno>
#include <unistd.h>

URLDownload::URLDownload(const QUrl& url, const QByteArray& destination,
                         URLDownloadDelegate* delegate, QNetworkAccessManager* manager)
    : url_(url), destination_(destination), delegate_(delegate), manager_(manager) {
    stallTimer_.setSingleShot(true);
    connect(&stallTimer_, &QTimer::timeout, this, &URLDownload::onStalled);
}

URLDownload::~URLDownload() {
    if (!ended_) {
        ended_ = true;
        stop();
    }
}

void URLDownload::start() {
    fd_ = ExclusiveFile::create(destination_);
    if (fd_ < 0) {
        fail(QStringLiteral("cannot create %1: %2")
                 .arg(NameText::fromByteArray(destination_), qt_error_string(errno)));
        return;
    }
    QNetworkRequest request(url_);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::AlwaysNetwork);
    reply_ = manager_->get(request);
    connect(reply_, &QNetworkReply::metaDataChanged, this, &URLDownload::onMetaData);
    connect(reply_, &QNetworkReply::readyRead, this, &URLDownload::onReadyRead);
    connect(reply_, &QNetworkReply::finished, this, &URLDownload::onFinished);
    connect(reply_, &QNetworkReply::redirected, this, [this] { stallTimer_.start(); });
    stallTimer_.start(stallTimeoutMs_);
}

void URLDownload::cancel() {
    if (!ended_) {
        ended_ = true;
        stop();
    }
}

// Ends the transfer and removes the file, without a word to the delegate.
void URLDownload::stop() {
    stallTimer_.stop();
    if (reply_ != nullptr) {
        reply_->disconnect(this);
        // Aborted once control is back in the event loop: aborting from within the
        // reply's own signal makes Qt report its error twice.
        QMetaObject::invokeMethod(reply_, &QNetworkReply::abort, Qt::QueuedConnection);
        reply_->deleteLater();
        reply_ = nullptr;
    }
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
        ::unlink(destination_.constData());
    }
}

void URLDownload::onMetaData() {
    stallTimer_.start(stallTimeoutMs_);
}

// Only the final response counts: redirects are followed before any body arrives.
bool URLDownload::checkStatus() {
    if (statusChecked_) {
        return true;
    }
    const QVariant status = reply_->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (!status.isValid()) {
        return true; // no response yet
    }
    const int code = status.toInt();
    if (code < 200 || code > 299) {
        const QString reason = QString::fromLatin1(
            reply_->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toByteArray());
        fail(QStringLiteral("%1: HTTP status %2 %3")
                 .arg(url_.toString())
                 .arg(code)
                 .arg(reason)
                 .trimmed());
        return false;
    }
    statusChecked_ = true;
    lastModified_ = reply_->rawHeader("Last-Modified");
    const QVariant length = reply_->header(QNetworkRequest::ContentLengthHeader);
    expectedLength_ = length.isValid() ? length.toLongLong() : -1;
    delegate_->downloadDidReceiveResponse(this);
    return !ended_;
}

bool URLDownload::writeAvailable() {
    const QByteArray chunk = reply_->readAll();
    if (chunk.isEmpty()) {
        return true;
    }
    if (!OutputFile::writeAll(fd_, chunk)) {
        fail(QStringLiteral("cannot write %1: %2")
                 .arg(NameText::fromByteArray(destination_), qt_error_string(errno)));
        return false;
    }
    bytesReceived_ += chunk.size();
    delegate_->downloadDidReceiveDataOfLength(this, chunk.size());
    return !ended_;
}

void URLDownload::onReadyRead() {
    stallTimer_.start(stallTimeoutMs_);
    if (checkStatus()) {
        writeAvailable();
    }
}

void URLDownload::onFinished() {
    if (!checkStatus() || !writeAvailable()) {
        return;
    }
    if (reply_->error() != QNetworkReply::NoError) {
        fail(QStringLiteral("%1: %2").arg(url_.toString(), reply_->errorString()));
        return;
    }
    if (!statusChecked_) {
        fail(QStringLiteral("%1: no HTTP response").arg(url_.toString()));
        return;
    }
    if (expectedLength_ >= 0 && bytesReceived_ != expectedLength_) {
        fail(QStringLiteral("%1: cut short after %2 of %3 bytes")
                 .arg(url_.toString())
                 .arg(bytesReceived_)
                 .arg(expectedLength_));
        return;
    }
    finish();
}

void URLDownload::onStalled() {
    fail(QStringLiteral("%1: no data for %2 s")
             .arg(url_.toString())
             .arg(stallTimeoutMs_ / 1000.0, 0, 'g', 3));
}

void URLDownload::finish() {
    ended_ = true;
    stallTimer_.stop();
    reply_->disconnect(this);
    reply_->deleteLater();
    reply_ = nullptr;
    const int fd = fd_;
    fd_ = -1;
    if (!ExclusiveFile::syncAndClose(fd)) {
        const int error = errno;
        ::unlink(destination_.constData());
        delegate_->downloadDidFail(
            this, QStringLiteral("cannot write %1: %2")
                      .arg(NameText::fromByteArray(destination_), qt_error_string(error)));
        return;
    }
    delegate_->downloadDidFinish(this);
}

void URLDownload::fail(const QString& error) {
    if (ended_) {
        return;
    }
    ended_ = true;
    stop();
    delegate_->downloadDidFail(this, error);
}
