#include "draws/lottery_time.h"

#include <gtest/gtest.h>

#include "tz_guard.h"

namespace quorsa::draws {
namespace {

TEST(LotteryTime, DrawTimesAreBeijingTimeInEveryZone) {
    struct Case {
        const char* text;
        std::optional<std::int64_t> unix;
    };
    const Case cases[] = {
        {"1970-01-01 08:00:00", 0},
        {"1970-01-02 08:00:00", 86400},
        {"2026-12-11 08:40:00", 1796949600},
        {"2026-12-11 09:10:00", 1796951400},
        {"2024-02-29 23:59:59", 1709222399},
        {"1900-01-01 08:00:00", -2208988800},
        {"2023-02-29 00:00:00", std::nullopt},
        {"2026-13-01 00:00:00", std::nullopt},
        {"2026-00-10 00:00:00", std::nullopt},
        {"2026-12-32 00:00:00", std::nullopt},
        {"2026-12-11 24:00:00", std::nullopt},
        {"2026-12-11 08:60:00", std::nullopt},
        {"2026-12-11 08:40:60", std::nullopt},
        {"2026-12-11 8:40:00", std::nullopt},
        {"2026-12-11T08:40:00", std::nullopt},
        {"2026-12-11 08:40:00 ", std::nullopt},
        {"2026-12-11 08:40", std::nullopt},
        {"2026-1a-11 08:40:00", std::nullopt},
        {"-026-12-11 08:40:00", std::nullopt},
        {"", std::nullopt},
    };
    for (const char* zone : testing::kZones) {
        testing::ZoneScope scope(zone);
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(zone) + " " + c.text);
            EXPECT_EQ(localToUnix(c.text, false), c.unix);
            const auto ms = localToUnix(c.text, true);
            EXPECT_EQ(ms, c.unix ? std::optional<std::int64_t>(*c.unix * 1000) : std::nullopt);
        }
    }
}

TEST(LotteryTime, UnixNowTruncates) {
    platform::ManualTime time(1'796'951'100'999, 0);
    EXPECT_EQ(unixNow(time, false), 1'796'951'100);
    EXPECT_EQ(unixNow(time, true), 1'796'951'100'999);
}

}  // namespace
}  // namespace quorsa::draws
