#include <gtest/gtest.h>

#include "tests/platform_gui/qt_print.h"

#include <QSignalSpy>
#include <QStringList>

#include "platform/gui/html_view.h"
#include "platform/gui/url_opener.h"

namespace quorsa::platform {
namespace {

const QString kPage = QStringLiteral(
    "<html><body>"
    "<a id='web' href='http://example.invalid/offer'>web</a>"
    "<a id='file' href='file:///etc/passwd'>file</a>"
    "<a id='blank' target='_blank' href='https://example.invalid/new'>new window</a>"
    "</body></html>");

class HtmlViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        view.resize(259, 702);
        view.show();
        QSignalSpy loaded(&view, &QWebEngineView::loadFinished);
        view.setHtml(kPage, QUrl(QStringLiteral("http://panel.invalid/")));
        ASSERT_TRUE(loaded.wait(20000));
        ASSERT_TRUE(loaded.front().front().toBool());
    }

    void click(const char* id) {
        view.page()->runJavaScript(
            QStringLiteral("document.getElementById('%1').click()").arg(QString::fromLatin1(id)));
    }

    QStringList opened;
    UrlOpener opener{[this](const QUrl& url) {
        opened.append(url.toString());
        return true;
    }};
    HtmlView view{opener};
};

TEST_F(HtmlViewTest, NavigatesInPlaceUntilRedirectingIsOn) {
    EXPECT_FALSE(view.redirectLinks());
    EXPECT_TRUE(
        view.redirectingPage()->decideNavigation(QUrl(QStringLiteral("http://a.invalid/")), true));
    QSignalSpy urlChanged(&view, &QWebEngineView::urlChanged);
    view.page()->runJavaScript(QStringLiteral("location.href = 'about:blank'"));
    ASSERT_TRUE(urlChanged.wait(20000));
    EXPECT_EQ(view.url(), QUrl(QStringLiteral("about:blank")));
    EXPECT_TRUE(opened.isEmpty());
}

TEST_F(HtmlViewTest, RedirectedLinksGoToTheOpenerAndThePanelStays) {
    view.setRedirectLinks(true);
    QSignalSpy redirected(view.redirectingPage(), &RedirectingPage::navigationRedirected);

    click("web");
    ASSERT_TRUE(redirected.wait(20000));
    EXPECT_EQ(redirected.takeFirst().front().toUrl(),
              QUrl(QStringLiteral("http://example.invalid/offer")));
    EXPECT_EQ(opened, QStringList{QStringLiteral("http://example.invalid/offer")});

    // Refused as a navigation, and refused again by the opener.
    click("file");
    ASSERT_TRUE(redirected.wait(20000));
    EXPECT_EQ(redirected.takeFirst().front().toUrl(), QUrl(QStringLiteral("file:///etc/passwd")));
    EXPECT_EQ(opened.size(), 1);

    // A link meant for a new window goes to the opener as well.
    click("blank");
    ASSERT_TRUE(redirected.wait(20000));
    EXPECT_EQ(opened.size(), 2);
    EXPECT_EQ(opened.back(), QStringLiteral("https://example.invalid/new"));

    EXPECT_EQ(view.url(), QUrl(QStringLiteral("http://panel.invalid/")));
}

TEST(RedirectingPageTest, FramesInsideThePageAreRefusedWithoutOpening) {
    QStringList opened;
    const UrlOpener opener([&](const QUrl& url) {
        opened.append(url.toString());
        return true;
    });
    RedirectingPage page(opener, nullptr);
    page.setRedirectLinks(true);
    EXPECT_FALSE(page.decideNavigation(QUrl(QStringLiteral("https://ads.invalid/frame")), false));
    EXPECT_TRUE(opened.isEmpty());
    EXPECT_FALSE(page.decideNavigation(QUrl(QStringLiteral("https://ads.invalid/top")), true));
    EXPECT_EQ(opened, QStringList{QStringLiteral("https://ads.invalid/top")});
}

}  // namespace
}  // namespace quorsa::platform
