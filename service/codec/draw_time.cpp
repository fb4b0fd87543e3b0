#include "service/codec/draw_time.h"

#include <chrono>
#include <cstdio>

namespace quorsa::codec {
namespace {

using namespace std::chrono;

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

std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0);
}

std::optional<std::int64_t> dayOf(int y, int m, int d) {
    if (y < 0 || m < 1 || m > 12 || d < 1) {
        return std::nullopt;
    }
    const year_month_day date{year{y}, month{static_cast<unsigned>(m)},
                              day{static_cast<unsigned>(d)}};
    if (!date.ok()) {
        return std::nullopt;
    }
    return sys_days{date}.time_since_epoch().count();
}

year_month_day dateOf(std::int64_t dayNumber) {
    return year_month_day{sys_days{days{dayNumber}}};
}

}  // namespace

std::int64_t beijingDay(std::int64_t unixSeconds) {
    return floorDiv(unixSeconds + kBeijingOffsetSeconds, 86400);
}

std::string formatDrawTime(std::int64_t unixSeconds) {
    const std::int64_t local = unixSeconds + kBeijingOffsetSeconds;
    const std::int64_t dayNumber = floorDiv(local, 86400);
    const std::int64_t second = local - dayNumber * 86400;
    const year_month_day date = dateOf(dayNumber);
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u %02d:%02d:%02d", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                  static_cast<int>(second / 3600), static_cast<int>(second / 60 % 60),
                  static_cast<int>(second % 60));
    return text;
}

std::optional<std::int64_t> parseDrawTime(std::string_view text) {
    if (text.size() != 19 || text[4] != '-' || text[7] != '-' || text[10] != ' ' ||
        text[13] != ':' || text[16] != ':') {
        return std::nullopt;
    }
    const int hour = digitsAt(text, 11, 2);
    const int minute = digitsAt(text, 14, 2);
    const int second = digitsAt(text, 17, 2);
    const auto dayNumber = dayOf(digitsAt(text, 0, 4), digitsAt(text, 5, 2), digitsAt(text, 8, 2));
    if (!dayNumber || hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 ||
        second > 59) {
        return std::nullopt;
    }
    return *dayNumber * 86400 + hour * 3600 + minute * 60 + second - kBeijingOffsetSeconds;
}

std::string dayPrefix(std::int64_t dayNumber) {
    const year_month_day date = dateOf(dayNumber);
    char text[16];
    std::snprintf(text, sizeof text, "%04d%02u%02u", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()));
    return text;
}

std::optional<std::int64_t> parseDayPrefix(std::string_view text) {
    if (text.size() != 8) {
        return std::nullopt;
    }
    return dayOf(digitsAt(text, 0, 4), digitsAt(text, 4, 2), digitsAt(text, 6, 2));
}

}  // namespace quorsa::codec
