#include <gtest/gtest.h>

#include "platform/md5.h"
#include "platform/regex.h"

namespace quorsa::platform {
namespace {

TEST(Regex, WorksOnCharacters) {
    const Regex prefix("(....)([\\d]+)-([\\d]+)");
    const RegexMatch m = prefix.search("前言定位胆12-25注");
    ASSERT_TRUE(m.found);
    EXPECT_EQ(m.text, "言定位胆12-25") << "four characters, not four bytes";
    EXPECT_EQ(m.group(1), "言定位胆");
    EXPECT_EQ(m.group(2), "12");
    EXPECT_EQ(m.group(3), "25");
    EXPECT_EQ(m.group(4), "");
    EXPECT_EQ(m.group(0), "");

    EXPECT_FALSE(prefix.search("没有数字").found);
    EXPECT_TRUE(prefix.search("没有数字").groups.empty());
    EXPECT_TRUE(Regex("和值(大小|单双)").matches("计划和值单双"));
    EXPECT_FALSE(Regex("A").matches("a")) << "case-sensitive";
    EXPECT_FALSE(Regex("a.b").matches("a\nb")) << "\".\" stops at a line feed";
    EXPECT_FALSE(Regex("(").isValid());
    EXPECT_FALSE(Regex("(").matches("("));
}

TEST(Regex, SearchAllAndUnsetGroups) {
    const auto all = Regex("#(.*)").searchAll("a#一\nb#二三\n#");
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(all[0].group(1), "一");
    EXPECT_EQ(all[1].group(1), "二三");
    EXPECT_EQ(all[2].group(1), "");
    const auto optional = Regex("(x)?(y)").search("y");
    ASSERT_TRUE(optional.found);
    EXPECT_EQ(optional.groups.size(), 2u);
    EXPECT_EQ(optional.group(1), "");
    EXPECT_EQ(optional.group(2), "y");
    EXPECT_TRUE(Regex("z").searchAll("abc").empty());
}

TEST(Md5, KnownDigests) {
    EXPECT_EQ(md5Hex(""), "d41d8cd98f00b204e9800998ecf8427e");
    EXPECT_EQ(md5Hex("abc"), "900150983cd24fb0d6963f7d28e17f72");
    EXPECT_EQ(md5Hex(std::string_view("\0\xff", 2)).size(), 32u);
}

}  // namespace
}  // namespace quorsa::platform
