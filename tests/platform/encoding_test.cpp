#include "platform/encoding.h"

#include <gtest/gtest.h>

namespace quorsa::platform {
namespace {

TEST(Encoding, RoundTripsChineseThroughGbk) {
    const std::string text = "配置.ini 和值单双 公式期数";
    const std::string gbk = utf8ToGbk(text);
    EXPECT_EQ(gbk.substr(0, 4), "\xC5\xE4\xD6\xC3") << "配置 in GBK";
    EXPECT_EQ(gbkToUtf8(gbk), text);
}

TEST(Encoding, MarksWhatGbkCannotHold) {
    EXPECT_EQ(utf8ToGbk("a\xF0\x9F\x8E\xB2" "b"), "a?b");
    EXPECT_EQ(utf8ToGbk("a\xFF" "b"), "a?b");
    EXPECT_FALSE(gbkToUtf8("\x81").has_value()) << "a lone lead byte";
}

TEST(Encoding, ValidatesUtf8) {
    EXPECT_TRUE(isValidUtf8("和值"));
    EXPECT_TRUE(isValidUtf8(""));
    EXPECT_FALSE(isValidUtf8("\xC0\xAF"));          // overlong
    EXPECT_FALSE(isValidUtf8("\xED\xA0\x80"));      // surrogate
    EXPECT_FALSE(isValidUtf8("\xE5\x92"));          // truncated
    EXPECT_FALSE(isValidUtf8("\xC5\xE4\xD6\xC3"));  // GBK bytes
}

}  // namespace
}  // namespace quorsa::platform
