#pragma once

#include <cstdint>
#include <string>

#include "app/app_settings.h"
#include "app/updater_handover.h"
#include "draws/draw_clock.h"
#include "draws/draw_data_loader.h"
#include "draws/main_view.h"
#include "draws/plan_view.h"
#include "draws/status_window.h"
#include "platform/messages.h"
#include "service/service_client.h"

namespace quorsa::plan {
class PlanEngine;
}

namespace quorsa::app {

struct ServiceAddresses {
    std::string primary;
    std::string fallback;
};

// Everything the start-up steps reach; all owned by the application object.
struct StartupContext {
    const AppSettings& settings;
    const ServiceAddresses& addresses;
    service::ServiceClient& client;
    service::InitRecord& initRecord;
    draws::StatusWindow& statusWindow;
    draws::MainView& mainView;
    draws::PlanView& planView;
    plan::PlanEngine& engine;
    draws::DrawClock& drawClock;
    draws::DrawHistory& history;
    const std::int32_t& formulaPeriods;
    platform::MessageSink& messages;
    const LaunchUpdater& launch;
    const EndProgram& endProgram;
};

// Connects, offers an update and binds the plan view. Lives for one run.
class UpdateChecker {
public:
    explicit UpdateChecker(const StartupContext& context) : m_c(context) {}

    bool run(draws::WindowPort& window, draws::PlanBoxPort& planBox);
    // The primary address, then the fallback; on failure the error is shown.
    bool connect();
    // True: carry on; false: the program must end.
    bool checkVersion(const std::string& newVersion, const std::string& updateUrl,
                      draws::WindowPort& window);
    void launchUpdater(const std::string& name, const std::string& currentVersion,
                       const std::string& newVersion, const std::string& updateUrl,
                       const std::string& exeName);

private:
    StartupContext m_c;
};

// True when `newVersion` is greater than `currentVersion`, both read as
// single-precision numbers (so 1.10 is below 1.9, and text that is no number
// reads as 0).
bool isNewerVersion(const std::string& newVersion, const std::string& currentVersion);

// The prompt offering the update.
std::string updatePromptText(const std::string& softwareName, const std::string& newVersion);

class StartupSteps {
public:
    explicit StartupSteps(const StartupContext& context) : m_c(context) {}

    bool connectAndCheck(draws::WindowPort& window, draws::PlanBoxPort& planBox);
    bool loadDrawData(draws::WindowPort& window);

private:
    StartupContext m_c;
};

}  // namespace quorsa::app
