#include "draws/lottery_time.h"

#include <chrono>

namespace quorsa::draws {
namespace {

constexpr std::int64_t kBeijingOffsetSeconds = 8 * 3600;

// The decimal value of text[from, from + count), or -1 unless all are digits.
int digitsAt(std::string_view text, std::size_t from, std::size_t count) {
    int value = 0;
    for (std::size_t i = from; i < from + count; ++i) {
        if (text[i] < '0' || text[i] > '9') {
            return -1;
        }
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

}  // namespace

std::int64_t unixNow(const platform::TimeSource& time, bool milliseconds) {
    const std::int64_t ms = time.unixMillis();
    return milliseconds ? ms : ms / 1000;
}

std::optional<std::int64_t> localToUnix(std::string_view drawTime, bool milliseconds) {
    if (drawTime.size() != 19 || drawTime[4] != '-' || drawTime[7] != '-' || drawTime[10] != ' ' ||
        drawTime[13] != ':' || drawTime[16] != ':') {
        return std::nullopt;
    }
    const int year = digitsAt(drawTime, 0, 4);
    const int month = digitsAt(drawTime, 5, 2);
    const int day = digitsAt(drawTime, 8, 2);
    const int hour = digitsAt(drawTime, 11, 2);
    const int minute = digitsAt(drawTime, 14, 2);
    const int second = digitsAt(drawTime, 17, 2);
    if (year < 0 || month < 0 || day < 0 || hour < 0 || hour > 23 || minute < 0 || minute > 59 ||
        second < 0 || second > 59) {
        return std::nullopt;
    }
    using namespace std::chrono;
    const year_month_day date{std::chrono::year{year},
                              std::chrono::month{static_cast<unsigned>(month)},
                              std::chrono::day{static_cast<unsigned>(day)}};
    if (!date.ok()) {
        return std::nullopt;
    }
    const std::int64_t days = sys_days{date}.time_since_epoch().count();
    const std::int64_t seconds =
        days * 86400 + hour * 3600 + minute * 60 + second - kBeijingOffsetSeconds;
    return milliseconds ? seconds * 1000 : seconds;
}

}  // namespace quorsa::draws
