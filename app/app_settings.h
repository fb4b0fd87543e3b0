#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/ini_file.h"
#include "platform/messages.h"

namespace quorsa::app {

// Build settings, written once before any window opens.
struct AppSettings {
    std::string softwareName;
    std::string programFileName;
    std::int32_t applicationId = 0;
    std::string planKind;
    std::string programVersion;
    std::string planDisplayName;
    // Bet-count variant only (a plan kind containing "注").
    std::string betPlanPrefix;
    std::int32_t betCountMin = 0;
    std::int32_t betCountMax = 0;
};

// This build's values.
inline constexpr std::string_view kSoftwareName = "Quorsa江苏快三平刷和值单双";
inline constexpr std::string_view kProgramFileName = kSoftwareName;
inline constexpr std::int32_t kApplicationId = 1412;
inline constexpr std::string_view kPlanKind = "和值单双";
inline constexpr std::string_view kProgramVersion = "1.15";

// The settings file's name and its two keys.
inline constexpr std::string_view kConfigFileName = "配置.ini";
inline constexpr std::string_view kKeyFormulaPeriods = "公式期数";
inline constexpr std::string_view kKeyBetCount = "选择注数";

// Fills every field from the arguments; planDisplayName is displayName when
// hasDisplayName, else planKind. A plan kind containing "注" runs
// parseBetRange. Opening the main window is left to the caller.
AppSettings storeSettings(std::string_view softwareName, std::string_view programFileName,
                          std::int32_t applicationId, std::string_view planKind,
                          std::string_view programVersion, std::string_view displayName,
                          bool hasDisplayName, platform::MessageSink& messages);

// storeSettings with this build's values.
AppSettings buildSettings(platform::MessageSink& messages);

// Reads the bet-count range out of planKind; on no match shows
// "正则搜索失败！" and leaves the three fields unchanged.
bool parseBetRange(AppSettings& settings, platform::MessageSink& messages);

// Default of "选择注数": the midpoint of the bet range, with its fraction
// when it has one.
std::string betCountDefault(const AppSettings& settings);

// The settings file: one section named softwareName in "配置.ini" of the
// working directory the program was started in.
class ConfigFile {
public:
    ConfigFile(std::string directory, std::string section);

    const std::string& path() const { return m_file.path(); }

    std::string readConfig(std::string_view key, std::string_view fallback) const;
    // A failed write is not an error for the program; the result tells tests.
    bool writeConfig(std::string_view key, std::string_view value) const;

private:
    platform::IniFile m_file;
    std::string m_section;
};

}  // namespace quorsa::app
