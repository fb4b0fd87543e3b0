#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "app/app_settings.h"
#include "app/form_ports.h"
#include "app/startup_steps.h"
#include "app/updater_handover.h"
#include "app/window_commands.h"
#include "draws/draw_clock.h"
#include "draws/draw_record.h"
#include "draws/main_view.h"
#include "draws/plan_view.h"
#include "draws/status_window.h"
#include "plan/plan_engine.h"
#include "platform/gui/main_form.h"
#include "platform/gui/url_opener.h"
#include "platform/http_client.h"
#include "platform/messages.h"
#include "platform/time_source.h"
#include "service/service_addresses.h"
#include "service/service_client.h"

namespace quorsa::app {

// What start-up is given; the defaults are this build's.
struct ApplicationOptions {
    std::string softwareName{kSoftwareName};
    std::string programFileName{kProgramFileName};
    std::int32_t applicationId = kApplicationId;
    std::string planKind{kPlanKind};
    std::string programVersion{kProgramVersion};
    ServiceAddresses addresses{std::string(service::kPrimaryServiceUrl),
                               std::string(service::kFallbackServiceUrl)};
    // Where "配置.ini" lives; empty: the current working directory.
    std::string workingDirectory;
    // Where the updater is written; empty: the program's own directory.
    std::string programDirectory;
};

// Owns every process-wide object of the client, created in start-up order
// and destroyed in reverse, and hands out references to them.
class Application {
public:
    Application(ApplicationOptions options, const platform::TimeSource& time,
                platform::MessageSink& messages, const platform::UrlOpener& opener,
                EndProgram endProgram, LaunchUpdater launch = app::launchUpdater);
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // Stores the settings and opens the main window. False when start-up
    // ended (the user was told why, or declined an update): the program
    // then ends with exit code 0.
    bool start();

    const AppSettings& settings() const { return m_settings; }
    platform::MainForm* mainForm() const { return m_form.get(); }
    platform::StatusForm* statusForm() const { return m_statusPort.form(); }
    const draws::DrawHistory& history() const { return m_history; }
    const draws::DrawPair& latestPair() const { return m_latestPair; }
    const service::InitRecord& initRecord() const { return m_initRecord; }
    draws::DrawClock& drawClock() { return m_drawClock; }
    draws::PlanView& planView() { return m_planView; }
    plan::PlanEngine& engine() { return m_engine; }
    std::int32_t formulaPeriods() const { return m_formulaPeriods; }
    bool startupComplete() const { return m_startupComplete; }
    const std::string& updaterPath() const { return m_updaterPath; }
    const ConfigFile* config() const { return m_config ? &*m_config : nullptr; }
    WindowCommands* commands() const { return m_commands.get(); }

    // Handlers of the commands that need the toolkit.
    void copyPlan();
    void closeMainWindow();

private:
    bool creationSequence();
    void connectControls();
    void betCountLayout();

    ApplicationOptions m_options;
    const platform::TimeSource& m_time;
    platform::MessageSink& m_messages;
    const platform::UrlOpener& m_opener;
    EndProgram m_endProgram;
    LaunchUpdater m_launch;

    AppSettings m_settings;
    std::int32_t m_formulaPeriods = 0;
    bool m_startupComplete = false;

    // Process-wide objects, in start-up order.
    StatusFormPort m_statusPort;
    draws::StatusWindow m_statusWindow;
    StartupSteps m_startupSteps;
    MainFormPort m_windowPort;
    draws::MainView m_mainView;
    service::InitRecord m_initRecord;
    draws::PlanView m_planView;
    platform::HttpClient m_http;
    service::ServiceClient m_client;
    draws::DrawClock m_drawClock;
    draws::DrawPair m_latestPair;
    draws::DrawHistory m_history;
    plan::PlanEngine m_engine;
    std::string m_updaterPath;

    std::optional<ConfigFile> m_config;
    std::unique_ptr<WindowCommands> m_commands;
    std::unique_ptr<platform::MainForm> m_form;
};

}  // namespace quorsa::app
