// The draw display accessors, the wait window and the update rule, over fakes.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "app/startup_steps.h"
#include "app/window_commands.h"
#include "draws/main_view.h"
#include "draws/plan_view.h"
#include "draws/status_window.h"
#include "plan/plan_engine.h"
#include "platform/files.h"
#include "platform/messages.h"
#include "platform/time_source.h"
#include "service/http_exchange.h"
#include "service/service_client.h"

namespace quorsa {
namespace {

class FakeWindow final : public draws::WindowPort {
public:
    std::string controlText(std::string_view name) const override {
        auto it = texts.find(std::string(name));
        return it == texts.end() ? std::string() : it->second;
    }
    void setControlText(std::string_view name, const std::string& text) override {
        texts[std::string(name)] = text;
    }
    void insertHistoryRow(const std::string& issue, const std::string& numbers) override {
        rows.insert(rows.begin(), {issue, numbers});
    }
    void setTimerInterval(int millis) override { interval = millis; }
    void setWebPanelAddress(const std::string& address) override { web = address; }
    void processPendingEvents() override { ++pumped; }

    std::map<std::string, std::string> texts;
    std::vector<std::pair<std::string, std::string>> rows;
    int interval = -1;
    std::string web;
    int pumped = 0;
};

class FakeStatus final : public draws::StatusPort {
public:
    bool isLoaded() const override { return loaded; }
    void load(const std::string& m) override {
        loaded = true;
        message = m;
    }
    void destroy() override { loaded = false; }
    void processPendingEvents() override { ++pumped; }

