// The whole window against the bundled draw service on loopback.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QKeySequence>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/application.h"
#include "app/form_ports.h"
#include "platform/files.h"
#include "platform/gui/main_form.h"
#include "platform/gui/status_form.h"
#include "platform/gui/url_opener.h"
#include "platform/messages.h"
#include "platform/text.h"
#include "platform/time_source.h"
#include "tests/app/gui_support.h"

namespace quorsa {
namespace {

using testing::DrawServiceProcess;
using testing::waitUntil;

QString qs(const std::string& text) {
    return QString::fromUtf8(text.c_str());
}
std::string str(const QString& text) {
    return text.toStdString();
}
// The text box keeps paragraphs, not the CR LF pairs the plan text is made of.
std::string noCr(std::string text) {
    std::erase(text, '\r');
    return text;
}

struct LaunchCall {
    std::vector<std::string> values;
};

// One client with its own working folder, message recorder and URL opener.
class ClientFixture : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

    bool startService(const QStringList& extra = {}) {
        return m_service.start(m_dir.filePath(QStringLiteral("draws.db")), extra);
    }

    app::ApplicationOptions options() const {
        app::ApplicationOptions o;
        o.addresses = {
            m_service.initUrl(),
            "http://127.0.0.1:" + std::to_string(testing::closedPort()) + "/appinit.php"};
        o.workingDirectory = str(m_dir.path());
        o.programDirectory = str(m_dir.path());
        return o;
    }

    std::unique_ptr<app::Application> makeApp(const app::ApplicationOptions& o) {
        return std::make_unique<app::Application>(
            o, m_time, m_messages, m_opener, [this](int code) { m_endCodes.push_back(code); },
            [this](const std::string& a, const std::string& b, const std::string& c,
                   const std::string& d, const std::string& e) {
                m_launches.push_back({{a, b, c, d, e}});
            });
    }

    std::string iniPath() const { return str(m_dir.filePath(QStringLiteral("配置.ini"))); }
    app::ConfigFile config() const {
        return app::ConfigFile(str(m_dir.path()), std::string(app::kSoftwareName));
    }

    static std::string boxText(const app::Application& a) {
        return str(a.mainForm()->planBox()->toPlainText());
    }

