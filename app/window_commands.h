#pragma once

#include <cstdint>

#include "app/app_settings.h"
#include "draws/draw_clock.h"
#include "draws/draw_record.h"
#include "draws/main_view.h"
#include "draws/plan_view.h"
#include "platform/messages.h"

namespace quorsa::app {

// The main window's handlers that need no toolkit: the countdown tick, the
// period switch, clear plan and the bet-count commands.
class WindowCommands {
public:
    struct Context {
        const AppSettings& settings;
        draws::MainView& mainView;
        draws::WindowPort& window;
        draws::PlanView& planView;
        draws::DrawClock& drawClock;
        draws::DrawPair& latestPair;
        draws::DrawHistory& history;
        std::int32_t& formulaPeriods;
        platform::MessageSink& messages;
    };

    WindowCommands(const Context& context, const ConfigFile& config)
        : m_c(context), m_config(&config) {}

    // Every 100 ms; the work runs on every third tick.
    void countdownTick();
    void switchPeriods();
    void clearPlan();
    // The bet count of the edit box, kept inside the range, applied and stored.
    void applyBetCount();

    std::int32_t tickDivider() const { return m_tickDivider; }

private:
    Context m_c;
    const ConfigFile* m_config;
    std::int32_t m_tickDivider = 0;
};

}  // namespace quorsa::app
