#include "drawservice/draw_keeper.h"

#include <algorithm>

#include "service/codec/draw_time.h"
#include "drawservice/secure_random.h"

namespace quorsa::drawservice {

bool DrawKeeper::catchUp(std::int64_t nowSeconds, std::string& error) {
    if (nowSeconds < m_nextDue.load()) {
        return true;
    }
    std::lock_guard lock(m_mutex);
    std::vector<StoredDraw> newest;
    if (!m_store.recent(1, newest, error)) {
        return false;
    }
    const std::int64_t current = m_schedule.slotAt(nowSeconds);
    std::int64_t first = current - kCatchUpLimit + 1;
    // Linear issue of slot n is n + offset: the real schedule names a slot by
    // its time; the demo schedule continues from the newest draw's issue.
    std::int64_t offset = 0;
    std::int64_t newestSlot = current - kCatchUpLimit;
    if (m_schedule.isDemo()) {
        offset = codec::beijingDay(nowSeconds) * kDrawsPerDay - current;
    }
    if (!newest.empty()) {
        newestSlot = m_schedule.slotAt(newest.front().drawUnix);
        first = std::max(first, newestSlot + 1);
        if (m_schedule.isDemo()) {
            if (const auto linear = linearFromIssue(newest.front().issue())) {
                offset = *linear - newestSlot;
            }
        }
    }
    std::vector<StoredDraw> made;
    for (std::int64_t slot = first; slot <= current; ++slot) {
        const auto dice = randomDice();
        const auto seed = randomSeed();
        if (!dice || !seed) {
            error = "the secure random generator failed";
            return false;
        }
        std::array<int, 3> sorted = *dice;
        std::sort(sorted.begin(), sorted.end());
        const IssueNumber issue = issueFromLinear(slot + offset);
        StoredDraw draw;
        draw.prefix = issue.prefix;
        draw.seq = issue.seq;
        draw.drawUnix = m_schedule.slotTime(slot);
        draw.drawTime = codec::formatDrawTime(draw.drawUnix);
        draw.numbers = std::to_string(sorted[0]) + "," + std::to_string(sorted[1]) + "," +
                       std::to_string(sorted[2]);
        draw.seed = *seed;
        made.push_back(std::move(draw));
    }
    if (!made.empty() && !m_store.addNew(made, error)) {
        return false;
    }
    m_nextDue.store(m_schedule.slotTime(std::max(current, newestSlot) + 1));
    return true;
}

NextDraw DrawKeeper::nextAfter(const StoredDraw& newest) const {
    const std::int64_t slot = m_schedule.slotAt(newest.drawUnix) + 1;
    std::int64_t linear = slot;
    if (m_schedule.isDemo()) {
        const auto newestLinear = linearFromIssue(newest.issue());
        linear = newestLinear ? *newestLinear + 1 : slot;
    }
    NextDraw next;
    next.issue = issueFromLinear(linear);
    next.drawUnix = m_schedule.slotTime(slot);
    next.drawTime = codec::formatDrawTime(next.drawUnix);
    return next;
}

}  // namespace quorsa::drawservice
