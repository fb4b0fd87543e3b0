#include "service/codec/codec.h"

#include <gtest/gtest.h>

#include <string>

namespace quorsa::codec {
namespace {

TEST(Codec, Rc4MatchesPublishedVectors) {
    struct Case {
        const char* key;
        const char* plain;
        const char* cipherHex;
    };
    const Case cases[] = {
        {"Key", "Plaintext", "BBF316E8D940AF0AD3"},
        {"Wiki", "pedia", "1021BF0420"},
        {"Secret", "Attack at dawn", "45A01F645FC35B383552544B9BF5"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        EXPECT_EQ(hexEncode(rc4(c.key, c.plain)), c.cipherHex);
        EXPECT_EQ(rc4(c.key, hexDecode(c.cipherHex)), c.plain);
    }
}

TEST(Codec, HexEncodeAndDecode) {
    EXPECT_EQ(hexEncode(std::string("\x0A\xFF", 2)), "0AFF");
    EXPECT_EQ(hexEncode(std::string("\x00\x01\x7F\x80", 4)), "00017F80");
    EXPECT_EQ(hexEncode(""), "");

    struct Case {
        const char* text;
        std::string bytes;
    };
    const Case cases[] = {
        {"0aff", std::string("\x0A\xFF", 2)},
        {"0AfF", std::string("\x0A\xFF", 2)},
        {"", ""},
        {"A", std::string("\x0A", 1)},  // a final single character is one digit
        {"0AF", std::string("\x0A\x0F", 2)},
        {"zz41", std::string("\x00\x41", 2)},  // non-digits
                                               // count as 0
        {"G1", std::string("\x01", 1)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(hexDecode(c.text), c.bytes);
    }
    std::string all;
    for (int b = 0; b < 256; ++b) {
        all.push_back(static_cast<char>(b));
    }
    EXPECT_EQ(hexDecode(hexEncode(all)), all);
}

TEST(Codec, HexDigitsValue) {
    EXPECT_EQ(hexDigitsValue("ff"), 255);
    EXPECT_EQ(hexDigitsValue("7FFFFFFF"), 2147483647);
    EXPECT_EQ(hexDigitsValue(""), 0);
    EXPECT_EQ(hexDigitsValue("1x"), 16);
}

TEST(Codec, KeysAreTheSharedOnes) {
    EXPECT_EQ(requestKey(), "m4k9q2x7b3p8w5z");
    EXPECT_EQ(answerKey(0), "0");
    EXPECT_EQ(answerKey(42), "332598");
    EXPECT_EQ(answerKey(9999), "79182081");
}

TEST(Codec, BodyAndDataLayers) {
    const std::string text = R"({"rand":"1","funname":"init"})";
    const std::string body = encodeBody(text, "0f1e2d3c4b5a6978");
    EXPECT_EQ(body.size(), text.size() * 4);
    EXPECT_EQ(body.find_first_not_of("0123456789ABCDEF"), std::string::npos);
    // Each layer is what the other side undoes by hand.
    EXPECT_EQ(body, hexEncode(rc4("0f1e2d3c4b5a6978", hexEncode(rc4(requestKey(), text)))));
    EXPECT_EQ(decodeBody(body, "0f1e2d3c4b5a6978"), text);
    EXPECT_NE(decodeBody(body, "0f1e2d3c4b5a6979"), text);

    const std::string payload = R"({"version":"1.15","名":"值"})";
    const std::string data = encodeData(payload, 8023);
    EXPECT_EQ(data, hexEncode(rc4(requestKey(), hexEncode(rc4("63534137", payload)))));
    EXPECT_EQ(decodeData(data, 8023), payload);
    EXPECT_NE(decodeData(data, 8024), payload);
    EXPECT_EQ(decodeData("", 1), "");
}

TEST(Codec, UrlEscapeRoundTrips) {
    EXPECT_EQ(urlEscape("aZ09-._~"), "aZ09-._~");
    EXPECT_EQ(urlEscape("a b%\"{}"), "a%20b%25%22%7B%7D");
    EXPECT_EQ(urlEscape("开"), "%E5%BC%80");
    const std::string text = R"({"param":["会话 %41+&=","50"]})";
    EXPECT_EQ(urlUnescape(urlEscape(text)), text);
    EXPECT_EQ(urlUnescape("%4"), "%4");
    EXPECT_EQ(urlUnescape("%zz%41"), "%zzA");
    EXPECT_EQ(urlUnescape("a%41"), "aA");
}

}  // namespace
}  // namespace quorsa::codec
