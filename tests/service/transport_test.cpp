#include "service/service_transport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "fake_service.h"
#include "platform/time_source.h"
#include "service/codec/codec.h"
#include "service/service_client.h"

namespace quorsa::service {
namespace {

using quorsa::testing::FakeExchange;
using quorsa::testing::FakeService;

constexpr std::int64_t kNowMillis = 1'765'432'100'123;  // 2025-12-11 05:48:20.123 UTC

class TransportTest : public ::testing::Test {
protected:
    TransportTest() { transport.setup("http://service.test/appinit.php", 7); }

    FakeService service;
    FakeExchange http{service};
    platform::ManualTime time{kNowMillis, 1000};
    ServiceTransport transport{http, time};
    ServiceAnswer answer;
};

TEST(TransportRand, LastFourDigitsOfTickPlusSeconds) {
    struct Case {
        std::int64_t unixMillis;
        std::uint32_t tick;
        std::int32_t rand;
    };
    const Case cases[] = {
        {1'700'000'000'999, 8023, 8023},
        {1'700'000'000'000, 42, 42},
        {1'700'000'000'000, 10'000, 0},
        {5'000, 0, 5},
        {0, 0, 0},
        {1'700'000'000'000, 4'294'967'295u, 7295},  // 5994967295
    };
    FakeService service;
    FakeExchange http(service);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rand);
        platform::ManualTime time(c.unixMillis, c.tick);
        EXPECT_EQ(ServiceTransport(http, time).makeRand(), c.rand);
    }
}

TEST(TransportTime, UnixSecondsAreTrueUnixTimeInAnyZone) {
    const char* saved = std::getenv("TZ");
    const std::string restore = saved ? saved : "";
    for (const char* zone : {"UTC", "Asia/Shanghai", "America/New_York", "Pacific/Kiritimati"}) {
        SCOPED_TRACE(zone);
        setenv("TZ", zone, 1);
        tzset();
        EXPECT_EQ(ServiceTransport::unixSecondsText(86'400'000), "86400");
        EXPECT_EQ(ServiceTransport::unixSecondsText(86'400'999), "86400");
        EXPECT_EQ(ServiceTransport::unixSecondsText(0), "0");

        FakeService service;
        FakeExchange http(service);
        platform::ManualTime time(kNowMillis, 0);
        ServiceTransport transport(http, time);
        ServiceAnswer answer;
        transport.fetchCallKey(answer, 1);
        ASSERT_EQ(service.handshakeBodies.size(), 1u);
        EXPECT_EQ(service.handshakeBodies[0], "DATA=GETRAND?1765432100");
    }
    if (saved) {
        setenv("TZ", restore.c_str(), 1);
    } else {
        unsetenv("TZ");
    }
    tzset();
}

TEST_F(TransportTest, CallSendsEnvelopeWithHeadersInOrder) {
    service.callAnswer = R"({"errcode":0,"msg":"","data":""})";
    std::string raw;
    std::int32_t rand = -1;
    ASSERT_TRUE(transport.call(raw, "select_draw", {"会话 值", "50"}, rand, answer));
    EXPECT_EQ(raw, R"({"errcode":0,"msg":"","data":""})");
    EXPECT_EQ(rand, transport.makeRand());
    ASSERT_EQ(service.calls.size(), 1u);
    EXPECT_EQ(service.calls[0].rand, std::to_string(rand));
    EXPECT_EQ(service.calls[0].funname, "select_draw");
    EXPECT_EQ(service.calls[0].appid, "7");
    EXPECT_EQ(service.calls[0].param, (std::vector<std::string>{"会话 值", "50"}));

    ASSERT_EQ(http.postedHeaders.size(), 2u);
    const HttpHeaders expected = {
        {"Accept", "*/*"},
        {"Accept-Language", "zh-CN"},
        {"User-Agent", "Mozilla/5.0 (compatible; MSIE 9.0; Windows NT 6.1; WOW64; Trident/5.0)"},
        {"Content-Type", "application/x-www-form-urlencoded"},
        {"Accept-Encoding", "deflate"},
        {"Connection", "Keep-Alive"},
        {"Cache-Control", "no-cache"},
    };
    EXPECT_EQ(http.postedHeaders[0], expected);
    EXPECT_EQ(http.postedHeaders[1], expected);
    EXPECT_EQ(http.urls, (std::vector<std::string>(2, "http://service.test/appinit.php")));
}

TEST_F(TransportTest, CallTextsStopsAtFirstEmptyText) {
    service.callAnswer = R"({"errcode":0,"msg":"","data":""})";
    ASSERT_TRUE(transport.callTexts(answer, "f", "a", "b", "", "d", "e", 0));
    ASSERT_TRUE(transport.callTexts(answer, "f", "", "", "", "", "", 0));
    ASSERT_TRUE(transport.callTexts(answer, "f", "1", "2", "3", "4", "5", 0));
    ASSERT_EQ(service.calls.size(), 3u);
    EXPECT_EQ(service.calls[0].param, (std::vector<std::string>{"a", "b"}));
    EXPECT_TRUE(service.calls[1].param.empty());
    EXPECT_EQ(service.calls[2].param.size(), 5u);
}

TEST_F(TransportTest, SuccessIsErrcodeReadingZero) {
    struct Case {
        const char* answer;
        bool ok;
    };
    const Case cases[] = {
        {R"({"errcode":0,"msg":"","data":""})", true},
        {R"({"errcode":"0","msg":"","data":""})", true},
        {R"({"errcode":0.0,"msg":"","data":""})", true},
        {R"({"errcode":"00","msg":"","data":""})", false},
        {R"({"errcode":" 0","msg":"","data":""})", false},
        {R"({"errcode":false,"msg":"","data":""})", false},
        {R"({"errcode":null})", false},
        {R"({"msg":"","data":""})", false},
        {R"(["errcode",0])", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answer);
        service.callAnswer = c.answer;
        std::string raw;
        std::int32_t rand = 0;
        EXPECT_EQ(transport.call(raw, "init", {}, rand, answer), c.ok);
        EXPECT_EQ(raw, c.answer);
    }
}

// Every way an exchange can go wrong, with what the answer object then holds.
TEST_F(TransportTest, FailuresLeaveExplainingAnswer) {
    const std::string ok = R"({"errcode":0,"msg":"","data":""})";
    struct Case {
        const char* name;
        std::optional<std::string> handshake;
        std::optional<std::string> call;
        std::string code;
        std::string msg;
        std::size_t calls;
    };
    const Case cases[] = {
        {"empty handshake", "", ok, "9999", "服务器访问失败!", 0},
        {"html handshake", "<html><body>502 Bad Gateway</body></html>", ok, "9999",
         "服务器访问错误!", 0},
        {"refused handshake", R"({"errcode":403,"msg":"拒绝访问","data":""})", ok, "403",
         "拒绝访问", 0},
        {"handshake without key", R"({"errcode":0,"msg":""})", ok, "9999", "服务器访问错误!", 0},
        {"handshake with number key", R"({"errcode":0,"msg":"","data":12})", ok, "9999",
         "服务器访问错误!", 0},
        {"empty call answer", std::nullopt, "", "9999", "服务器访问失败!", 1},
        {"html call answer", std::nullopt, "<html>404</html>", "9999", "服务器访问错误!", 1},
        {"call refused", std::nullopt, R"({"errcode":"12","msg":"参数错误","data":""})", "12",
         "参数错误", 1},
        {"data not json", std::nullopt, R"({"errcode":0,"msg":"","data":"not json"})", "9999",
         "服务器访问错误!2", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        service.handshakeAnswer = c.handshake;
        service.callAnswer = c.call;
        service.calls.clear();
        EXPECT_FALSE(transport.callData(answer, "init", {}, 1));
        EXPECT_EQ(answer.errorCode(), c.code);
        EXPECT_EQ(answer.message(), c.msg);
        EXPECT_EQ(service.calls.size(), c.calls);
    }
}

TEST_F(TransportTest, CallDataDecodesOrKeepsEnvelope) {
    // Empty "data": success, the envelope stays.
    service.callAnswer = R"({"errcode":0,"msg":"好","data":""})";
    ASSERT_TRUE(transport.callData(answer, "init", {}, 0));
    EXPECT_EQ(answer.message(), "好");

    // Plain "data" is parsed as it stands.
    service.callAnswer = R"({"errcode":0,"msg":"","data":"{\"a\":\"b\"}"})";
    ASSERT_TRUE(transport.callData(answer, "x", {}, 1));
    EXPECT_EQ(answer.toText(), R"({"a":"b"})");

    // Encoded "data" is decoded with the call's own rand.
    service.callAnswer.reset();
    service.initPayload = R"({"drawurl":"http://d/draw.php","version":"1.15"})";
    ASSERT_TRUE(transport.callData(answer, "init", {}, 0));
    EXPECT_EQ(answer.memberText("drawurl"), "http://d/draw.php");
    EXPECT_EQ(answer.memberText("version"), "1.15");

    // Decoding with the wrong rand gives bytes that are no JSON.
    service.callAnswer =
        R"({"errcode":0,"msg":"","data":")" + codec::encodeData("{}", 10'000) + R"("})";
    EXPECT_FALSE(transport.callData(answer, "init", {}, 0));
    EXPECT_EQ(answer.message(), "服务器访问错误!2");
}

TEST(ClientNewestDraws, SplitsAtTheSeparator) {
    struct Case {
        const char* text;
        bool ok;
        std::vector<std::string> parts;
    };
    const Case cases[] = {
        {"A| |B| |C", true, {"A", "B", "C"}},
        {"A| |B| |", true, {"A", "B"}},
        {"| |A", true, {"", "A"}},
        {"A| || |B", true, {"A", "", "B"}},
        {"A|+|B", true, {"A|+|B"}},
        {"", false, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        FakeService service;
        service.initPayload = FakeService::initPayloadFor("http://fake");
        service.newestDrawText = c.text;
        FakeExchange http(service);
        platform::ManualTime time(kNowMillis, 0);
        ServiceClient client(http, time);
        ASSERT_TRUE(client.connect("http://fake/appinit.php", 1));
        std::vector<std::string> parts{"old"};
        EXPECT_EQ(client.newestDraws(parts), c.ok);
        EXPECT_EQ(parts, c.parts);
        EXPECT_EQ(http.urls.back(), "http://fake/draw.php");
    }
}

TEST_F(TransportTest, SetErrorReplacesContentInOrder) {
    ASSERT_TRUE(answer.parse(R"({"other":1,"errcode":0})"));
    ServiceTransport::setError(answer, "9999", "服务器访问失败!", "");
    EXPECT_EQ(answer.toText(), R"({"errcode":"9999","msg":"服务器访问失败!","data":""})");
}

}  // namespace
}  // namespace quorsa::service
