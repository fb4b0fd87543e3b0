#include "service/service_client.h"

#include <gtest/gtest.h>

#include <QTimer>

#include "fake_service.h"
#include "platform/http_client.h"
#include "platform/time_source.h"

namespace quorsa::service {
namespace {

using quorsa::testing::FakeService;
using quorsa::testing::RecordingServer;
using quorsa::testing::SilentServer;
using quorsa::testing::TestServer;
using quorsa::testing::unusedPort;

const std::string kRows =
    "20261211|+|003|+|2026-12-11 09:00:00|+|1,2,3|+|305419896\r\n"
    "20261211|+|002|+|2026-12-11 08:50:00|+|4,4,6|+|-2\r\n"
    "20261211|+|001|+|2026-12-11 08:40:00|+|6,5,1|+|77";

const std::string kNewest =
    "20261211| |003| |2026-12-11 09:00:00| |1,2,3| |305419896| |20261211| |004| |"
    "2026-12-11 09:10:00";

class ClientTest : public ::testing::Test {
protected:
    ClientTest() {
        server.with([](FakeService& s) {
            s.rows = kRows;
            s.newestDrawText = kNewest;
            s.newestIssue = "20261211003";
        });
    }

    std::string loopback(int port) {
        return "http://127.0.0.1:" + std::to_string(port) + "/appinit.php";
    }

