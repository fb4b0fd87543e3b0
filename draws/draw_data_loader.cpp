#include "draws/draw_data_loader.h"

#include "draws/draw_history.h"
#include "plan/plan_engine.h"

namespace quorsa::draws {

bool DrawDataLoader::run() {
    m_c.statusWindow.close();
    const std::int32_t periods = m_c.mainView.formulaPeriodsFromCombo();
    auto& book = m_c.engine.book();
    book.addPlan(m_c.planKind, m_c.planDisplayName, periods);
    book.setMaxLines(0);
    book.setHitChance(80);
    book.setResetOnMisses(false);
    return loadDraws();
}

bool DrawDataLoader::loadDraws() {
    DrawPair pair;
    m_c.window.processPendingEvents();
    m_c.window.setWebPanelAddress(m_c.initRecord.advert1);
    m_c.window.processPendingEvents();
    m_c.drawClock.tryFetchNewDraw(pair);
    loadRecentDraws(m_c.client, m_c.messages, kRecentDraws, m_c.history);
    if (m_c.history.empty()) {
        m_c.messages.information("获取网络开奖数据失败！", std::string(platform::kInfoCaption));
        return false;
    }
    m_c.mainView.showCurrentDraw("当前期号：" + pair.current.issueSeq, pair.current.numbers);
    for (auto it = m_c.history.rbegin(); it != m_c.history.rend(); ++it) {
        m_c.mainView.addHistoryRow(it->issueSeq, it->numbers);
    }
    m_c.planView.rebuild(m_c.formulaPeriods);
    return true;
}

}  // namespace quorsa::draws
