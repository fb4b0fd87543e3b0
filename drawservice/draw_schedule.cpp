#include "drawservice/draw_schedule.h"

#include <cstdio>

#include "service/codec/draw_time.h"

namespace quorsa::drawservice {
namespace {

constexpr std::int64_t kFirstDrawOfDay = 8 * 3600 + 40 * 60;  // 08:40 Beijing
constexpr std::int64_t kRealSpacing = 600;

std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0);
}

}  // namespace

IssueNumber issueFromLinear(std::int64_t linear) {
    const std::int64_t day = floorDiv(linear, kDrawsPerDay);
    const auto seq = static_cast<int>(linear - day * kDrawsPerDay) + 1;
    char seqText[16];
    std::snprintf(seqText, sizeof seqText, "%03d", seq);
    return {codec::dayPrefix(day), seqText};
}

std::optional<std::int64_t> linearFromIssue(std::string_view issue) {
    if (issue.size() != 11) {
        return std::nullopt;
    }
    const auto day = codec::parseDayPrefix(issue.substr(0, 8));
    int seq = 0;
    for (char c : issue.substr(8)) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        seq = seq * 10 + (c - '0');
    }
    if (!day || seq < 1 || seq > kDrawsPerDay) {
        return std::nullopt;
    }
    return *day * kDrawsPerDay + seq - 1;
}

DrawSchedule DrawSchedule::real() {
    return DrawSchedule(0);
}

DrawSchedule DrawSchedule::demo(std::int64_t intervalSeconds) {
    return DrawSchedule(intervalSeconds < 1 ? 1 : intervalSeconds);
}

std::int64_t DrawSchedule::slotAt(std::int64_t unixSeconds) const {
    if (isDemo()) {
        return floorDiv(unixSeconds, m_interval);
    }
    const std::int64_t day = codec::beijingDay(unixSeconds);
    const std::int64_t sinceMidnight = unixSeconds + codec::kBeijingOffsetSeconds - day * 86400;
    if (sinceMidnight < kFirstDrawOfDay) {
        return day * kDrawsPerDay - 1;  // the previous day's last draw
    }
    const std::int64_t index = (sinceMidnight - kFirstDrawOfDay) / kRealSpacing;
    return day * kDrawsPerDay + (index < kDrawsPerDay ? index : kDrawsPerDay - 1);
}

std::int64_t DrawSchedule::slotTime(std::int64_t slot) const {
    if (isDemo()) {
        return slot * m_interval;
    }
    const std::int64_t day = floorDiv(slot, kDrawsPerDay);
    const std::int64_t index = slot - day * kDrawsPerDay;
    return day * 86400 - codec::kBeijingOffsetSeconds + kFirstDrawOfDay + index * kRealSpacing;
}

}  // namespace quorsa::drawservice
