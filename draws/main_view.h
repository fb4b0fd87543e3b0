#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quorsa::draws {

// Names of the main window's controls that the logic writes or reads.
namespace control {
inline constexpr std::string_view kCountdown = "透明标签_开奖时间";
inline constexpr std::string_view kCurrentIssue = "透明标签_当前期号";
inline constexpr std::string_view kDrawDigitPrefix = "透明标签_开奖";  // + "1".."5"
inline constexpr std::string_view kFormulaPeriods = "组合框_公式期数";
inline constexpr std::string_view kBetCount = "编辑框_注数";
inline constexpr std::string_view kPlanBox = "编辑框_计划";
inline constexpr std::string_view kHistory = "超级列表框_历史开奖";
inline constexpr std::string_view kWebPanel = "超文本浏览框1";
}  // namespace control

// The main window as the draw logic sees it; the GUI side implements it over
// the real form, tests over a fake.
class WindowPort {
public:
    virtual ~WindowPort() = default;
    // The caption or content of the control of that form name.
    virtual std::string controlText(std::string_view name) const = 0;
    virtual void setControlText(std::string_view name, const std::string& text) = 0;
    // A new row on top of the history list.
    virtual void insertHistoryRow(const std::string& issue, const std::string& numbers) = 0;
    // 0 stops the countdown timer.
    virtual void setTimerInterval(int millis) = 0;
    virtual void setWebPanelAddress(const std::string& address) = 0;
    virtual void processPendingEvents() = 0;
};

// The accessors through which the logic writes the draw display.
class MainView {
public:
    explicit MainView(WindowPort& window) : m_window(&window) {}

    void setCountdownText(const std::string& text);
    void addHistoryRow(const std::string& issue, const std::string& numbers);
    // The five digit labels get characters 1 to 5 of `numbers` as integers.
    void showCurrentDraw(const std::string& caption, std::string_view numbers);
    // true stops the countdown timer, false runs it every 100 ms.
    void setTimersRunning(bool stop);
    std::int32_t formulaPeriodsFromCombo() const;
    std::int32_t betCountFromEdit() const;
    void setBetCountEdit(std::int32_t value);

    static constexpr int kTimerMillis = 100;

private:
    WindowPort* m_window;
};

}  // namespace quorsa::draws
