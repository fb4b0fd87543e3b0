#pragma once

#include <cstdint>
#include <string>

#include "draws/draw_record.h"
#include "platform/time_source.h"
#include "service/service_client.h"

namespace quorsa::draws {

// Knows the latest accepted draw, counts down to the next one and asks the
// service for it once it is due, at most once in six seconds.
class DrawClock {
public:
    DrawClock(service::ServiceClient& client, const platform::TimeSource& time)
        : m_client(&client), m_time(&time) {}

    // True when a new draw was fetched and accepted; `out` then holds it.
    bool tryFetchNewDraw(DrawPair& out);
    // "mm：ss" until the next draw, "" once it is due.
    std::string countdownText() const;
    static std::string formatCountdown(std::int32_t seconds);
    // One newest-draw call mapped into `out`; `out` untouched on failure.
    bool fetchNewest(DrawPair& out);

    const DrawPair& pair() const { return m_pair; }
    // Unix seconds of the announced next draw; 0 while unknown.
    std::int64_t nextDrawTime() const { return m_nextDrawTime; }
    bool fetchBusy() const { return m_fetchBusy; }

private:
    service::ServiceClient* m_client;
    const platform::TimeSource* m_time;
    DrawPair m_pair;
    std::int64_t m_nextDrawTime = 0;
    bool m_fetchBusy = false;
    std::int64_t m_lastFetchAttempt = 0;
};

}  // namespace quorsa::draws
