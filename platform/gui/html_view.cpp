#include "platform/gui/html_view.h"

#include <QTimer>

namespace quorsa::platform {

namespace {

// Stands in for a new window (target="_blank", window.open) and sends the
// address it is asked to load to the opener instead.
class NewWindowCatcher : public QWebEnginePage {
public:
    NewWindowCatcher(const UrlOpener& opener, RedirectingPage* owner)
        : QWebEnginePage(owner->profile(), owner), m_opener(opener), m_owner(owner) {
        // A window opened without an address never navigates; do not keep it.
        QTimer::singleShot(kLifetimeMillis, this, &QObject::deleteLater);
    }

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType, bool isMainFrame) override {
        if (isMainFrame && !m_done) {
            m_done = true;
            m_opener.open(url);
            emit m_owner->navigationRedirected(url);
            deleteLater();
        }
        return false;
    }

private:
    static constexpr int kLifetimeMillis = 30000;

    const UrlOpener& m_opener;
    RedirectingPage* m_owner;
    bool m_done = false;
};

}  // namespace

RedirectingPage::RedirectingPage(const UrlOpener& opener, QObject* parent)
    : QWebEnginePage(parent), m_opener(opener) {}

bool RedirectingPage::decideNavigation(const QUrl& url, bool isMainFrame) {
    if (!m_redirect) {
        return true;
    }
    // A frame loading inside the page is no link the user followed: refused,
    // but not sent to the browser.
    if (isMainFrame) {
        m_opener.open(url);
        emit navigationRedirected(url);
    }
    return false;
}

bool RedirectingPage::acceptNavigationRequest(const QUrl& url, NavigationType, bool isMainFrame) {
    return decideNavigation(url, isMainFrame);
}

QWebEnginePage* RedirectingPage::createWindow(WebWindowType) {
    if (!m_redirect) {
        return nullptr;
    }
    return new NewWindowCatcher(m_opener, this);
}

HtmlView::HtmlView(const UrlOpener& opener, QWidget* parent)
    : QWebEngineView(parent), m_page(new RedirectingPage(opener, this)) {
    setPage(m_page);
    setContextMenuPolicy(Qt::NoContextMenu);
}

}  // namespace quorsa::platform
