// The client classes against the real draw service, started on a free port.
#include <gtest/gtest.h>

#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <chrono>
#include <memory>
#include <thread>

#include "draws/draw_clock.h"
#include "draws/lottery_time.h"
#include "fake_service.h"
#include "platform/http_client.h"
#include "platform/text.h"
#include "platform/time_source.h"
#include "service/codec/codec.h"
#include "service/service_client.h"

namespace quorsa::service {
namespace {

class DrawService {
public:
    explicit DrawService(int demoSeconds) {
        port = quorsa::testing::unusedPort();
        const QString listen = QStringLiteral("127.0.0.1:%1").arg(port);
        process.setProgram(QStringLiteral(QUORSA_DRAW_SERVICE));
        process.setArguments({"--listen", listen, "--data", dir.filePath("draws.db"),
                              "--demo-interval", QString::number(demoSeconds)});
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start();
        if (!process.waitForStarted(10'000)) {
            return;
        }
        QByteArray out;
        while (!out.contains("listening on ") && process.waitForReadyRead(20'000)) {
            out += process.readAllStandardOutput();
        }
        ready = out.contains("listening on " + listen.toUtf8());
    }
    ~DrawService() {
        process.terminate();
        if (!process.waitForFinished(10'000)) {
            process.kill();
            process.waitForFinished(5'000);
        }
    }
    DrawService(const DrawService&) = delete;
    DrawService& operator=(const DrawService&) = delete;

    std::string url(const std::string& path) const {
        return "http://127.0.0.1:" + std::to_string(port) + path;
    }

    QTemporaryDir dir;
    QProcess process;
    int port = 0;
    bool ready = false;
};

class DrawServiceTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { service = std::make_unique<DrawService>(2); }
    static void TearDownTestSuite() { service.reset(); }
    void SetUp() override { ASSERT_TRUE(service->ready) << "draw-service did not start"; }

    static std::unique_ptr<DrawService> service;
    platform::HttpClient http{10'000};
    platform::SystemTime time;
    ServiceClient client{http, time};
};

std::unique_ptr<DrawService> DrawServiceTest::service;

bool isIssueSeq(const std::string& seq) {
    const int n = platform::leadingInt(seq);
    return seq.size() == 3 && seq.find_first_not_of("0123456789") == std::string::npos && n >= 1 &&
           n <= 82;
}

TEST_F(DrawServiceTest, ConnectAndEveryCall) {
    ASSERT_TRUE(client.connect(service->url("/appinit.php"), 1002)) << client.lastError();
    const InitRecord record = client.initRecord();
    EXPECT_FALSE(record.drawurl.empty());
    EXPECT_FALSE(record.newphase.empty());
    EXPECT_EQ(record.version, "1.15");

    std::vector<std::string> parts;
    ASSERT_TRUE(client.newestDraws(parts)) << client.lastError();
    ASSERT_EQ(parts.size(), 8u);
    EXPECT_EQ(parts[0].size(), 8u);
    EXPECT_TRUE(isIssueSeq(parts[1])) << parts[1];
    EXPECT_TRUE(draws::localToUnix(parts[2], false).has_value()) << parts[2];
    EXPECT_EQ(platform::splitText(parts[3], ",").size(), 3u) << parts[3];
    EXPECT_NE(platform::leadingInt(parts[4]), 0);
    EXPECT_TRUE(isIssueSeq(parts[6])) << parts[6];
    ASSERT_TRUE(draws::localToUnix(parts[7], false).has_value()) << parts[7];
    EXPECT_GT(*draws::localToUnix(parts[7], false), *draws::localToUnix(parts[2], false));

    const std::string issue = client.newestIssue();
    EXPECT_EQ(issue.size(), 11u) << issue;
    EXPECT_EQ(issue.find_first_not_of("0123456789"), std::string::npos) << issue;

    DrawTable table;
    ASSERT_TRUE(client.recentDraws(50, table)) << client.lastError();
    ASSERT_EQ(table.size(), 50u);
    for (std::size_t r = 0; r < table.size(); ++r) {
        SCOPED_TRACE(r);
        ASSERT_EQ(table[r].size(), 5u);
        EXPECT_TRUE(isIssueSeq(table[r][1]));
        EXPECT_TRUE(draws::localToUnix(table[r][2], false).has_value());
        if (r > 0) {
            EXPECT_LT(*draws::localToUnix(table[r][2], false),
                      *draws::localToUnix(table[r - 1][2], false))
                << "newest first";
        }
    }
}

TEST_F(DrawServiceTest, NewDrawOnTheDemoScheduleIsAcceptedOnce) {
    ASSERT_TRUE(client.connect(service->url("/appinit.php"), 1002)) << client.lastError();
    // The clock runs ahead of real time by six seconds per attempt, so it
    // asks as often as the loop below allows.
    platform::ManualTime clockTime(time.unixMillis(), 0);
    draws::DrawClock clock(client, clockTime);
    draws::DrawPair out;
    ASSERT_TRUE(clock.tryFetchNewDraw(out)) << client.lastError();
    const std::string first = out.current.fullIssue();

    // Poll until the demo schedule has drawn twice more: each new draw is
    // taken exactly once, in order.
    std::vector<std::string> accepted{first};
    std::int64_t ahead = 0;
    for (int i = 0; i < 150 && accepted.size() < 3; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        ahead += 6'000;
        clockTime.setUnixMillis(time.unixMillis() + ahead);
        if (clock.tryFetchNewDraw(out)) {
            EXPECT_EQ(clock.pair(), out);
            accepted.push_back(out.current.fullIssue());
        }
    }
    ASSERT_EQ(accepted.size(), 3u) << "fewer than two new draws within 30 s";
    EXPECT_LT(accepted[0], accepted[1]);
    EXPECT_LT(accepted[1], accepted[2]);
    EXPECT_EQ(clock.nextDrawTime(), *draws::localToUnix(out.next.drawTime, false));
}

TEST_F(DrawServiceTest, CallKeyServesOneCall) {
    ServiceTransport transport(http, time);
    transport.setup(service->url("/appinit.php"), 1002);
    ServiceAnswer answer;
    const std::string key = transport.fetchCallKey(answer, 42);
    ASSERT_FALSE(key.empty()) << answer.toText();

    const std::string envelope = R"({"rand":"42","funname":"init","appid":"1002","param":[]})";
    const std::string body = "DATA=" + codec::encodeBody(codec::urlEscape(envelope), key);
    ASSERT_TRUE(answer.parse(transport.post(service->url("/appinit.php"), body)));
    EXPECT_EQ(answer.errorCode(), "0");
    ASSERT_TRUE(answer.parse(transport.post(service->url("/appinit.php"), body)));
    EXPECT_NE(answer.errorCode(), "0");
    EXPECT_FALSE(answer.message().empty());
}

TEST_F(DrawServiceTest, OversizedBodyIsRefused) {
    ServiceTransport transport(http, time);
    const std::string reply =
        transport.post(service->url("/appinit.php"), "DATA=" + std::string(70 * 1024, 'A'));
    ServiceAnswer answer;
    ASSERT_TRUE(answer.parse(reply)) << reply;
    EXPECT_NE(answer.errorCode(), "0");
    EXPECT_FALSE(answer.message().empty());
    // And the service still answers afterwards.
    ASSERT_TRUE(client.connect(service->url("/appinit.php"), 1002)) << client.lastError();
}

}  // namespace
}  // namespace quorsa::service
