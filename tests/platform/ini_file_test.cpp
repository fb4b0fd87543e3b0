#include "platform/ini_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/encoding.h"

namespace quorsa::platform {
namespace {

namespace fs = std::filesystem;

const std::string kSection = "Quorsa江苏快三平刷和值单双";

class IniFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = fs::temp_directory_path() /
                ("ini-test-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                 "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
        m_path = (m_dir / "配置.ini").string();
    }
    void TearDown() override { fs::remove_all(m_dir); }

    void put(std::string_view bytes) {
        std::ofstream(m_path, std::ios::binary) << bytes;
    }
    std::string bytes() const {
        std::ifstream in(m_path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    fs::path m_dir;
    std::string m_path;
};

TEST_F(IniFileTest, WritesChineseNamesAsGbkAndReadsThemBack) {
    const IniFile ini(m_path);
    EXPECT_EQ(ini.read(kSection, "公式期数", "3"), "3") << "missing file gives the default";
    ASSERT_TRUE(ini.write(kSection, "公式期数", "2"));
    ASSERT_TRUE(ini.write(kSection, "选择注数", "17.5"));
    EXPECT_EQ(bytes(), utf8ToGbk("[" + kSection + "]\r\n公式期数=2\r\n选择注数=17.5\r\n"));
    EXPECT_EQ(ini.read(kSection, "公式期数", "3"), "2");
    ASSERT_TRUE(ini.write(kSection, "公式期数", "1"));
    EXPECT_EQ(ini.read(kSection, "公式期数", "3"), "1");
    EXPECT_EQ(ini.read(kSection, "选择注数", ""), "17.5");
    EXPECT_EQ(ini.read("其他", "公式期数", "none"), "none");
}

TEST_F(IniFileTest, KeepsForeignSectionsKeysAndCommentsOnWrite) {
    const std::string original = utf8ToGbk(
        "; written on Windows\r\n"
        "[Other]\r\n"
        "Name = 值\r\n"
        "\r\n"
        "[" + kSection + "]\r\n"
        "  公式期数 =  \"3\"  \r\n"
        "extra=keep me\r\n"
        "\r\n"
        "[Tail]\r\n"
        "x=1\r\n");
    put(original);
    const IniFile ini(m_path);
    EXPECT_EQ(ini.read(kSection, "公式期数", "0"), "3") << "blanks and quotes are trimmed";
    EXPECT_EQ(ini.read("OTHER", "name", ""), "值") << "names match case-insensitively";

    ASSERT_TRUE(ini.write(kSection, "公式期数", "2"));
    ASSERT_TRUE(ini.write(kSection, "选择注数", "25"));
    EXPECT_EQ(bytes(), utf8ToGbk(
        "; written on Windows\r\n"
        "[Other]\r\n"
        "Name = 值\r\n"
        "\r\n"
        "[" + kSection + "]\r\n"
        "公式期数=2\r\n"
        "extra=keep me\r\n"
        "选择注数=25\r\n"
        "\r\n"
        "[Tail]\r\n"
        "x=1\r\n"));
}

TEST_F(IniFileTest, DamagedFilesGiveDefaultsAndSurviveAWrite) {
    const IniFile ini(m_path);
    const struct {
        const char* what;
        std::string content;
    } cases[] = {
        {"empty", ""},
        {"binary", std::string("\x00\xFF\x81[\x00=\x01", 7)},
        {"half-written", utf8ToGbk("[" + kSection + "]\r\n公式期")},
        {"truncated mid-character", utf8ToGbk("[" + kSection + "]\r\n公式期数=") + "\x81"},
        {"section only", utf8ToGbk("[" + kSection)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        put(c.content);
        EXPECT_EQ(ini.read(kSection, "公式期数", "3"), "3");
        ASSERT_TRUE(ini.write(kSection, "选择注数", "9"));
        EXPECT_EQ(ini.read(kSection, "选择注数", ""), "9");
        EXPECT_EQ(bytes().substr(0, c.content.size()), c.content) << "what was there is kept";
    }
}

TEST_F(IniFileTest, WritesAtomicallyAndReportsFailure) {
    const IniFile ini(m_path);
    ASSERT_TRUE(ini.write(kSection, "公式期数", "2"));
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(m_dir)) ++files;
    EXPECT_EQ(files, 1u) << "no temporary file is left behind";

    const IniFile nowhere((m_dir / "missing" / "配置.ini").string());
    EXPECT_FALSE(nowhere.write(kSection, "公式期数", "2"));
    EXPECT_FALSE(fs::exists(m_dir / "missing"));
}

TEST(IniText, LimitsValuesToTheReadBuffer) {
    const std::string longValue(kIniValueLimit - 1, 'a');
    const std::string text = utf8ToGbk("[s]\r\nk=" + longValue + "值\r\n");
    const auto value = iniLookup(text, "s", "k");
    ASSERT_TRUE(value);
    EXPECT_EQ(*value, longValue) << "a double-byte character is not split";
}

}  // namespace
}  // namespace quorsa::platform
