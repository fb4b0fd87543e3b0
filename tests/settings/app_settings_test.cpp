#include "app/app_settings.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/text.h"

namespace quorsa::app {
namespace {

namespace fs = std::filesystem;

AppSettings storeKind(std::string_view kind, platform::MessageSink& messages) {
    return storeSettings("名称", "名称", 7, kind, "1.15", {}, false, messages);
}

TEST(StoreSettings, HoldsThisBuildsValues) {
    platform::RecordingMessages messages;
    const AppSettings s = buildSettings(messages);
    EXPECT_EQ(s.softwareName, "Quorsa江苏快三平刷和值单双");
    EXPECT_EQ(s.programFileName, s.softwareName);
    EXPECT_EQ(s.applicationId, 1412);
    EXPECT_EQ(s.planKind, "和值单双");
    EXPECT_EQ(s.programVersion, "1.15");
    EXPECT_EQ(s.planDisplayName, "和值单双") << "no display name: a copy of the plan kind";
    EXPECT_TRUE(s.betPlanPrefix.empty());
    EXPECT_TRUE(messages.shown.empty()) << "no bet-count pattern is searched";

    const AppSettings named = storeSettings("a", "b", 1, "和值单双", "2", "展示名", true, messages);
    EXPECT_EQ(named.planDisplayName, "展示名");
}

TEST(ParseBetRange, ReadsPrefixAndRangeOfBetCountKinds) {
    const struct {
        const char* kind;
        bool matched;
        const char* prefix;
        int min;
        int max;
    } cases[] = {
        {"前三直选12-25注", true, "前三直选", 12, 25},
        {"注前三直选10-50", true, "前三直选", 10, 50},  // "注" first still counts
        {"大小单双一二三45-60注", true, "双一二三", 45, 60},  // four characters, not four bytes
        {"注数10-50", false, "", 0, 0},  // the four characters would swallow the digits
        {"注", false, "", 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kind);
        platform::RecordingMessages messages;
        const AppSettings s = storeKind(c.kind, messages);
        EXPECT_EQ(s.betPlanPrefix, c.prefix);
        EXPECT_EQ(s.betCountMin, c.min);
        EXPECT_EQ(s.betCountMax, c.max);
        if (c.matched) {
            EXPECT_TRUE(messages.shown.empty());
        } else {
            ASSERT_EQ(messages.shown.size(), 1u);
            EXPECT_EQ(messages.shown[0].text, "正则搜索失败！");
            EXPECT_EQ(messages.shown[0].caption, "信息：");
        }
    }
}

TEST(BetCountDefault, IsTheMidpointWithItsFraction) {
    platform::RecordingMessages messages;
    EXPECT_EQ(betCountDefault(storeKind("前三直选12-25注", messages)), "18.5");
    EXPECT_EQ(betCountDefault(storeKind("二同号复10-50注", messages)), "30");
    EXPECT_EQ(platform::leadingInt(betCountDefault(storeKind("前三直选12-25注", messages))), 18)
        << "a stored midpoint reads back as its integer part";
}

TEST(ConfigFile, LivesInTheWorkingDirectoryItWasGiven) {
    const fs::path root = fs::temp_directory_path() / "config-file-test";
    fs::remove_all(root);
    fs::create_directories(root / "one");
    fs::create_directories(root / "two");

    const ConfigFile one((root / "one").string(), std::string(kSoftwareName));
    const ConfigFile two((root / "two").string(), std::string(kSoftwareName));
    EXPECT_EQ(one.path(), (root / "one" / "配置.ini").string());
    EXPECT_EQ(one.readConfig(kKeyFormulaPeriods, "3"), "3");
    ASSERT_TRUE(one.writeConfig(kKeyFormulaPeriods, "2"));
    EXPECT_EQ(one.readConfig(kKeyFormulaPeriods, "3"), "2");
    EXPECT_EQ(two.readConfig(kKeyFormulaPeriods, "3"), "3") << "another directory, another file";
    EXPECT_FALSE(fs::exists(root / "two" / "配置.ini"));
    fs::remove_all(root);
}

}  // namespace
}  // namespace quorsa::app
