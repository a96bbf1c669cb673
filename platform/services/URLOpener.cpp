#include "platform/services/URLOpener.h"

#include <QDesktopServices>

namespace services {

namespace {

URLOpener::Seam& seam() {
    static URLOpener::Seam installed;
    return installed;
}

} // namespace

bool URLOpener::open(const QUrl& url) {
    if (seam()) {
        return seam()(url);
    }
    return QDesktopServices::openUrl(url);
}

void URLOpener::setSeam(Seam seam_) {
    seam() = std::move(seam_);
}

} // namespace services
