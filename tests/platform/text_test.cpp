#include "platform/text.h"

#include <gtest/gtest.h>

namespace quorsa::platform {
namespace {

TEST(LeadingInt, TakesTheLeadingDecimalInteger) {
    const struct {
        const char* text;
        std::int64_t value;
    } cases[] = {
        {"42", 42},          {"  \t-17abc", -17}, {"+8", 8},     {"3.9", 3},
        {"", 0},             {"abc", 0},          {"- 5", 0},    {"0042", 42},
        {"20261211023", 20261211023},             {"99999999999999999999", INT64_MAX},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(leadingInt64(c.text), c.value);
    }
    EXPECT_EQ(leadingInt("4294967297"), 1) << "32-bit reading wraps";
}

TEST(SplitText, FollowsTheSeparatorRule) {
    using V = std::vector<std::string>;
    const struct {
        const char* text;
        const char* sep;
        V parts;
    } cases[] = {
        {"A| |B| |C", "| |", V{"A", "B", "C"}},
        {"A| |B| |", "| |", V{"A", "B"}},
        {"| |A", "| |", V{"", "A"}},
        {"a,,b", ",", V{"a", "", "b"}},
        {"", ",", V{}},
        {",", ",", V{""}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(splitText(c.text, c.sep), c.parts);
    }
}

TEST(ReplaceAll, ReplacesEveryOccurrenceWithoutRescanning) {
    EXPECT_EQ(replaceAll("a\\\\r\\\\nb\\\\r\\\\n", "\\\\r\\\\n", "\r\n"), "a\r\nb\r\n");
    EXPECT_EQ(replaceAll("aaa", "a", "aa"), "aaaaaa");
    EXPECT_EQ(replaceAll("abc", "", "x"), "abc");
}

TEST(Numbers, FormatAndRoundAsTheStatisticsShowThem) {
    EXPECT_EQ(formatG13(66.67), "66.67");
    EXPECT_EQ(formatG13(12.5), "12.5");
    EXPECT_EQ(formatG13(50.0), "50");
    EXPECT_EQ(formatG13(0.0), "0");
    EXPECT_EQ(formatG13(1.0 / 3.0), "0.3333333333333");
    EXPECT_DOUBLE_EQ(roundTo2(100.0 / 1.5), 66.67);
    EXPECT_DOUBLE_EQ(roundTo2(0.125), 0.13);
    EXPECT_DOUBLE_EQ(roundTo2(-0.125), -0.13);
    EXPECT_DOUBLE_EQ(roundTo2(0.0), 0.0);
}

TEST(LeadingDouble, ReadsDecimalTextOnly) {
    EXPECT_FLOAT_EQ(static_cast<float>(leadingDouble("1.15")), 1.15f);
    EXPECT_DOUBLE_EQ(leadingDouble(" 1.2abc"), 1.2);
    EXPECT_DOUBLE_EQ(leadingDouble("-2"), -2.0);
    EXPECT_DOUBLE_EQ(leadingDouble(""), 0.0);
    EXPECT_DOUBLE_EQ(leadingDouble("v1.2"), 0.0);
    EXPECT_DOUBLE_EQ(leadingDouble("0x10"), 0.0);
    EXPECT_DOUBLE_EQ(leadingDouble("inf"), 0.0);
}

}  // namespace
}  // namespace quorsa::platform
