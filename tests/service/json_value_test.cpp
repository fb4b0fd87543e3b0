#include "service/json_value.h"

#include <gtest/gtest.h>

#include <string>

namespace quorsa::service {
namespace {

TEST(JsonValue, MemberTextAndTypeOfEveryKind) {
    struct Case {
        const char* json;
        const char* text;
        std::int32_t type;
    };
    const Case cases[] = {
        {R"({"v":0})", "0", kJsonInt32},
        {R"({"v":"0"})", "0", kJsonString},
        {R"({"v":0.0})", "0", kJsonDouble},
        {R"({"v":-1})", "-1", kJsonInt32},
        {R"({"v":2147483647})", "2147483647", kJsonInt32},
        {R"({"v":2147483648})", "2147483648", kJsonInt64},
        {R"({"v":-2147483648})", "-2147483648", kJsonInt32},
        {R"({"v":-2147483649})", "-2147483649", kJsonInt64},
        {R"({"v":9223372036854775807})", "9223372036854775807", kJsonInt64},
        {R"({"v":18446744073709551615})", "18446744073709551615", kJsonUInt64},
        {R"({"v":1.0})", "1", kJsonDouble},
        {R"({"v":0.5})", "0.5", kJsonDouble},
        {R"({"v":0.1})", "0.1", kJsonDouble},
        {R"({"v":1e20})", "1e+20", kJsonDouble},
        {R"({"v":3.14159265358979})", "3.14159265359", kJsonDouble},
        {R"({"v":true})", "true", kJsonBool},
        {R"({"v":false})", "", kJsonBool},
        {R"({"v":null})", "", kJsonNull},
        {R"({"v":{"n":1}})", R"({"n":1})", kJsonObject},
        {R"({"v":[1,"a"]})", R"([1,"a"])", kJsonArray},
        {R"({"v":"a\"b\\c\u00e9"})", "a\"b\\c\xC3\xA9", kJsonString},
        {R"({"v":"开奖"})", "开奖", kJsonString},
        {R"({"w":1})", "", kJsonInvalid},
        {R"({})", "", kJsonInvalid},
        {R"([1,2])", "", kJsonInvalid},  // not an object: no members
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.json);
        JsonObject object;
        ASSERT_TRUE(object.parse(c.json));
        std::int32_t type = 99;
        EXPECT_EQ(object.memberText("v", type), c.text);
        EXPECT_EQ(type, c.type);
    }
}

TEST(JsonValue, BadDocumentsFailWithoutThrowing) {
    const std::string cases[] = {
        "",
        "   ",
        "<html><body>500 Internal Server Error</body></html>",
        R"({"errcode":0)",
        R"({"errcode":0} trailing)",
        R"({"a":1,})",
        "{\"v\":\"\xC0\xAF\"}",          // overlong UTF-8
        "{\"v\":\"\xB2\xE2\xCA\xD4\"}",  // GBK bytes, not UTF-8
        "{\"v\":\"\xED\xA0\x80\"}",      // surrogate
        R"({"v":"\ud800"})",             // lone surrogate escape
        "{\"v\":\"a\x01\"}",             // raw control character
        "/* c */ {}",
        std::string(300, '[') + std::string(300, ']'),
        std::string("{\"a\":1}\0{}", 10),
    };
    for (const std::string& text : cases) {
        SCOPED_TRACE(text.substr(0, 40));
        ServiceAnswer answer;
        answer.reset();
        EXPECT_FALSE(answer.parse(text));
        EXPECT_TRUE(answer.isInvalid());
        EXPECT_EQ(answer.toText(), "");
        std::int32_t type = 0;
        EXPECT_EQ(answer.memberText("errcode", type), "");
        EXPECT_EQ(type, kJsonInvalid);
        EXPECT_EQ(answer.errorCode(), "");
    }
}

TEST(JsonValue, ModerateNestingStillParses) {
    JsonObject object;
    const std::string nested = R"({"v":)" + std::string(100, '[') + std::string(100, ']') + "}";
    ASSERT_TRUE(object.parse(nested));
    // Brackets inside strings do not count as nesting.
    ASSERT_TRUE(object.parse(R"({"v":")" + std::string(1000, '[') + R"("})"));
    EXPECT_EQ(object.memberText("v").size(), 1000u);
}

TEST(JsonValue, EnvelopeKeepsOrderAndStringBytes) {
    JsonObject envelope;
    envelope.reset();
    envelope.set("rand", "42");
    envelope.set("funname", "select_draw");
    envelope.set("appid", "7");
    JsonArray params;
    params.reset();
    params.append("会话\"\\/");
    params.append("50");
    ASSERT_TRUE(envelope.setValue("param", params));
    EXPECT_EQ(envelope.toText(),
              R"({"rand":"42","funname":"select_draw","appid":"7","param":["会话\"\\/","50"]})");

    // The envelope holds a copy: emptying the list leaves it intact.
    params.reset();
    EXPECT_EQ(params.toText(), "[]");
    EXPECT_EQ(envelope.memberText("param"), R"(["会话\"\\/","50"])");

    JsonObject back;
    ASSERT_TRUE(back.parse(envelope.toText()));
    EXPECT_EQ(back.toText(), envelope.toText());
}

TEST(JsonValue, FreshAndFreedValues) {
    JsonObject object;
    EXPECT_TRUE(object.isInvalid());
    EXPECT_EQ(object.toText(), "");
    ASSERT_TRUE(object.reset());
    EXPECT_EQ(object.toText(), "{}");
    object.set("a", "b");
    object.set("a", "c");
    EXPECT_EQ(object.toText(), R"({"a":"c"})");
    object.freeNode();
    EXPECT_TRUE(object.isInvalid());
    // set on a value without a node starts a new object.
    object.set("k", "v");
    EXPECT_EQ(object.toText(), R"({"k":"v"})");
    JsonArray empty;
    EXPECT_FALSE(object.setValue("p", empty));

    JsonObject copy = object;
    copy.set("k", "w");
    EXPECT_EQ(object.memberText("k"), "v");
}

}  // namespace
}  // namespace quorsa::service
