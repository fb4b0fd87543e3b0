#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "draws/draw_record.h"
#include "draws/main_view.h"
#include "platform/time_source.h"

namespace quorsa::plan {
class PlanEngine;
}

namespace quorsa::draws {

// The plan text box as the plan view sees it.
class PlanBoxPort {
public:
    virtual ~PlanBoxPort() = default;
    virtual void setText(const std::string& text) = 0;
    // Caret after the last character, the box scrolled to its end.
    virtual void moveCaretToEnd() = 0;
};

// Ties one plan of the plan book to the plan text box: replays the history
// into the book, feeds it each new draw and shows the plan with its honest
// statistics.
class PlanView {
public:
    // `betPlanPrefix` and `formulaPeriods` are read when used: the settings
    // are stored after the view exists, and the period count changes.
    PlanView(plan::PlanEngine& engine, const DrawHistory& history, const platform::TimeSource& time,
             const std::string& betPlanPrefix, const std::int32_t& formulaPeriods)
        : m_engine(&engine),
          m_history(&history),
          m_time(&time),
          m_betPlanPrefix(&betPlanPrefix),
          m_formulaPeriods(&formulaPeriods) {}

    void bind(WindowPort& window, PlanBoxPort& control, std::string name);
    void onNewDraw(const DrawRecord& draw);
    void showStatistics();
    void setBetCount(std::int32_t n);
    void refetch(std::int32_t periods);
    void rebuild(std::int32_t periods);

    const std::string& planName() const { return m_planName; }
    bool isBound() const { return m_control != nullptr; }

    // Draws replayed by a rebuild, whatever the length of the history.
    static constexpr std::size_t kReplayDepth = 50;

private:
    plan::PlanEngine* m_engine;
    const DrawHistory* m_history;
    const platform::TimeSource* m_time;
    const std::string* m_betPlanPrefix;
    const std::int32_t* m_formulaPeriods;
    WindowPort* m_window = nullptr;
    PlanBoxPort* m_control = nullptr;
    std::string m_planName;
};

// The hit chance a bet count gives: divided by ten until at most 100, plus 20.
std::int32_t betCountHitChance(std::int32_t n);

}  // namespace quorsa::draws
