#include "app/window_commands.h"

#include <string>

#include "draws/draw_history.h"

namespace quorsa::app {

namespace {
const std::string kCaption(platform::kInfoCaption);
}

void WindowCommands::countdownTick() {
    if (m_tickDivider < 2) {
        ++m_tickDivider;
        return;
    }
    m_tickDivider = 0;
    const std::string left = m_c.drawClock.countdownText();
    if (!left.empty()) {
        m_c.mainView.setCountdownText(left);
        return;
    }
    m_c.mainView.setCountdownText("正在开奖……");
    m_c.window.processPendingEvents();
    if (!m_c.drawClock.tryFetchNewDraw(m_c.latestPair))
        return;
    // A copy: nested ticks may replace latestPair while the window repaints.
    const draws::DrawRecord current = m_c.latestPair.current;
    m_c.mainView.showCurrentDraw("当前期号：" + current.issueSeq, current.numbers);
    m_c.window.processPendingEvents();
    m_c.planView.onNewDraw(current);
    draws::addNewestDraw(m_c.history, current);
    m_c.mainView.addHistoryRow(current.issueSeq, current.numbers);
}

void WindowCommands::switchPeriods() {
    const std::int32_t count = m_c.mainView.formulaPeriodsFromCombo();
    if (count == m_c.formulaPeriods)
        return;
    m_c.formulaPeriods = m_c.mainView.formulaPeriodsFromCombo();
    m_config->writeConfig(kKeyFormulaPeriods,
                          std::to_string(m_c.mainView.formulaPeriodsFromCombo()));
    m_c.planView.rebuild(m_c.formulaPeriods);
}

void WindowCommands::clearPlan() {
    m_c.planView.refetch(m_c.formulaPeriods);
    m_c.messages.information("清理成功！计划已经重新获取。", kCaption);
}

void WindowCommands::applyBetCount() {
    const AppSettings& s = m_c.settings;
    const std::int32_t v = m_c.mainView.betCountFromEdit();
    if (v < s.betCountMin) {
        m_c.mainView.setBetCountEdit(s.betCountMin);
    } else if (v > s.betCountMax) {
        m_c.mainView.setBetCountEdit(s.betCountMax);
    }
    m_c.planView.setBetCount(m_c.mainView.betCountFromEdit());
    m_config->writeConfig(kKeyBetCount, std::to_string(m_c.mainView.betCountFromEdit()));
    m_c.messages.information("更改获取注数成功！", kCaption);
}

}  // namespace quorsa::app
