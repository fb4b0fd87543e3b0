#include "draws/plan_view.h"

#include "draws/plan_replay.h"
#include "draws/plan_statistics.h"
#include "plan/formula_parser.h"
#include "plan/plan_engine.h"

namespace quorsa::draws {

void PlanView::bind(WindowPort& window, PlanBoxPort& control, std::string name) {
    m_window = &window;
    m_control = &control;
    m_planName = std::move(name);
}

void PlanView::onNewDraw(const DrawRecord& draw) {
    // The draw's own seed is for the replay; a live draw is seeded by the clock.
    m_engine->book().addDraw(draw.fullIssue(), draw.numbers,
                             static_cast<std::int32_t>(m_time->tickCount()), "", 0);
    showStatistics();
}

void PlanView::showStatistics() {
    auto& book = m_engine->book();
    plan::PlanEntry copy;
    book.copyPlan(m_planName, copy);
    const std::string text = planBoxText(book.planText(m_planName), copy);
    if (m_control == nullptr)
        return;
    m_control->setText(text);
    m_control->moveCaretToEnd();
    if (m_window != nullptr)
        m_window->processPendingEvents();
}

std::int32_t betCountHitChance(std::int32_t n) {
    double x = n;
    while (x > 100)
        x = static_cast<double>(static_cast<std::int64_t>(x / 10.0));
    return static_cast<std::int32_t>(x + 20.0);
}

void PlanView::setBetCount(std::int32_t n) {
    auto& book = m_engine->book();
    book.removePlan(m_planName);
    m_planName = *m_betPlanPrefix + std::to_string(n) + "注";
    plan::buildPlansFromFormula(*m_engine, m_planName);
    book.setFormulaPeriods(1, "", false);
    book.setHitChance(betCountHitChance(n));
    refetch(*m_formulaPeriods);
}

void PlanView::refetch(std::int32_t periods) {
    rebuild(periods);
}

void PlanView::rebuild(std::int32_t periods) {
    replayDraws(m_engine->book(), *m_history, periods, kReplayDepth,
                static_cast<std::int32_t>(m_time->tickCount()));
    showStatistics();
}

}  // namespace quorsa::draws