    bool loaded = false;
    std::string message;
    int pumped = 0;
};

std::vector<std::string> digitLabels(const FakeWindow& w) {
    std::vector<std::string> out;
    for (int i = 1; i <= 5; ++i)
        out.push_back(w.controlText("透明标签_开奖" + std::to_string(i)));
    return out;
}

TEST(MainView, CurrentDrawSpreadsTheFirstFiveCharacters) {
    struct Case {
        const char* numbers;
        std::vector<std::string> labels;
    };
    const Case cases[] = {
        {.numbers = "1,3,5", .labels = {"1", "0", "3", "0", "5"}},
        {.numbers = "4", .labels = {"4", "0", "0", "0", "0"}},
        {.numbers = "", .labels = {"0", "0", "0", "0", "0"}},
        {.numbers = "6,6,6,9", .labels = {"6", "0", "6", "0", "6"}},
        {.numbers = "a-2", .labels = {"0", "0", "2", "0", "0"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.numbers);
        FakeWindow window;
        draws::MainView view(window);
        view.showCurrentDraw("当前期号：041", c.numbers);
        EXPECT_EQ(window.controlText("透明标签_当前期号"), "当前期号：041");
        EXPECT_EQ(digitLabels(window), c.labels);
    }
}

TEST(MainView, HistoryRowsGoOnTopAndSettingsReadAsLeadingIntegers) {
    FakeWindow window;
    draws::MainView view(window);
    view.addHistoryRow("001", "1,2,3");
    view.addHistoryRow("002", "2,3,4");
    view.addHistoryRow("003", "3,4,5");
    ASSERT_EQ(window.rows.size(), 3u);
    EXPECT_EQ(window.rows[0].first, "003");
    EXPECT_EQ(window.rows[0].second, "3,4,5");
    EXPECT_EQ(window.rows[2].first, "001");

    view.setTimersRunning(false);
    EXPECT_EQ(window.interval, 100);
    view.setTimersRunning(true);
    EXPECT_EQ(window.interval, 0);

    window.texts["组合框_公式期数"] = "2";
    EXPECT_EQ(view.formulaPeriodsFromCombo(), 2);
    window.texts["组合框_公式期数"] = "";
    EXPECT_EQ(view.formulaPeriodsFromCombo(), 0);
    window.texts["编辑框_注数"] = " 37x";
    EXPECT_EQ(view.betCountFromEdit(), 37);
    view.setBetCountEdit(-5);
    EXPECT_EQ(window.controlText("编辑框_注数"), "-5");

    view.setCountdownText("01：15");
    EXPECT_EQ(window.controlText("透明标签_开奖时间"), "01：15");
}

TEST(StatusWindow, OpensOnceAndClosesOnce) {
    FakeStatus port;
    draws::StatusWindow status(port);
    EXPECT_TRUE(status.show("正在连接服务器……"));
    EXPECT_EQ(port.message, "正在连接服务器……");
    EXPECT_EQ(port.pumped, 1);
    EXPECT_FALSE(status.show("其他"));
    EXPECT_EQ(port.message, "正在连接服务器……");
    EXPECT_TRUE(status.close());
    EXPECT_FALSE(status.close());
    EXPECT_FALSE(port.loaded);
}

TEST(UpdateRule, ComparesVersionsAsSinglePrecisionNumbers) {
    struct Case {
        const char* fresh;
        const char* current;
        bool newer;
    };
    const Case cases[] = {
        {"1.2", "1.15", true},          {"1.15", "1.15", false},
        {"1.10", "1.9", false},         {"", "1.15", false},
        {"abc", "1.15", false},         {"2", "1.15", true},
        {"1.150000001", "1.15", false},  // equal once single precision
        {"1.16beta", "1.15", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.fresh) + " vs " + c.current);
        EXPECT_EQ(app::isNewerVersion(c.fresh, c.current), c.newer);
    }
    EXPECT_EQ(app::updatePromptText("软件", "1.2"), "软件已经更新至1.2\r\n点击确定立即更新");
}

TEST(PlanView, BetCountHitChance) {
    struct Case {
        int n;
        int chance;
    };
    const Case cases[] = {{5, 25},   {60, 80},    {100, 120},  {101, 30}, {150, 35},
                          {250, 45}, {1000, 120}, {1001, 120}, {0, 20}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.n);
        EXPECT_EQ(draws::betCountHitChance(c.n), c.chance);
    }
}

// No service anywhere: every exchange comes back empty.
class NoService final : public service::HttpExchange {
public:
    std::string post(const std::string& url, const service::HttpHeaders&,
                     const std::string&) override {
        posts.push_back(url);
        return {};
    }
    std::string get(const std::string&) override { return {}; }
    std::vector<std::string> posts;
};

class FakePlanBox final : public draws::PlanBoxPort {
public:
    void setText(const std::string& t) override { text = t; }
    void moveCaretToEnd() override { ++caretMoves; }
    std::string text;
    int caretMoves = 0;
};

// The start-up objects, wired as the application wires them.
struct StartupRig {
    StartupRig() {
        settings.softwareName = "软件";
        settings.programFileName = "软件";
        settings.applicationId = 1412;
        settings.planKind = "和值单双";
        settings.programVersion = "1.15";
        status.show("正在连接服务器……");
    }