    TestServer server;
    platform::HttpClient http{5000};
    platform::SystemTime time;
    ServiceClient client{http, time};
};

TEST_F(ClientTest, ConnectsAndFetchesEverything) {
    ASSERT_TRUE(client.connect(server.url("/appinit.php"), 1002)) << client.lastError();
    const InitRecord record = client.initRecord();
    EXPECT_EQ(record.drawurl, server.url("/draw.php"));
    EXPECT_EQ(record.newphase, server.url("/newphase.txt"));
    EXPECT_EQ(record.advert1, server.url("/advert.html"));
    EXPECT_EQ(record.version, "1.15");
    EXPECT_EQ(record.proupurl, server.url("/download/client.exe"));

    std::vector<std::string> parts;
    ASSERT_TRUE(client.newestDraws(parts));
    EXPECT_EQ(parts,
              (std::vector<std::string>{"20261211", "003", "2026-12-11 09:00:00", "1,2,3",
                                        "305419896", "20261211", "004", "2026-12-11 09:10:00"}));

    for (bool spaced : {false, true}) {
        SCOPED_TRACE(spaced ? "spaced answer" : "compact answer");
        server.with([&](FakeService& s) { s.spacedSelectDraw = spaced; });
        DrawTable table;
        ASSERT_TRUE(client.recentDraws(50, table)) << client.lastError();
        ASSERT_EQ(table.size(), 3u);
        EXPECT_EQ(table[0], (std::vector<std::string>{"20261211", "003", "2026-12-11 09:00:00",
                                                      "1,2,3", "305419896"}));
        EXPECT_EQ(table[2][4], "77");
    }
    EXPECT_EQ(client.newestIssue(), "20261211003");

    server.with([](FakeService& s) {
        ASSERT_EQ(s.calls.size(), 4u);
        EXPECT_EQ(s.calls[0].funname, "init");
        EXPECT_EQ(s.calls[0].appid, "1002");
        EXPECT_TRUE(s.calls[0].param.empty());
        EXPECT_EQ(s.calls[1].funname, "newestdraw");
        EXPECT_TRUE(s.calls[1].param.empty());  // no session value yet
        EXPECT_EQ(s.calls[2].param, (std::vector<std::string>{"", "50"}));
        EXPECT_EQ(s.handshakeBodies.size(), 4u);
        EXPECT_TRUE(s.undecodable.empty());
    });
}

TEST_F(ClientTest, SessionValueGoesFirst) {
    ASSERT_TRUE(client.connect(server.url("/appinit.php"), 1));
    client.setSessionValue("s-1");
    std::vector<std::string> parts;
    DrawTable table;
    ASSERT_TRUE(client.newestDraws(parts));
    ASSERT_TRUE(client.recentDraws(2, table));
    server.with([](FakeService& s) {
        EXPECT_EQ(s.calls[1].param, (std::vector<std::string>{"s-1"}));
        EXPECT_EQ(s.calls[2].param, (std::vector<std::string>{"s-1", "2"}));
    });
}

TEST_F(ClientTest, ConnectFailuresCarryTheAnswer) {
    struct Case {
        const char* name;
        std::optional<std::string> handshake;
        std::optional<std::string> call;
        const char* error;
    };
    const Case cases[] = {
        {"empty body", "", std::nullopt, "初始化连接服务器失败！：服务器访问失败! 错误代码：9999"},
        {"html error page", "<html><head><title>500</title></head><body>Error</body></html>",
         std::nullopt, "初始化连接服务器失败！：服务器访问错误! 错误代码：9999"},
        {"refusal", R"({"errcode":1,"msg":"应用未授权","data":""})", std::nullopt,
         "初始化连接服务器失败！：应用未授权 错误代码：1"},
        {"empty call answer", std::nullopt, "",
         "初始化连接服务器失败！：服务器访问失败! 错误代码：9999"},
        {"data not JSON", std::nullopt, R"({"errcode":0,"msg":"","data":"3F3F3F"})",
         "初始化连接服务器失败！：服务器访问错误!2 错误代码：9999"},
        {"call refused", std::nullopt, R"({"errcode":"-3","msg":"维护中"})",
         "初始化连接服务器失败！：维护中 错误代码：-3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        server.with([&](FakeService& s) {
            s.handshakeAnswer = c.handshake;
            s.callAnswer = c.call;
        });
        ServiceClient fresh(http, time);
        EXPECT_FALSE(fresh.connect(server.url("/appinit.php"), 1));
        EXPECT_EQ(fresh.lastError(), c.error);
        EXPECT_EQ(fresh.initRecord(), InitRecord{});
    }
}

TEST_F(ClientTest, NothingListeningOnEitherAddress) {
    const char* expected = "初始化连接服务器失败！：服务器访问失败! 错误代码：9999";
    EXPECT_FALSE(client.connect(loopback(unusedPort()), 1));
    EXPECT_EQ(client.lastError(), expected);
    const std::string fallback =
        "http://localhost:" + std::to_string(unusedPort()) + "/appinit.php";
    EXPECT_FALSE(client.connect(fallback, 1));
    EXPECT_EQ(client.lastError(), expected);
}

TEST_F(ClientTest, ServerThatNeverAnswersTimesOut) {
    SilentServer silent;
    platform::HttpClient impatient(300);
    ServiceClient slowClient(impatient, time);
    EXPECT_FALSE(slowClient.connect(loopback(silent.port()), 1));
    EXPECT_EQ(slowClient.lastError(), "初始化连接服务器失败！：服务器访问失败! 错误代码：9999");
}

TEST_F(ClientTest, DrawCallFailures) {
    const int gone = unusedPort();
    server.with([&](FakeService& s) {
        s.initPayload = R"({"drawurl":"http://127.0.0.1:)" + std::to_string(gone) +
                        R"(/draw.php","newphase":"http://127.0.0.1:)" + std::to_string(gone) +
                        R"(/newphase.txt"})";
    });
    ASSERT_TRUE(client.connect(server.url("/appinit.php"), 1));
    DrawTable table{{"kept"}};
    EXPECT_FALSE(client.recentDraws(50, table));
    EXPECT_EQ(client.lastError(), "获取最新开奖数据失败!服务器访问失败! 错误代码：9999");
    EXPECT_EQ(table, (DrawTable{{"kept"}}));

    std::vector<std::string> parts{"kept"};
    EXPECT_FALSE(client.newestDraws(parts));
    EXPECT_EQ(client.lastError(),
              "获取最新开奖数据失败!服务器访问失败! 错误代码：9999");  // unchanged
    EXPECT_EQ(client.newestIssue(), "");
    EXPECT_EQ(client.lastError(), "最新期号获取失败!");
}

TEST_F(ClientTest, ConnectWithoutDrawUrlFailsLater) {
    server.with([](FakeService& s) { s.initPayload = R"({"version":"1.15"})"; });
    ASSERT_TRUE(client.connect(server.url("/appinit.php"), 1));
    EXPECT_EQ(client.initRecord().version, "1.15");
    DrawTable table;
    EXPECT_FALSE(client.recentDraws(50, table));
    EXPECT_EQ(client.lastError(), "获取最新开奖数据失败!服务器访问失败! 错误代码：9999");
}

