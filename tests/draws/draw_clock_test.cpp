#include "draws/draw_clock.h"

#include <gtest/gtest.h>

#include "draws/draw_history.h"
#include "draws/lottery_time.h"
#include "fake_service.h"
#include "platform/messages.h"
#include "tz_guard.h"

namespace quorsa::draws {
namespace {

using quorsa::testing::FakeExchange;
using quorsa::testing::FakeService;

constexpr std::int64_t k0905 = 1'796'951'100;  // 2026-12-11 09:05:00 Beijing
constexpr std::int64_t k0910 = 1'796'951'400;

std::string newestText(const std::string& seq, const std::string& nextSeq,
                       const std::string& nextTime) {
    return "20261211| |" + seq + "| |2026-12-11 09:00:00| |1,2,3| |4660| |20261211| |" + nextSeq +
           "| |" + nextTime;
}

class DrawClockTest : public ::testing::Test {
protected:
    DrawClockTest() {
        service.initPayload = FakeService::initPayloadFor("http://fake");
        service.newestIssue = "20261211003";
        service.newestDrawText = newestText("003", "004", "2026-12-11 09:10:00");
        EXPECT_TRUE(client.connect("http://fake/appinit.php", 1));
        service.calls.clear();
    }

    void publish(const std::string& seq, const std::string& nextSeq, const std::string& nextTime) {
        service.newestIssue = "20261211" + seq;
        service.newestDrawText = newestText(seq, nextSeq, nextTime);
    }

