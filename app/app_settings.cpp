#include "app/app_settings.h"

#include "platform/files.h"
#include "platform/regex.h"
#include "platform/text.h"

namespace quorsa::app {

AppSettings storeSettings(std::string_view softwareName, std::string_view programFileName,
                          std::int32_t applicationId, std::string_view planKind,
                          std::string_view programVersion, std::string_view displayName,
                          bool hasDisplayName, platform::MessageSink& messages) {
    AppSettings settings;
    settings.softwareName = softwareName;
    settings.programFileName = programFileName;
    settings.applicationId = applicationId;
    settings.planKind = planKind;
    settings.programVersion = programVersion;
    settings.planDisplayName = hasDisplayName ? displayName : planKind;
    if (settings.planKind.find("注") != std::string::npos) {
        parseBetRange(settings, messages);
    }
    return settings;
}

AppSettings buildSettings(platform::MessageSink& messages) {
    return storeSettings(kSoftwareName, kProgramFileName, kApplicationId, kPlanKind,
                         kProgramVersion, {}, false, messages);
}

bool parseBetRange(AppSettings& settings, platform::MessageSink& messages) {
    const platform::Regex pattern(R"((....)([\d]+)-([\d]+))");
    const auto match = pattern.search(settings.planKind);
    if (!match.found) {
        messages.information("正则搜索失败！", std::string(platform::kInfoCaption));
        return false;
    }
    settings.betPlanPrefix = match.group(1);
    settings.betCountMin = platform::leadingInt(match.group(2));
    settings.betCountMax = platform::leadingInt(match.group(3));
    return true;
}

std::string betCountDefault(const AppSettings& settings) {
    const double low = settings.betCountMin;
    const double high = settings.betCountMax;
    return platform::formatG13(low + (high - low) / 2);
}

ConfigFile::ConfigFile(std::string directory, std::string section)
    : m_file(platform::joinPath(directory, kConfigFileName)), m_section(std::move(section)) {}

std::string ConfigFile::readConfig(std::string_view key, std::string_view fallback) const {
    return m_file.read(m_section, key, fallback);
}

bool ConfigFile::writeConfig(std::string_view key, std::string_view value) const {
    return m_file.write(m_section, key, value);
}

}  // namespace quorsa::app