TEST_F(ClientTest, SelectDrawFaults) {
    ASSERT_TRUE(client.connect(server.url("/appinit.php"), 1));
    struct Case {
        const char* name;
        std::string answer;
        bool ok;
        const char* error;
    };
    const Case cases[] = {
        {"refusal", R"({"errcode":7,"msg":"会话无效","data":""})", false,
         "获取最新开奖数据失败!会话无效 错误代码：7"},
        {"html", "<html>oops</html>", false, "获取最新开奖数据失败!服务器访问错误! 错误代码：9999"},
        {"data not JSON", R"({"errcode":0,"msg":"","data":"rows?"})", false,
         "获取最新开奖数据失败!服务器访问错误!2 错误代码：9999"},
        {"no rows", R"({"errcode":0,"msg":"","data":"{\"data\":\"\"}"})", true, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        server.with([&](FakeService& s) { s.callAnswer = c.answer; });
        DrawTable table{{"kept"}};
        EXPECT_EQ(client.recentDraws(50, table), c.ok);
        if (!c.ok) {
            EXPECT_EQ(client.lastError(), c.error);
        }
        EXPECT_EQ(table, (DrawTable{{"kept"}}));
    }
}

TEST_F(ClientTest, NewestIssueNeedsABody) {
    ASSERT_TRUE(client.connect(server.url("/appinit.php"), 1));
    server.with([](FakeService& s) { s.newestIssue = ""; });
    EXPECT_EQ(client.newestIssue(), "");
    EXPECT_EQ(client.lastError(), "最新期号获取失败!");
}

TEST(HttpClient, WaitingLetsTimersRunNested) {
    SilentServer silent;
    platform::HttpClient http(300);
    bool ticked = false;
    QTimer::singleShot(0, [&] { ticked = true; });
    EXPECT_EQ(http.post("http://127.0.0.1:" + std::to_string(silent.port()) + "/appinit.php",
                        postHeaders(), "DATA=GETRAND?1"),
              "");
    EXPECT_TRUE(ticked);
}

TEST(ClientWire, HandshakeAndGetAsSentOnTheWire) {
    RecordingServer recorder(R"({"errcode":5,"msg":"拒绝","data":""})");
    platform::HttpClient http(5000);
    platform::ManualTime time(1'765'432'100'500, 0);
    ServiceClient client(http, time);
    EXPECT_FALSE(
        client.connect("http://127.0.0.1:" + std::to_string(recorder.port()) + "/appinit.php", 3));
    EXPECT_EQ(client.lastError(), "初始化连接服务器失败！：拒绝 错误代码：5");

    const auto requests = recorder.requests();
    ASSERT_EQ(requests.size(), 1u);
    const std::string& r = requests[0];
    EXPECT_EQ(r.rfind("POST /appinit.php HTTP/1.1\r\n", 0), 0u) << r;
    const char* headers[] = {
        "\r\nAccept: */*\r\n",
        "\r\nAccept-Language: zh-CN\r\n",
        "\r\nUser-Agent: Mozilla/5.0 (compatible; MSIE 9.0; Windows NT 6.1; WOW64; "
        "Trident/5.0)\r\n",
        "\r\nContent-Type: application/x-www-form-urlencoded\r\n",
        "\r\nAccept-Encoding: deflate\r\n",
        "\r\nConnection: Keep-Alive\r\n",
        "\r\nCache-Control: no-cache\r\n",
    };
    std::size_t last = 0;
    for (const char* header : headers) {
        SCOPED_TRACE(header);
        const std::size_t at = r.find(header);
        ASSERT_NE(at, std::string::npos) << r;
        EXPECT_GT(at, last);
        last = at;
    }
    EXPECT_TRUE(r.ends_with("\r\n\r\nDATA=GETRAND?1765432100")) << r;
}

TEST(HttpClient, PostKeepsAnyStatusGetWantsSuccess) {
    platform::HttpClient http(5000);
    {
        RecordingServer recorder("<html>Internal error</html>", "500 Internal Server Error");
        const std::string base = "http://127.0.0.1:" + std::to_string(recorder.port());
        EXPECT_EQ(http.post(base + "/appinit.php", postHeaders(), "x"),
                  "<html>Internal error</html>");
        EXPECT_EQ(http.get(base + "/newphase.txt"), "");
    }
    RecordingServer recorder("20261211004");
    EXPECT_EQ(http.get("http://127.0.0.1:" + std::to_string(recorder.port()) + "/newphase.txt"),
              "20261211004");
    const auto requests = recorder.requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].rfind("GET /newphase.txt HTTP/1.1\r\n", 0), 0u) << requests[0];
    EXPECT_NE(requests[0].find("\r\nAccept: */*\r\n"), std::string::npos) << requests[0];
}

}  // namespace
}  // namespace quorsa::service