    FakeService service;
    FakeExchange http{service};
    platform::ManualTime time{k0905 * 1000, 0};
    service::ServiceClient client{http, time};
    DrawClock clock{client, time};
};

TEST_F(DrawClockTest, FirstFetchSetsPairAndCountdown) {
    for (const char* zone : testing::kZones) {
        SCOPED_TRACE(zone);
        testing::ZoneScope scope(zone);
        FakeExchange exchange(service);
        platform::ManualTime now(k0905 * 1000, 0);
        service::ServiceClient c(exchange, now);
        ASSERT_TRUE(c.connect("http://fake/appinit.php", 1));
        DrawClock fresh(c, now);
        EXPECT_EQ(fresh.countdownText(), "");

        DrawPair out;
        ASSERT_TRUE(fresh.tryFetchNewDraw(out));
        EXPECT_EQ(out.current,
                  (DrawRecord{"20261211", "003", "2026-12-11 09:00:00", "1,2,3", 4660}));
        EXPECT_EQ(out.next, (DrawRecord{"20261211", "004", "2026-12-11 09:10:00", "", 0}));
        EXPECT_EQ(fresh.pair(), out);
        EXPECT_EQ(fresh.nextDrawTime(), k0910);
        EXPECT_EQ(fresh.countdownText(), "05：00");
        now.advanceMillis(300'000);
        EXPECT_EQ(fresh.countdownText(), "00：00");
        now.advanceMillis(1'000);
        EXPECT_EQ(fresh.countdownText(), "");
    }
}

TEST_F(DrawClockTest, AsksOnlyWhenDueAndAtMostEverySixSeconds) {
    DrawPair out;
    ASSERT_TRUE(clock.tryFetchNewDraw(out));
    const int getsAfterStart = service.gets;
    const std::size_t callsAfterStart = service.calls.size();

    // Not yet due: nothing is asked.
    time.setUnixMillis((k0910 - 1) * 1000);
    EXPECT_FALSE(clock.tryFetchNewDraw(out));
    EXPECT_EQ(service.gets, getsAfterStart);

    // Due, but the service still names draw 003.
    time.setUnixMillis(k0910 * 1000);
    EXPECT_FALSE(clock.tryFetchNewDraw(out));
    EXPECT_EQ(service.gets, getsAfterStart + 1);
    EXPECT_EQ(service.calls.size(), callsAfterStart) << "the full call waits for a new issue";

    time.advanceMillis(5'999);
    EXPECT_FALSE(clock.tryFetchNewDraw(out));
    EXPECT_EQ(service.gets, getsAfterStart + 1);

    publish("004", "005", "2026-12-11 09:20:00");
    time.advanceMillis(1);
    ASSERT_TRUE(clock.tryFetchNewDraw(out));
    EXPECT_EQ(service.gets, getsAfterStart + 2);
    EXPECT_EQ(out.current.issueSeq, "004");
    EXPECT_EQ(clock.pair(), out);
    EXPECT_EQ(clock.nextDrawTime(), k0910 + 600);
    EXPECT_EQ(clock.countdownText(), "09：54");

    // Accepted once: the same draw is not taken again.
    time.setUnixMillis((k0910 + 600) * 1000);
    EXPECT_FALSE(clock.tryFetchNewDraw(out));
}

TEST_F(DrawClockTest, RejectedAnswersKeepThePair) {
    DrawPair out;
    ASSERT_TRUE(clock.tryFetchNewDraw(out));
    const DrawPair held = clock.pair();
    time.setUnixMillis(k0910 * 1000);

    const std::string seven = "20261211| |004| |t| |1,2,3| |5| |20261211| |005";
    const std::string nine = seven + "| |x| |y";
    for (const std::string& text : {seven, nine}) {
        SCOPED_TRACE(text);
        service.newestIssue = "20261211004";
        service.newestDrawText = text;
        DrawPair untouched;
        untouched.current.issueSeq = "mine";
        EXPECT_FALSE(clock.tryFetchNewDraw(untouched));
        EXPECT_EQ(untouched.current.issueSeq, "mine");
        EXPECT_EQ(clock.pair(), held);
        EXPECT_EQ(clock.nextDrawTime(), k0910);
        time.advanceMillis(6'000);
    }

    // The issue text moved on but the draw did not.
    service.newestDrawText = newestText("003", "004", "2026-12-11 09:10:00");
    EXPECT_FALSE(clock.tryFetchNewDraw(out));
    EXPECT_EQ(clock.pair(), held);

    // A failing call leaves everything as it was.
    time.advanceMillis(6'000);
    service.callAnswer = "";
    EXPECT_FALSE(clock.tryFetchNewDraw(out));
    EXPECT_EQ(clock.pair(), held);
    EXPECT_FALSE(clock.fetchBusy());
}

TEST_F(DrawClockTest, NestedTickDuringFetchIsTurnedAway) {
    DrawPair out;
    bool nestedResult = true;
    bool busySeen = false;
    int nestedCalls = 0;
    service.onGet = [&] {
        if (nestedCalls++ > 0) {
            return;
        }
        time.advanceMillis(60'000);  // past the spacing, so only the busy flag stops it
        DrawPair other;
        busySeen = clock.fetchBusy();
        nestedResult = clock.tryFetchNewDraw(other);
    };
    ASSERT_TRUE(clock.tryFetchNewDraw(out));
    EXPECT_TRUE(busySeen);
    EXPECT_FALSE(nestedResult);
    EXPECT_EQ(nestedCalls, 1);
    EXPECT_FALSE(clock.fetchBusy());
}

TEST_F(DrawClockTest, StartWithoutServiceKeepsTrying) {
    service.newestIssue = "";  // the issue text is not there yet
    DrawPair out;
    EXPECT_FALSE(clock.tryFetchNewDraw(out));
    EXPECT_EQ(clock.nextDrawTime(), 0);
    EXPECT_EQ(clock.countdownText(), "");
    EXPECT_EQ(client.lastError(), "最新期号获取失败!");

    time.advanceMillis(3'000);
    EXPECT_FALSE(clock.tryFetchNewDraw(out));
    EXPECT_EQ(service.gets, 1);

    service.newestIssue = "20261211003";
    time.advanceMillis(3'000);
    EXPECT_TRUE(clock.tryFetchNewDraw(out));
    EXPECT_EQ(service.gets, 2);
}

TEST_F(DrawClockTest, UnreadableNextTimeMeansAskAgainSoon) {
    service.newestDrawText = newestText("003", "004", "soon");
    DrawPair out;
    ASSERT_TRUE(clock.tryFetchNewDraw(out));
    EXPECT_EQ(clock.pair().next.drawTime, "soon");
    EXPECT_EQ(clock.nextDrawTime(), 0);
    EXPECT_EQ(clock.countdownText(), "");

    publish("004", "005", "2026-12-11 09:20:00");
    time.advanceMillis(6'000);
    ASSERT_TRUE(clock.tryFetchNewDraw(out));
    EXPECT_EQ(clock.nextDrawTime(), k0910 + 600);
}

TEST(DrawClockFormat, MinutesAndSeconds) {
    struct Case {
        std::int32_t seconds;
        const char* text;
    };
    const Case cases[] = {
        {-1, ""},          {-3600, ""},
        {0, "00：00"},     {59, "00：59"},
        {75, "01：15"},    {600, "10：00"},
        {3599, "59：59"},  {3600, "60：00"},
        {7500, "125：00"}, {2147483647, "35791394：07"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.seconds);
        EXPECT_EQ(DrawClock::formatCountdown(c.seconds), c.text);
    }
}

class DrawHistoryTest : public DrawClockTest {};

TEST_F(DrawHistoryTest, FillsExactlyCountRecords) {
    service.rows =
        "20261211|+|003|+|2026-12-11 09:00:00|+|1,2,3|+|305419896\r\n"
        "20261211|+|002|+|2026-12-11 08:50:00|+|4,4,6|+|-2\r\n"
        "20261211|+|001|+|2026-12-11 08:40:00|+|6,5,1|+|x\r\n";
    platform::RecordingMessages messages;
    DrawHistory history;
    ASSERT_TRUE(loadRecentDraws(client, messages, 50, history));
    EXPECT_TRUE(messages.shown.empty());
    ASSERT_EQ(history.size(), 50u);
    EXPECT_EQ(history[0],
              (DrawRecord{"20261211", "003", "2026-12-11 09:00:00", "1,2,3", 305419896}));
    EXPECT_EQ(history[1].seed, -2);
    EXPECT_EQ(history[2].seed, 0);
    for (std::size_t i = 3; i < history.size(); ++i) {
        EXPECT_EQ(history[i], DrawRecord{});
    }
    ASSERT_EQ(service.calls.size(), 1u);
    EXPECT_EQ(service.calls[0].param, (std::vector<std::string>{"", "50"}));

    // More rows than asked for: the list still has exactly `count` records.
    ASSERT_TRUE(loadRecentDraws(client, messages, 2, history));
    ASSERT_EQ(history.size(), 2u);
    EXPECT_EQ(history[1].issueSeq, "002");

    // New draws go in front, newest first.
    ASSERT_TRUE(loadRecentDraws(client, messages, 50, history));
    addNewestDraw(history, DrawRecord{"20261211", "004", "t4", "1,1,1", 4});
    addNewestDraw(history, DrawRecord{"20261211", "005", "t5", "2,2,2", 5});
    ASSERT_EQ(history.size(), 52u);
    EXPECT_EQ(history[0].issueSeq, "005");
    EXPECT_EQ(history[1].issueSeq, "004");
    EXPECT_EQ(history[2].issueSeq, "003");
}

TEST_F(DrawHistoryTest, FailureIsShownAndHistoryKept) {
    service.callAnswer = "";
    platform::RecordingMessages messages;
    DrawHistory history(1, DrawRecord{"p", "001", "t", "1,2,3", 9});
    EXPECT_FALSE(loadRecentDraws(client, messages, 50, history));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text,
              "查询最近开奖数据失败！获取最新开奖数据失败!服务器访问失败! 错误代码：9999");
    EXPECT_EQ(messages.shown[0].caption, "");
    EXPECT_FALSE(messages.shown[0].question);
    ASSERT_EQ(history.size(), 1u);
    EXPECT_EQ(history[0].issueSeq, "001");
}

}  // namespace
}  // namespace quorsa::draws