    QTemporaryDir m_dir;
    DrawServiceProcess m_service;
    platform::SystemTime m_time;
    platform::RecordingMessages m_messages;
    std::vector<QUrl> m_opened;
    platform::UrlOpener m_opener{[this](const QUrl& url) {
        m_opened.push_back(url);
        return true;
    }};
    std::vector<int> m_endCodes;
    std::vector<LaunchCall> m_launches;
};

struct Statistics {
    int total = 0;
    int hits = 0;
    int misses = 0;
};

std::optional<Statistics> statisticsOf(const std::string& text) {
    static const QRegularExpression line(QStringLiteral(
        "\r?\n\r?\n当前计划统计：总计(\\d+)期，中(\\d+)期，挂(\\d+)期，中奖率为([0-9.]+)%"
        "\r?\n彩票有风险，投注需谨慎！$"));
    const auto match = line.match(qs(text));
    if (!match.hasMatch())
        return std::nullopt;
    return Statistics{match.captured(1).toInt(), match.captured(2).toInt(),
                      match.captured(3).toInt()};
}

TEST_F(ClientFixture, CreationFillsDrawHistoryAndPlan) {
    ASSERT_TRUE(startService());
    auto client = makeApp(options());
    ASSERT_TRUE(client->start());
    EXPECT_TRUE(m_messages.shown.empty());
    EXPECT_TRUE(m_endCodes.empty());
    platform::MainForm* form = client->mainForm();
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(client->statusForm(), nullptr);
    EXPECT_TRUE(client->startupComplete());
    EXPECT_EQ(str(form->windowTitle()), app::kSoftwareName);
    EXPECT_EQ(str(form->titleLabel()->text()), app::kSoftwareName);

    // The current draw, character by character over the five labels.
    const draws::DrawRecord& current = client->drawClock().pair().current;
    ASSERT_FALSE(current.numbers.empty());
    EXPECT_EQ(str(form->currentIssueLabel()->text()), "当前期号：" + current.issueSeq);
    for (int i = 1; i <= 5; ++i) {
        const std::string ch = current.numbers.substr(static_cast<std::size_t>(i - 1), 1);
        EXPECT_EQ(str(form->drawLabel(i)->text()), std::to_string(platform::leadingInt(ch)))
            << "label " << i;
    }

    // 50 rows, newest first, as the history holds them.
    const draws::DrawHistory& history = client->history();
    ASSERT_EQ(history.size(), 50u);
    QTreeWidget* list = form->historyList();
    ASSERT_EQ(list->topLevelItemCount(), 50);
    EXPECT_EQ(history.front().issueSeq, current.issueSeq);
    for (int r = 0; r < 50; ++r) {
        const auto& d = history[static_cast<std::size_t>(r)];
        EXPECT_EQ(str(list->topLevelItem(r)->text(0)), d.issueSeq);
        EXPECT_EQ(str(list->topLevelItem(r)->text(1)), d.numbers);
        if (r > 0) {
            EXPECT_LT(d.fullIssue(), history[static_cast<std::size_t>(r - 1)].fullIssue());
        }
    }

    // The plan text, then the statistics block of the honest replay.
    const std::string text = boxText(*client);
    const std::string plan = noCr(client->engine().book().planText(std::string(app::kPlanKind)));
    ASSERT_FALSE(plan.empty());
    EXPECT_EQ(text.rfind(plan, 0), 0u) << text;
    const auto stats = statisticsOf(text);
    ASSERT_TRUE(stats.has_value()) << text;
    EXPECT_GT(stats->total, 0);
    EXPECT_LE(stats->hits + stats->misses, stats->total);
    EXPECT_TRUE(form->planBox()->textCursor().atEnd());

    // Defaults: three periods, the timer running every 100 ms.
    EXPECT_EQ(str(form->periodCombo()->currentText()), "3");
    EXPECT_EQ(client->formulaPeriods(), 3);
    EXPECT_TRUE(form->countdownTimer()->isActive());
    EXPECT_EQ(form->countdownTimer()->interval(), 100);
    EXPECT_FALSE(form->betCountPanel()->isVisible());
    EXPECT_EQ(form->planBox()->geometry(), QRect(5, 222, 530, 488));
}

TEST_F(ClientFixture, LinksGoToTheBrowserOnlyAfterStartupAndOnlyOverHttp) {
    ASSERT_TRUE(startService());
    auto client = makeApp(options());
    ASSERT_TRUE(client->start());
    platform::RedirectingPage* page = client->mainForm()->webView()->redirectingPage();
    EXPECT_FALSE(page->decideNavigation(QUrl(QStringLiteral("https://example.org/a")), true));
    EXPECT_FALSE(page->decideNavigation(QUrl(QStringLiteral("file:///bin/sh")), true));
    EXPECT_FALSE(page->decideNavigation(QUrl(QStringLiteral("javascript:alert(1)")), true));
    ASSERT_EQ(m_opened.size(), 1u);
    EXPECT_EQ(m_opened[0], QUrl(QStringLiteral("https://example.org/a")));
}

TEST_F(ClientFixture, NewDrawAddsOneRowAndSettlesThePlan) {
    ASSERT_TRUE(startService({QStringLiteral("--demo-interval"), QStringLiteral("4")}));
    ASSERT_TRUE(config().writeConfig(app::kKeyFormulaPeriods, "1"));
    auto client = makeApp(options());
    ASSERT_TRUE(client->start());
    ASSERT_EQ(client->formulaPeriods(), 1);
    QTreeWidget* list = client->mainForm()->historyList();
    const std::string oldNewest = client->history().front().fullIssue();
    const auto before = statisticsOf(boxText(*client));
    ASSERT_TRUE(before.has_value());

    ASSERT_TRUE(waitUntil([&] { return list->topLevelItemCount() > 50; }, 45000));
    EXPECT_EQ(list->topLevelItemCount(), 51);
    ASSERT_EQ(client->history().size(), 51u);
    const draws::DrawRecord& fresh = client->history().front();
    EXPECT_EQ(fresh, client->latestPair().current);
    EXPECT_GT(fresh.fullIssue(), oldNewest);
    EXPECT_EQ(client->history()[1].fullIssue(), oldNewest);
    EXPECT_EQ(str(list->topLevelItem(0)->text(0)), fresh.issueSeq);
    EXPECT_EQ(str(list->topLevelItem(0)->text(1)), fresh.numbers);
    EXPECT_EQ(str(client->mainForm()->currentIssueLabel()->text()), "当前期号：" + fresh.issueSeq);

    // With one period a prediction, the pending line is settled and a new one opened.
    const auto after = statisticsOf(boxText(*client));
    ASSERT_TRUE(after.has_value());
    EXPECT_EQ(after->total, before->total + 1);
    EXPECT_EQ(after->hits + after->misses, before->hits + before->misses + 1);

    // Later work ticks that still see the draw as due do not add it again.
    waitUntil([] { return false; }, 1500);
    std::vector<std::string> issues;
    for (const auto& d : client->history())
        issues.push_back(d.fullIssue());
    for (std::size_t i = 1; i < 10; ++i)
        EXPECT_NE(issues[i], issues[i - 1]);
    EXPECT_EQ(static_cast<std::size_t>(list->topLevelItemCount()), client->history().size());
}

TEST_F(ClientFixture, PeriodSwitchStoresTheCountAndTheNextStartSelectsIt) {
    ASSERT_TRUE(startService());
    {
        auto client = makeApp(options());
        ASSERT_TRUE(client->start());
        platform::MainForm* form = client->mainForm();
        const std::string before = boxText(*client);

        // The same count again: nothing changes, nothing is written.
        ASSERT_TRUE(config().writeConfig(app::kKeyFormulaPeriods, "marker"));
        QTest::mouseClick(form->periodSwitchButton(), Qt::LeftButton);
        EXPECT_EQ(config().readConfig(app::kKeyFormulaPeriods, ""), "marker");
        EXPECT_EQ(boxText(*client), before);

        form->periodCombo()->setCurrentIndex(1);
        QTest::mouseClick(form->periodSwitchButton(), Qt::LeftButton);
        EXPECT_EQ(config().readConfig(app::kKeyFormulaPeriods, ""), "2");
        EXPECT_EQ(client->formulaPeriods(), 2);
        const std::string after = boxText(*client);
        const std::string plan =
            noCr(client->engine().book().planText(std::string(app::kPlanKind)));
        EXPECT_EQ(after.rfind(plan, 0), 0u);
        EXPECT_NE(after, before);
        EXPECT_TRUE(m_messages.shown.empty());
    }
    auto again = makeApp(options());
    ASSERT_TRUE(again->start());
    EXPECT_EQ(str(again->mainForm()->periodCombo()->currentText()), "2");
    EXPECT_EQ(again->formulaPeriods(), 2);
}

TEST_F(ClientFixture, PresetPeriodsThatAreNoItemLeaveNoSelection) {
    ASSERT_TRUE(startService());
    ASSERT_TRUE(config().writeConfig(app::kKeyFormulaPeriods, "abc"));
    auto client = makeApp(options());
    ASSERT_TRUE(client->start());
    EXPECT_EQ(client->mainForm()->periodCombo()->currentIndex(), -1);
    EXPECT_EQ(client->formulaPeriods(), 0);
}

TEST_F(ClientFixture, PlanBoxIgnoresTypingCopiesOnCtrlXAndTheCopyButtonCopies) {
    ASSERT_TRUE(startService());
    auto client = makeApp(options());
    ASSERT_TRUE(client->start());
    platform::MainForm* form = client->mainForm();
    platform::PlanTextBox* box = form->planBox();
    const QString text = box->toPlainText();

    box->setFocus();
    QTest::keyClicks(box, QStringLiteral("abc 12"));
    QTest::keyClick(box, Qt::Key_Backspace);
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_EQ(box->toPlainText(), text);

    QApplication::clipboard()->setText(QStringLiteral("-"));
    box->selectAll();
    QTest::keyClick(box, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(box->toPlainText(), text);
    EXPECT_EQ(QApplication::clipboard()->text(),
              box->textCursor().selectedText().replace(QChar::ParagraphSeparator, QChar('\n')));
    EXPECT_FALSE(QApplication::clipboard()->text().isEmpty());

    QApplication::clipboard()->setText(QStringLiteral("-"));
    client->mainForm()->move(40, 30);
    QTest::mouseClick(form->copyButton(), Qt::LeftButton);
    EXPECT_EQ(QApplication::clipboard()->text(), text);
    platform::BalloonTip* tip = form->balloonTip();
    EXPECT_EQ(str(tip->text()), "已复制到剪辑版");
    const QRect b = form->copyButton()->geometry();
    EXPECT_EQ(tip->target(), QPoint(form->x() + b.x() + b.width() / 2, form->y() + b.y()));
}

TEST_F(ClientFixture, ClearPlanRebuildsAndSaysSo) {
    ASSERT_TRUE(startService());
    auto client = makeApp(options());
    ASSERT_TRUE(client->start());
    QTest::mouseClick(client->mainForm()->clearPlanButton(), Qt::LeftButton);
    ASSERT_EQ(m_messages.shown.size(), 1u);
    EXPECT_EQ(m_messages.shown[0].text, "清理成功！计划已经重新获取。");
    EXPECT_EQ(m_messages.shown[0].caption, "信息：");
    EXPECT_TRUE(statisticsOf(boxText(*client)).has_value());
}

TEST_F(ClientFixture, UpdatePromptOnlyForANewerNumberAndCancelEndsStartup) {
    struct Case {
        const char* announced;
        const char* current;
        bool prompt;
    };
    const Case cases[] = {
        {"1.2", "1.15", true},
        {"1.10", "1.9", false},
        {"1.x", "1.9", false},
        {"1.15", "1.15", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.announced) + " vs " + c.current);
        DrawServiceProcess service;
        QTemporaryDir dir;
        ASSERT_TRUE(service.start(dir.filePath(QStringLiteral("draws.db")),
                                  {QStringLiteral("--announce-version"), qs(c.announced)}));
        m_messages.shown.clear();
        m_messages.answer = false;  // Cancel
        app::ApplicationOptions o = options();
        o.addresses.primary = service.initUrl();
        o.programVersion = c.current;
        auto client = makeApp(o);
        const bool started = client->start();
        EXPECT_EQ(started, !c.prompt);
        if (c.prompt) {
            ASSERT_EQ(m_messages.shown.size(), 1u);
            EXPECT_TRUE(m_messages.shown[0].question);
            EXPECT_EQ(m_messages.shown[0].text, std::string(app::kSoftwareName) + "已经更新至" +
                                                    c.announced + "\r\n点击确定立即更新");
            EXPECT_EQ(client->mainForm(), nullptr);
            EXPECT_EQ(client->statusForm(), nullptr);
        } else {
            EXPECT_TRUE(m_messages.shown.empty());
        }
        EXPECT_TRUE(m_launches.empty());
        EXPECT_TRUE(m_endCodes.empty());
    }
}

TEST_F(ClientFixture, UpdateAcceptedHandsOverAndEnds) {
    ASSERT_TRUE(startService({QStringLiteral("--announce-version"), QStringLiteral("1.2")}));
    m_messages.answer = true;
    auto client = makeApp(options());
    EXPECT_FALSE(client->start());
    ASSERT_EQ(m_launches.size(), 1u);
    const auto& v = m_launches[0].values;
    EXPECT_EQ(v[0], app::kSoftwareName);
    EXPECT_EQ(v[1], "1.15");
    EXPECT_EQ(v[2], "1.2");
    EXPECT_EQ(v[3], client->initRecord().proupurl);
    EXPECT_FALSE(v[3].empty());
    EXPECT_EQ(v[4], std::string(app::kProgramFileName) + std::string(platform::executableSuffix()));
    EXPECT_EQ(m_endCodes, std::vector<int>{0});
}

TEST_F(ClientFixture, NothingListeningShowsTheErrorAndEndsStartup) {
    app::ApplicationOptions o = options();
    o.addresses = {"http://127.0.0.1:" + std::to_string(testing::closedPort()) + "/appinit.php",
                   "http://127.0.0.1:" + std::to_string(testing::closedPort()) + "/appinit.php"};
    auto client = makeApp(o);
    EXPECT_FALSE(client->start());
    ASSERT_EQ(m_messages.shown.size(), 1u);
    EXPECT_EQ(m_messages.shown[0].text, "初始化连接服务器失败！：服务器访问失败! 错误代码：9999");
    EXPECT_EQ(m_messages.shown[0].caption, "信息：");
    EXPECT_EQ(client->mainForm(), nullptr);
    EXPECT_EQ(client->statusForm(), nullptr);
}

TEST_F(ClientFixture, FallbackAddressServesWhenThePrimaryIsDown) {
    ASSERT_TRUE(startService());
    app::ApplicationOptions o = options();
    o.addresses = {"http://127.0.0.1:" + std::to_string(testing::closedPort()) + "/appinit.php",
                   m_service.initUrl()};
    auto client = makeApp(o);
    ASSERT_TRUE(client->start());
    EXPECT_TRUE(m_messages.shown.empty());
    EXPECT_EQ(client->history().size(), 50u);
}

TEST_F(ClientFixture, LeftOverUpdaterIsDeletedAtStart) {
    const QString path = m_dir.filePath(QStringLiteral("更新器"));
    ASSERT_TRUE(platform::writeBytes(str(path), "old"));
    auto client = makeApp(options());
    EXPECT_EQ(client->updaterPath(), str(path));
    EXPECT_FALSE(platform::fileExists(str(path)));
}

TEST_F(ClientFixture, BetCountVariantLaysOutThePanelAndAppliesCounts) {
    ASSERT_TRUE(startService());
    app::ApplicationOptions o = options();
    o.planKind = "测试计划10-50注";
    auto client = makeApp(o);
    ASSERT_TRUE(client->start());
    platform::MainForm* form = client->mainForm();
    EXPECT_EQ(client->settings().betPlanPrefix, "测试计划");
    EXPECT_TRUE(form->betCountPanel()->isVisible());
    EXPECT_TRUE(form->usesBetCountBackground());
    EXPECT_EQ(form->betCountPanel()->pos(), QPoint(5, 222));
    EXPECT_EQ(form->planBox()->geometry(), QRect(5, 293, 530, 417));
    EXPECT_EQ(form->betCountSlider()->minimum(), 10);
    EXPECT_EQ(form->betCountSlider()->maximum(), 50);
    // "选择注数" missing: the midpoint.
    EXPECT_EQ(form->betCountSlider()->position(), 30);
    EXPECT_EQ(str(form->betCountEdit()->text()), "30");
    EXPECT_EQ(client->planView().planName(), "测试计划30注");

    struct Case {
        const char* typed;
        const char* applied;
    };
    const Case cases[] = {{"70", "50"}, {"3", "10"}, {"42", "42"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        m_messages.shown.clear();
        form->betCountEdit()->setText(QString::fromUtf8(c.typed));
        QTest::mouseClick(form->betCountApplyButton(), Qt::LeftButton);
        EXPECT_EQ(str(form->betCountEdit()->text()), c.applied);
        EXPECT_EQ(config().readConfig(app::kKeyBetCount, ""), c.applied);
        EXPECT_EQ(client->planView().planName(), std::string("测试计划") + c.applied + "注");
        // The formula parser may have its say (default caption) before.
        ASSERT_FALSE(m_messages.shown.empty());
        EXPECT_EQ(m_messages.shown.back().text, "更改获取注数成功！");
        EXPECT_EQ(m_messages.shown.back().caption, "信息：");
        for (std::size_t i = 0; i + 1 < m_messages.shown.size(); ++i) {
            EXPECT_EQ(m_messages.shown[i].caption, "") << m_messages.shown[i].text;
        }
    }

    form->betCountSlider()->setPosition(20);
    EXPECT_EQ(str(form->betCountEdit()->text()), "20");
}

TEST_F(ClientFixture, MinimiseAndCloseButtons) {
    ASSERT_TRUE(startService());
    auto client = makeApp(options());
    ASSERT_TRUE(client->start());
    platform::MainForm* form = client->mainForm();
    QTest::mouseClick(form->minimiseButton(), Qt::LeftButton);
    EXPECT_TRUE(form->windowState() & Qt::WindowMinimized);
    QTest::mouseClick(form->closeButton(), Qt::LeftButton);
    EXPECT_FALSE(form->isVisible());
}

TEST(StatusFormPort, CloseRequestEndsTheProgramThroughTheCallback) {
    int requests = 0;
    app::StatusFormPort port([&requests] { ++requests; });
    draws::StatusWindow status(port);
    ASSERT_TRUE(status.show("正在连接服务器……"));
    ASSERT_NE(port.form(), nullptr);
    EXPECT_EQ(str(port.form()->messageLabel()->text()), "正在连接服务器……");
    EXPECT_TRUE(port.form()->isVisible());
    QMetaObject::invokeMethod(port.form(), "closeRequested");
    EXPECT_EQ(requests, 1);
    EXPECT_TRUE(status.close());
    EXPECT_EQ(port.form(), nullptr);
}

}  // namespace
}  // namespace quorsa

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
