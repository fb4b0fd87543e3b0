#pragma once

#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineView>

#include "platform/gui/url_opener.h"

namespace quorsa::platform {

// The web panel's page. While redirecting is off, navigation goes ahead in
// place (the panel loads its first page that way); once it is on, every
// navigation is refused and a main-frame address goes to the URL opener, which
// passes only http and https on to the browser.
class RedirectingPage : public QWebEnginePage {
    Q_OBJECT
public:
    RedirectingPage(const UrlOpener& opener, QObject* parent);

    bool redirectLinks() const { return m_redirect; }
    void setRedirectLinks(bool on) { m_redirect = on; }

    // The decision of acceptNavigationRequest: true lets the navigation proceed.
    bool decideNavigation(const QUrl& url, bool isMainFrame);

signals:
    // A navigation was refused and its address handed to the opener.
    void navigationRedirected(const QUrl& url);

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
    QWebEnginePage* createWindow(WebWindowType type) override;

private:
    const UrlOpener& m_opener;
    bool m_redirect = false;
};

// The HTML view of the main window.
class HtmlView : public QWebEngineView {
    Q_OBJECT
public:
    // `opener` must outlive the view.
    HtmlView(const UrlOpener& opener, QWidget* parent = nullptr);

    RedirectingPage* redirectingPage() const { return m_page; }
    bool redirectLinks() const { return m_page->redirectLinks(); }
    void setRedirectLinks(bool on) { m_page->setRedirectLinks(on); }

private:
    RedirectingPage* m_page;
};

}  // namespace quorsa::platform
