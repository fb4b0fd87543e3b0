#include "app/startup_steps.h"

#include "platform/files.h"
#include "platform/text.h"

namespace quorsa::app {

namespace {
const std::string kCaption(platform::kInfoCaption);
}

bool isNewerVersion(const std::string& newVersion, const std::string& currentVersion) {
    const auto fresh = static_cast<float>(platform::leadingDouble(newVersion));
    const auto current = static_cast<float>(platform::leadingDouble(currentVersion));
    return fresh > current;
}

std::string updatePromptText(const std::string& softwareName, const std::string& newVersion) {
    return softwareName + "已经更新至" + newVersion + "\r\n点击确定立即更新";
}

bool UpdateChecker::run(draws::WindowPort& window, draws::PlanBoxPort& planBox) {
    if (!connect())
        return false;
    if (!checkVersion(m_c.initRecord.version, m_c.initRecord.proupurl, window))
        return false;
    m_c.planView.bind(window, planBox, m_c.settings.planKind);
    return true;
}

bool UpdateChecker::connect() {
    const std::int32_t id = m_c.settings.applicationId;
    if (!m_c.client.connect(m_c.addresses.primary, id) &&
        !m_c.client.connect(m_c.addresses.fallback, id)) {
        m_c.statusWindow.close();
        m_c.messages.information(m_c.client.lastError(), kCaption);
        return false;
    }
    m_c.initRecord = m_c.client.initRecord();
    return true;
}

bool UpdateChecker::checkVersion(const std::string& newVersion, const std::string& updateUrl,
                                 draws::WindowPort& window) {
    const AppSettings& s = m_c.settings;
    if (!isNewerVersion(newVersion, s.programVersion))
        return true;
    m_c.statusWindow.close();
    window.processPendingEvents();
    if (!m_c.messages.confirm(updatePromptText(s.softwareName, newVersion), kCaption)) {
        return false;
    }
    launchUpdater(s.softwareName, s.programVersion, newVersion, updateUrl,
                  s.programFileName + std::string(platform::executableSuffix()));
    return false;
}

void UpdateChecker::launchUpdater(const std::string& name, const std::string& currentVersion,
                                  const std::string& newVersion, const std::string& updateUrl,
                                  const std::string& exeName) {
    if (m_c.launch)
        m_c.launch(name, currentVersion, newVersion, updateUrl, exeName);
    // The hand-over does not come back; if it does, the program ends anyway.
    if (m_c.endProgram)
        m_c.endProgram(0);
}

bool StartupSteps::connectAndCheck(draws::WindowPort& window, draws::PlanBoxPort& planBox) {
    UpdateChecker checker(m_c);
    return checker.run(window, planBox);
}

bool StartupSteps::loadDrawData(draws::WindowPort& window) {
    draws::DrawDataLoader loader({m_c.statusWindow, m_c.mainView, window, m_c.planView, m_c.engine,
                                  m_c.drawClock, m_c.client, m_c.messages, m_c.history,
                                  m_c.initRecord, m_c.settings.planKind,
                                  m_c.settings.planDisplayName, m_c.formulaPeriods});
    return loader.run();
}

}  // namespace quorsa::app
