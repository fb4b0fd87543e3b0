#include "draws/draw_clock.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "draws/lottery_time.h"
#include "platform/text.h"

namespace quorsa::draws {
namespace {

std::string twoDigits(std::int64_t value) {
    std::string text = std::to_string(value);
    return value >= 0 && value < 10 ? "0" + text : text;
}

std::string lastThree(const std::string& text) {
    return text.size() > 3 ? text.substr(text.size() - 3) : text;
}

// Clears the busy flag on every way out of a fetch.
class BusyScope {
public:
    explicit BusyScope(bool& flag) : m_flag(flag) { m_flag = true; }
    ~BusyScope() { m_flag = false; }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    bool& m_flag;
};

}  // namespace

bool DrawClock::tryFetchNewDraw(DrawPair& out) {
    if (m_fetchBusy) {
        return false;
    }
    const std::int64_t now = unixNow(*m_time, false);
    if (static_cast<double>(now) - (static_cast<double>(m_lastFetchAttempt) + 6.0) < -1e-7) {
        return false;
    }
    if (now < m_nextDrawTime) {
        return false;
    }
    m_lastFetchAttempt = now;
    {
        BusyScope busy(m_fetchBusy);
        if (lastThree(m_client->newestIssue()) == m_pair.current.issueSeq) {
            return false;  // not published yet
        }
        if (!fetchNewest(out)) {
            return false;
        }
    }
    m_lastFetchAttempt = unixNow(*m_time, false);
    if (out.current.issueSeq == m_pair.current.issueSeq) {
        return false;
    }
    m_pair = out;
    // An unreadable time leaves the next draw unknown: the clock then asks
    // every six seconds, as it does before the first draw.
    m_nextDrawTime = localToUnix(m_pair.next.drawTime, false).value_or(0);
    return true;
}

std::string DrawClock::countdownText() const {
    const double left =
        static_cast<double>(m_nextDrawTime) - static_cast<double>(unixNow(*m_time, false));
    constexpr double kMax = std::numeric_limits<std::int32_t>::max();
    constexpr double kMin = std::numeric_limits<std::int32_t>::min();
    return formatCountdown(static_cast<std::int32_t>(std::trunc(std::clamp(left, kMin, kMax))));
}

std::string DrawClock::formatCountdown(std::int32_t seconds) {
    if (seconds < 0) {
        return {};
    }
    const auto minutes = static_cast<std::int64_t>(std::trunc(seconds / 60.0));
    const auto rest = static_cast<std::int64_t>(std::trunc(std::fmod(seconds, 60.0)));
    return twoDigits(minutes) + "：" + twoDigits(rest);
}

bool DrawClock::fetchNewest(DrawPair& out) {
    std::vector<std::string> parts;
    if (!m_client->newestDraws(parts) || parts.size() != 8) {
        return false;
    }
    out.current =
        DrawRecord{parts[0], parts[1], parts[2], parts[3], platform::leadingInt(parts[4])};
    out.next = DrawRecord{parts[5], parts[6], parts[7], "", 0};
    return true;
}

}  // namespace quorsa::draws