    platform::RecordingMessages messages;
    platform::ManualTime time{1'700'000'000'000, 5000};
    app::AppSettings settings;
    app::ServiceAddresses addresses{"http://127.0.0.1:9/appinit.php",
                                    "http://127.0.0.1:10/appinit.php"};
    NoService http;
    service::ServiceClient client{http, time};
    service::InitRecord initRecord;
    FakeStatus statusPort;
    draws::StatusWindow status{statusPort};
    FakeWindow window;
    draws::MainView mainView{window};
    std::int32_t periods = 3;
    draws::DrawHistory history;
    plan::PlanEngine engine{messages};
    draws::PlanView planView{engine, history, time, settings.betPlanPrefix, periods};
    draws::DrawClock clock{client, time};
    std::vector<std::vector<std::string>> launches;
    std::vector<int> ends;
    app::LaunchUpdater launch = [this](const std::string& a, const std::string& b,
                                       const std::string& c, const std::string& d,
                                       const std::string& e) {
        launches.push_back({a, b, c, d, e});
    };
    app::EndProgram end = [this](int code) { ends.push_back(code); };
    app::StartupContext context{settings, addresses, client, initRecord, status,
                                mainView, planView,  engine, clock,      history,
                                periods,  messages,  launch, end};
};

TEST(UpdateChecker, BothAddressesDownShowsTheClientErrorAndClosesTheWaitWindow) {
    StartupRig rig;
    app::UpdateChecker checker(rig.context);
    FakePlanBox box;
    EXPECT_FALSE(checker.run(rig.window, box));
    EXPECT_EQ(rig.http.posts.size(), 2u);
    EXPECT_EQ(rig.http.posts[0], rig.addresses.primary);
    EXPECT_EQ(rig.http.posts[1], rig.addresses.fallback);
    ASSERT_EQ(rig.messages.shown.size(), 1u);
    EXPECT_EQ(rig.messages.shown[0].text, "初始化连接服务器失败！：服务器访问失败! 错误代码：9999");
    EXPECT_EQ(rig.messages.shown[0].caption, "信息：");
    EXPECT_FALSE(rig.statusPort.loaded);
    EXPECT_FALSE(rig.planView.isBound());
}

TEST(UpdateChecker, PromptsOnlyForANewerVersionAndNeverCarriesOnAfterIt) {
    struct Case {
        const char* announced;
        bool prompt;
    };
    const Case cases[] = {
        {"1.2", true}, {"1.15", false}, {"", false}, {"1.10", false}, {"9", true}};
    for (const bool ok : {false, true}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.announced) + (ok ? " OK" : " Cancel"));
            StartupRig rig;
            rig.messages.answer = ok;
            app::UpdateChecker checker(rig.context);
            const bool carryOn = checker.checkVersion(c.announced, "http://x/pkg", rig.window);
            EXPECT_EQ(carryOn, !c.prompt);
            EXPECT_EQ(rig.statusPort.loaded, !c.prompt);
            if (!c.prompt) {
                EXPECT_TRUE(rig.messages.shown.empty());
                EXPECT_TRUE(rig.launches.empty());
                continue;
            }
            ASSERT_EQ(rig.messages.shown.size(), 1u);
            EXPECT_TRUE(rig.messages.shown[0].question);
            EXPECT_EQ(rig.messages.shown[0].text,
                      std::string("软件已经更新至") + c.announced + "\r\n点击确定立即更新");
            if (ok) {
                ASSERT_EQ(rig.launches.size(), 1u);
                EXPECT_EQ(
                    rig.launches[0],
                    (std::vector<std::string>{"软件", "1.15", c.announced, "http://x/pkg",
                                              "软件" + std::string(platform::executableSuffix())}));
                EXPECT_EQ(rig.ends, std::vector<int>{0});
            } else {
                EXPECT_TRUE(rig.launches.empty());
                EXPECT_TRUE(rig.ends.empty());
            }
        }
    }
}

TEST(WindowCommands, CountdownWorksOnEveryThirdTickAndWaitsForTheDraw) {
    StartupRig rig;
    draws::DrawPair latest;
    const app::ConfigFile config(::testing::TempDir(), "软件");
    app::WindowCommands commands({rig.settings, rig.mainView, rig.window, rig.planView, rig.clock,
                                  latest, rig.history, rig.periods, rig.messages},
                                 config);
    rig.window.setControlText("透明标签_开奖时间", "00：00：00");
    commands.countdownTick();
    commands.countdownTick();
    EXPECT_EQ(rig.window.controlText("透明标签_开奖时间"), "00：00：00");
    EXPECT_TRUE(rig.http.posts.empty());
    // No draw known yet: the next one is due at once, and the fetch finds nothing.
    commands.countdownTick();
    EXPECT_EQ(rig.window.controlText("透明标签_开奖时间"), "正在开奖……");
    EXPECT_EQ(commands.tickDivider(), 0);
    EXPECT_TRUE(rig.window.rows.empty());
    EXPECT_TRUE(rig.history.empty());
    EXPECT_EQ(latest, draws::DrawPair{});
}

}  // namespace
}  // namespace quorsa
