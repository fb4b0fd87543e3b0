#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// When draws happen and what their issue numbers are.
//
// Slots are numbered; slot n + 1 is the draw after slot n. Issue numbers are
// numbered the same way ("linear issue": day × 82 + seq − 1), so that
// 20261211082 is followed by 20261212001.
namespace quorsa::drawservice {

inline constexpr int kDrawsPerDay = 82;

struct IssueNumber {
    std::string prefix;  // yyyymmdd
    std::string seq;     // 001 .. 082
    std::string text() const { return prefix + seq; }
};

IssueNumber issueFromLinear(std::int64_t linear);
// nullopt unless `issue` is yyyymmdd + 001..082.
std::optional<std::int64_t> linearFromIssue(std::string_view issue);

class DrawSchedule {
public:
    // The real schedule: 82 draws a day, 08:40 to 22:10 Beijing time, every
    // 10 minutes; a slot's number is its linear issue.
    static DrawSchedule real();
    // A draw every `intervalSeconds`; issues continue from the newest draw.
    static DrawSchedule demo(std::int64_t intervalSeconds);

    bool isDemo() const { return m_interval > 0; }
    std::int64_t interval() const { return m_interval; }

    // The newest slot whose time is at or before `unixSeconds`.
    std::int64_t slotAt(std::int64_t unixSeconds) const;
    std::int64_t slotTime(std::int64_t slot) const;

private:
    explicit DrawSchedule(std::int64_t interval) : m_interval(interval) {}
    std::int64_t m_interval;  // 0: the real schedule
};

}  // namespace quorsa::drawservice
