#include <gtest/gtest.h>
#include <stdlib.h>
#include <time.h>

#include "service/codec/draw_time.h"
#include "drawservice/draw_schedule.h"

namespace quorsa::drawservice {
namespace {

// Sets the machine's zone for one scope.
class ZoneScope {
public:
    explicit ZoneScope(const char* zone) {
        if (const char* old = std::getenv("TZ")) {
            m_old = old;
            m_had = true;
        }
        setenv("TZ", zone, 1);
        tzset();
    }
    ~ZoneScope() {
        if (m_had) {
            setenv("TZ", m_old.c_str(), 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
    }

private:
    std::string m_old;
    bool m_had = false;
};

TEST(BeijingTime, FormatsAndParsesBeijingTimeInEveryZone) {
    for (const char* zone : {"UTC", "America/New_York", "Asia/Kathmandu", "Europe/London"}) {
        SCOPED_TRACE(zone);
        ZoneScope scope(zone);
        // 2026-12-11 04:00:00 UTC is noon in Beijing.
        EXPECT_EQ(codec::formatDrawTime(1'796'961'600), "2026-12-11 12:00:00");
        EXPECT_EQ(codec::parseDrawTime("2026-12-11 12:00:00"), 1'796'961'600);
        // 16:00 UTC is already the next day in Beijing.
        EXPECT_EQ(codec::formatDrawTime(1'796'961'600 + 12 * 3600), "2026-12-12 00:00:00");
        EXPECT_EQ(codec::beijingDay(1'796'961'600 + 12 * 3600), codec::beijingDay(1'796'961'600) + 1);
    }
}

TEST(BeijingTime, RejectsMalformedTimes) {
    for (const char* text :
         {"", "2026-12-11", "2026-12-11 24:00:00", "2026-02-30 08:40:00", "2026-12-11T08:40:00",
          "2026-12-11 08:60:00", "2026-13-01 08:40:00", "2026-12-11 08:40:0x", "20261211 084000"}) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(codec::parseDrawTime(text));
    }
}

TEST(Issues, LinearNumbersRunAcrossDaysMonthsAndYears) {
    const struct {
        const char* issue;
        const char* following;
    } cases[] = {
        {"20261211001", "20261211002"}, {"20261211081", "20261211082"},
        {"20261211082", "20261212001"}, {"20261130082", "20261201001"},
        {"20261231082", "20270101001"}, {"20280228082", "20280229001"},  // leap year
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.issue);
        const auto linear = linearFromIssue(c.issue);
        ASSERT_TRUE(linear);
        EXPECT_EQ(issueFromLinear(*linear).text(), c.issue);
        EXPECT_EQ(issueFromLinear(*linear + 1).text(), c.following);
    }
    for (const char* bad : {"20261211000", "20261211083", "2026121100", "202612110011",
                            "20261311001", "2026121a001", "20260230001"}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(linearFromIssue(bad));
    }
}

TEST(RealSchedule, SlotsFollowBeijingTimeWhateverTheMachineZone) {
    const struct {
        const char* now;  // Beijing time
        const char* newestIssue;
        const char* newestTime;
        const char* nextIssue;
        const char* nextTime;
    } cases[] = {
        {"2026-12-11 00:00:00", "20261210082", "2026-12-10 22:10:00", "20261211001",
         "2026-12-11 08:40:00"},
        {"2026-12-11 08:39:59", "20261210082", "2026-12-10 22:10:00", "20261211001",
         "2026-12-11 08:40:00"},
        {"2026-12-11 08:40:00", "20261211001", "2026-12-11 08:40:00", "20261211002",
         "2026-12-11 08:50:00"},
        {"2026-12-11 08:49:59", "20261211001", "2026-12-11 08:40:00", "20261211002",
         "2026-12-11 08:50:00"},
        {"2026-12-11 12:00:00", "20261211021", "2026-12-11 12:00:00", "20261211022",
         "2026-12-11 12:10:00"},
        {"2026-12-11 22:09:59", "20261211081", "2026-12-11 22:00:00", "20261211082",
         "2026-12-11 22:10:00"},
        {"2026-12-11 22:10:00", "20261211082", "2026-12-11 22:10:00", "20261212001",
         "2026-12-12 08:40:00"},
        {"2026-12-11 23:59:59", "20261211082", "2026-12-11 22:10:00", "20261212001",
         "2026-12-12 08:40:00"},
        {"2026-12-31 22:30:00", "20261231082", "2026-12-31 22:10:00", "20270101001",
         "2027-01-01 08:40:00"},
    };
    const DrawSchedule schedule = DrawSchedule::real();
    for (const char* zone : {"UTC", "America/Los_Angeles", "Asia/Shanghai", "Pacific/Chatham"}) {
        ZoneScope scope(zone);
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(zone) + " " + c.now);
            const std::int64_t slot = schedule.slotAt(*codec::parseDrawTime(c.now));
            EXPECT_EQ(issueFromLinear(slot).text(), c.newestIssue);
            EXPECT_EQ(codec::formatDrawTime(schedule.slotTime(slot)), c.newestTime);
            EXPECT_EQ(issueFromLinear(slot + 1).text(), c.nextIssue);
            EXPECT_EQ(codec::formatDrawTime(schedule.slotTime(slot + 1)), c.nextTime);
        }
    }
}

TEST(RealSchedule, EveryDayHas82SlotsTenMinutesApart) {
    const DrawSchedule schedule = DrawSchedule::real();
    const std::int64_t first = schedule.slotAt(*codec::parseDrawTime("2026-12-11 08:40:00"));
    for (int i = 0; i < 82; ++i) {
        EXPECT_EQ(schedule.slotTime(first + i), *codec::parseDrawTime("2026-12-11 08:40:00") + 600 * i);
        EXPECT_EQ(schedule.slotAt(schedule.slotTime(first + i)), first + i);
    }
}

TEST(DemoSchedule, SlotsAreMultiplesOfTheInterval) {
    const DrawSchedule schedule = DrawSchedule::demo(20);
    EXPECT_EQ(schedule.slotAt(1000), 50);
    EXPECT_EQ(schedule.slotAt(1019), 50);
    EXPECT_EQ(schedule.slotAt(1020), 51);
    EXPECT_EQ(schedule.slotAt(-1), -1);
    EXPECT_EQ(schedule.slotTime(51), 1020);
}

}  // namespace
}  // namespace quorsa::drawservice
