#pragma once

#include <QUrl>

#include <functional>

namespace services {

// Hands a URL to the desktop: a web page to the browser, a local document to its
// viewer, a mailto: URL to the mail program. Tests install a seam that records the URL
// instead.
class URLOpener {
public:
    using Seam = std::function<bool(const QUrl& url)>;

    // Whether the desktop took the URL (or what the seam answers).
    static bool open(const QUrl& url);
    // An empty seam hands URLs to the desktop again.
    static void setSeam(Seam seam);
};

} // namespace services
