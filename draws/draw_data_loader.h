#pragma once

#include <cstdint>
#include <string>

#include "draws/draw_clock.h"
#include "draws/draw_record.h"
#include "draws/main_view.h"
#include "draws/plan_view.h"
#include "draws/status_window.h"
#include "platform/messages.h"
#include "service/service_client.h"

namespace quorsa::draws {

// What the start-up loader works on; everything is owned elsewhere.
struct DrawDataContext {
    StatusWindow& statusWindow;
    MainView& mainView;
    WindowPort& window;
    PlanView& planView;
    plan::PlanEngine& engine;
    DrawClock& drawClock;
    service::ServiceClient& client;
    platform::MessageSink& messages;
    DrawHistory& history;
    const service::InitRecord& initRecord;
    const std::string& planKind;
    const std::string& planDisplayName;
    const std::int32_t& formulaPeriods;
};

// Sets up the plan book, loads the first draws, fills the draw display and
// builds the plan once. Lives for one run.
class DrawDataLoader {
public:
    explicit DrawDataLoader(const DrawDataContext& context) : m_c(context) {}

    // False when no draw could be loaded; the program then ends.
    bool run();
    bool loadDraws();

    static constexpr std::int32_t kRecentDraws = 50;

private:
    DrawDataContext m_c;
};

}  // namespace quorsa::draws
