#include "draws/main_view.h"

#include "platform/text.h"

namespace quorsa::draws {

void MainView::setCountdownText(const std::string& text) {
    m_window->setControlText(control::kCountdown, text);
}

void MainView::addHistoryRow(const std::string& issue, const std::string& numbers) {
    m_window->insertHistoryRow(issue, numbers);
}

void MainView::showCurrentDraw(const std::string& caption, std::string_view numbers) {
    m_window->setControlText(control::kCurrentIssue, caption);
    for (std::size_t i = 0; i < 5; ++i) {
        const std::string_view ch = i < numbers.size() ? numbers.substr(i, 1) : std::string_view();
        const std::string name = std::string(control::kDrawDigitPrefix) + std::to_string(i + 1);
        m_window->setControlText(name, std::to_string(platform::leadingInt(ch)));
    }
}

void MainView::setTimersRunning(bool stop) {
    m_window->setTimerInterval(stop ? 0 : kTimerMillis);
}

std::int32_t MainView::formulaPeriodsFromCombo() const {
    return platform::leadingInt(m_window->controlText(control::kFormulaPeriods));
}

std::int32_t MainView::betCountFromEdit() const {
    return platform::leadingInt(m_window->controlText(control::kBetCount));
}

void MainView::setBetCountEdit(std::int32_t value) {
    m_window->setControlText(control::kBetCount, std::to_string(value));
}

}  // namespace quorsa::draws
