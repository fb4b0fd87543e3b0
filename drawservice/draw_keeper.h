#pragma once

#include <atomic>
#include <climits>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "drawservice/draw_schedule.h"
#include "drawservice/draw_store.h"

// Keeps the store up to the schedule: every slot that has come gets its draw
// (three dice and a seed from the secure generator), once.
namespace quorsa::drawservice {

// At most this many past slots are filled in at once: on the first start
// (so that the longest "select_draw" is full) and after a long pause.
inline constexpr std::int64_t kCatchUpLimit = 1000;

struct NextDraw {
    IssueNumber issue;
    std::string drawTime;
    std::int64_t drawUnix = 0;
};

class DrawKeeper {
public:
    DrawKeeper(DrawStore& store, DrawSchedule schedule) : m_store(store), m_schedule(schedule) {}

    // Draws every slot up to `nowSeconds` that has no draw yet. Cheap when
    // nothing is due.
    bool catchUp(std::int64_t nowSeconds, std::string& error);
    // The Unix time at which the next slot falls due (after a catch-up).
    std::int64_t nextDue() const { return m_nextDue.load(); }

    // The draw that follows `newest` on the schedule.
    NextDraw nextAfter(const StoredDraw& newest) const;

    const DrawSchedule& schedule() const { return m_schedule; }

private:
    DrawStore& m_store;
    DrawSchedule m_schedule;
    std::mutex m_mutex;
    std::atomic<std::int64_t> m_nextDue{INT64_MIN};
};

}  // namespace quorsa::drawservice
