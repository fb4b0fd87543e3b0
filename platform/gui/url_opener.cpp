#include "platform/gui/url_opener.h"

#include <QDesktopServices>
#include <utility>

namespace quorsa::platform {

UrlOpener::UrlOpener() : m_open([](const QUrl& url) { return QDesktopServices::openUrl(url); }) {}

UrlOpener::UrlOpener(Open open) : m_open(std::move(open)) {}

bool UrlOpener::isAllowed(const QUrl& url) {
    if (!url.isValid() || url.host().isEmpty()) {
        return false;
    }
    const QString scheme = url.scheme();
    return scheme.compare(QLatin1String("http"), Qt::CaseInsensitive) == 0 ||
           scheme.compare(QLatin1String("https"), Qt::CaseInsensitive) == 0;
}

bool UrlOpener::open(const QUrl& url) const {
    if (!isAllowed(url) || !m_open) {
        return false;
    }
    return m_open(url);
}

}  // namespace quorsa::platform
