#pragma once

#include <QUrl>
#include <functional>

namespace quorsa::platform {

// Hands web addresses to the system browser. Only http and https addresses go
// on, to the desktop's URL handler and never through a shell; an address of any
// other scheme (file:, javascript:, a custom scheme) is refused, so a page
// cannot make us run a program of its choosing.
class UrlOpener {
public:
    using Open = std::function<bool(const QUrl&)>;

    // Opens with QDesktopServices.
    UrlOpener();
    // Opens with `open` instead (tests record what would be opened).
    explicit UrlOpener(Open open);

    static bool isAllowed(const QUrl& url);

    // False when the address is refused or the handler failed.
    bool open(const QUrl& url) const;

private:
    Open m_open;
};

}  // namespace quorsa::platform
