#include <gtest/gtest.h>

#include "tests/platform_gui/qt_print.h"

#include <QStringList>

#include "platform/gui/url_opener.h"

namespace quorsa::platform {
namespace {

TEST(UrlOpenerTest, PassesOnlyWebAddressesToTheBrowser) {
    const struct {
        const char* address;
        bool opened;
    } cases[] = {
        {"http://example.com/", true},
        {"https://example.com/news?id=7#top", true},
        {"HTTPS://EXAMPLE.COM/", true},
        {"http://127.0.0.1:8080/a", true},
        {"file:///etc/passwd", false},
        {"file://server/share/run.exe", false},
        {"javascript:alert(1)", false},
        {"JavaScript:alert(1)", false},
        {"data:text/html,<script>alert(1)</script>", false},
        {"calc:", false},
        {"ms-settings:display", false},
        {"steam://run/1", false},
        {"ftp://example.com/file", false},
        {"mailto:someone@example.com", false},
        {"about:blank", false},
        {"http://", false},
        {"https:///path-without-host", false},
        {"example.com", false},
        {"", false},
    };
    QStringList opened;
    const UrlOpener opener([&](const QUrl& url) {
        opened.append(url.toString());
        return true;
    });
    for (const auto& c : cases) {
        SCOPED_TRACE(c.address);
        const qsizetype before = opened.size();
        const QUrl url(QString::fromUtf8(c.address));
        EXPECT_EQ(UrlOpener::isAllowed(url), c.opened);
        EXPECT_EQ(opener.open(url), c.opened);
        EXPECT_EQ(opened.size(), before + (c.opened ? 1 : 0));
    }
}

TEST(UrlOpenerTest, ReportsAHandlerThatFailed) {
    const UrlOpener failing([](const QUrl&) { return false; });
    EXPECT_FALSE(failing.open(QUrl(QStringLiteral("https://example.com/"))));
    const UrlOpener none{UrlOpener::Open{}};
    EXPECT_FALSE(none.open(QUrl(QStringLiteral("https://example.com/"))));
}

}  // namespace
}  // namespace quorsa::platform
