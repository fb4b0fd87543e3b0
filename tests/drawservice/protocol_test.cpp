#include <gtest/gtest.h>
#include <sqlite3.h>

#include "service/codec/draw_time.h"
#include "drawservice/csv_import.h"
#include "service/codec/codec.h"
#include "support.h"

namespace quorsa::drawservice {
namespace {

using testing::Json;
using testing::kNoonBeijing;

const ClientId kClient{"127.0.0.1", 40000};
const std::string kBase = "http://127.0.0.1:19300";

std::vector<std::string> split(const std::string& text, const std::string& separator) {
    std::vector<std::string> parts;
    std::size_t from = 0;
    for (std::size_t at; (at = text.find(separator, from)) != std::string::npos;) {
        parts.push_back(text.substr(from, at - from));
        from = at + separator.size();
    }
    parts.push_back(text.substr(from));
    return parts;
}

class Protocol : public ::testing::Test {
protected:
    void SetUp() override { open(DrawSchedule::real()); }

    void open(DrawSchedule schedule, ServiceConfig config = {}) {
        m_service.reset();
        m_store.reset();
        std::string error;
        m_store = DrawStore::open(m_dir.file("draws.db"), error);
        ASSERT_TRUE(m_store) << error;
        m_service = std::make_unique<DrawService>(*m_store, schedule, m_clock, std::move(config));
    }

    Json post(const std::string& body, const ClientId& client = kClient) {
        const PostReply reply = m_service->handlePost(body, client, kBase);
        Json answer = Json::parse(reply.body, nullptr, false);
        EXPECT_TRUE(answer.is_object()) << reply.body;
        return answer;
    }

    std::string handshake(const ClientId& client = kClient) {
        const Json answer = post(testing::handshakeBody(), client);
        return answer.value("data", "");
    }

    Json call(const std::string& funname, const std::vector<std::string>& param,
              std::int32_t rand = 4321) {
        return post(testing::callBody(handshake(), rand, funname, param));
    }

    // The rows of a select_draw answer, newest first, each split into fields.
    std::vector<std::vector<std::string>> rows(const Json& answer) {
        const Json inner = Json::parse(answer.at("data").get<std::string>(), nullptr, false);
        std::vector<std::vector<std::string>> out;
        for (const auto& row : split(inner.at("data").get<std::string>(), "\r\n")) {
            out.push_back(split(row, "|+|"));
        }
        return out;
    }

    testing::TempDir m_dir;
    testing::TestClock m_clock{kNoonBeijing};
    std::unique_ptr<DrawStore> m_store;
    std::unique_ptr<DrawService> m_service;
};

TEST_F(Protocol, HandshakeAnswersWithAFreshCallKey) {
    const Json answer = post(testing::handshakeBody());
    EXPECT_EQ(answer["errcode"], 0);
    EXPECT_EQ(answer["msg"], "");
    const std::string key = answer["data"];
    EXPECT_EQ(key.size(), 16u);
    EXPECT_EQ(key.find_first_not_of("0123456789abcdef"), std::string::npos);
    EXPECT_NE(handshake(), key);
}

TEST_F(Protocol, InitAnnouncesOwnAddressesVersionAndDownload) {
    Json answer = call("init", {}, 77);
    ASSERT_EQ(answer["errcode"], 0) << answer;
    EXPECT_EQ(testing::decodedData(answer, 77), (Json{
                                                    {"drawurl", kBase + "/draw.php"},
                                                    {"newphase", kBase + "/newphase.txt"},
                                                    {"advert1", kBase + "/advert.html"},
                                                    {"version", "1.15"},
                                                    {"proupurl", kBase + "/download/quorsa-client"},
                                                }));
    open(DrawSchedule::real(),
         ServiceConfig{.announceVersion = "9.9", .packageName = "quorsa-client", .keyLimits = {}});
    answer = call("init", {}, 9999);
    EXPECT_EQ(testing::decodedData(answer, 9999)["version"], "9.9");
    EXPECT_NE(call("init", {"x"})["errcode"], 0);
}

TEST_F(Protocol, NewestDrawIsTheCurrentSlotAndAnnouncesTheNext) {
    for (const std::vector<std::string>& param :
         {std::vector<std::string>{}, std::vector<std::string>{"session"}}) {
        const Json answer = call("newestdraw", param, 5);
        ASSERT_EQ(answer["errcode"], 0) << answer;
        const std::vector<std::string> parts =
            split(testing::decodedData(answer, 5)["data"].get<std::string>(), "| |");
        ASSERT_EQ(parts.size(), 8u);
        EXPECT_EQ(parts[0], "20261211");
        EXPECT_EQ(parts[1], "021");
        EXPECT_EQ(parts[2], "2026-12-11 12:00:00");
        ASSERT_EQ(parts[3].size(), 5u);
        for (std::size_t i : {0u, 2u, 4u}) {
            EXPECT_TRUE(parts[3][i] >= '1' && parts[3][i] <= '6') << parts[3];
        }
        EXPECT_GT(std::stoll(parts[4]), 0);
        EXPECT_EQ(parts[5], "20261211");
        EXPECT_EQ(parts[6], "022");
        EXPECT_EQ(parts[7], "2026-12-11 12:10:00");
    }
    EXPECT_EQ(call("newestdraw", {"a", "b"})["errcode"], 1004);
}

TEST_F(Protocol, SelectDrawGivesRowsNewestFirstBackFilledOnFirstStart) {
    const Json answer = call("select_draw", {"", "50"});
    ASSERT_EQ(answer["errcode"], 0) << answer;
    ASSERT_TRUE(answer["data"].is_string());
    const auto table = rows(answer);
    ASSERT_EQ(table.size(), 50u);
    auto linear = *linearFromIssue("20261211021");
    for (const auto& row : table) {
        ASSERT_EQ(row.size(), 5u);
        EXPECT_EQ(row[0] + row[1], issueFromLinear(linear).text());
        EXPECT_EQ(codec::parseDrawTime(row[2]), DrawSchedule::real().slotTime(linear));
        --linear;
    }
    EXPECT_EQ(table[20][0] + table[20][1], "20261211001");
    EXPECT_EQ(table[21][0] + table[21][1], "20261210082");
    EXPECT_EQ(rows(call("select_draw", {"s", "1000"})).size(), 1000u);
    EXPECT_EQ(rows(call("select_draw", {"s", "1"})).size(), 1u);
}

TEST_F(Protocol, SelectDrawRefusesAbsurdCountsAndArity) {
    const std::vector<std::vector<std::string>> cases = {
        {"", "0"},
        {"", "1001"},
        {"", "-5"},
        {"", "abc"},
        {"", ""},
        {"", "50x"},
        {"", "99999999999999999999"},
        {"50"},
        {},
        {"", "50", "x"},
    };
    for (const auto& param : cases) {
        SCOPED_TRACE(::testing::PrintToString(param));
        const Json answer = call("select_draw", param);
        EXPECT_EQ(answer["errcode"], 1004);
        EXPECT_FALSE(answer["msg"].get<std::string>().empty());
    }
}

TEST_F(Protocol, BadBodiesGetJsonRefusals) {
    const std::string key = handshake();
    auto encoded = [&](const std::string& envelope) {
        return "DATA=" + codec::encodeBody(codec::urlEscape(envelope), key);
    };
    const struct {
        std::string name;
        std::string body;
        int errcode;
    } cases[] = {
        {"empty", "", 1002},
        {"no DATA field", "FOO=1", 1002},
        {"empty DATA", "DATA=", 1002},
        {"not hex", "DATA=XYZW", 1002},
        {"odd length", "DATA=ABC", 1002},
        {"handshake without seconds", "DATA=GETRAND?", 1002},
        {"handshake with letters", "DATA=GETRAND?12ab", 1002},
        {"no key decodes it", "DATA=" + codec::encodeBody("%7B%7D", "0000000000000000"), 1001},
        {"not JSON", encoded("hello"), 1002},
        {"JSON but no object", encoded(R"(["init"])"), 1002},
        {"no param", encoded(R"({"rand":"1","funname":"init","appid":"1"})"), 1002},
        {"rand not a number", encoded(R"({"rand":"x","funname":"init","appid":"1","param":[]})"),
         1002},
        {"rand negative", encoded(R"({"rand":"-1","funname":"init","appid":"1","param":[]})"),
         1002},
        {"param not texts",
         encoded(R"({"rand":"1","funname":"init","appid":"1","param":[{"a":1}]})"), 1002},
        {"not UTF-8", encoded("{\"rand\":\"1\",\"funname\":\"\xff\",\"appid\":\"1\",\"param\":[]}"),
         1002},
        {"unknown function",
         encoded(R"({"rand":"1","funname":"drop_table","appid":"1","param":[]})"), 1003},
        {"too large", "DATA=" + std::string(kMaxBodyBytes, 'A'), 1005},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Json answer = post(c.body);
        EXPECT_EQ(answer["errcode"], c.errcode);
        EXPECT_FALSE(answer["msg"].get<std::string>().empty());
        EXPECT_EQ(answer["data"], "");
    }
    // Garbage did not use up the key: an undecodable body burns nothing, and
    // the unknown function (a valid envelope) took its own key.
    EXPECT_EQ(post(testing::callBody(key, 1, "newestdraw", {}))["errcode"], 1001);
    EXPECT_EQ(call("newestdraw", {})["errcode"], 0);
}

TEST_F(Protocol, GarbageFromOthersLeavesAClientsKeyUsable) {
    const std::string key = handshake();
    const ClientId stranger{"127.0.0.1", 50000};
    for (int i = 0; i < 20; ++i) {
        post("DATA=" + codec::encodeBody("hello", key), stranger);  // right key, not JSON
        post("DATA=" + codec::hexEncode(std::string(40, static_cast<char>(i))), stranger);
    }
    EXPECT_EQ(post(testing::callBody(key, 3, "newestdraw", {}))["errcode"], 0);
}

TEST_F(Protocol, CallKeysAreSingleUseAndExpire) {
    const std::string body = testing::callBody(handshake(), 12, "newestdraw", {});
    EXPECT_EQ(post(body)["errcode"], 0);
    EXPECT_EQ(post(body)["errcode"], 1001) << "a replayed call";

    const std::string late = testing::callBody(handshake(), 12, "newestdraw", {});
    m_clock.advanceSeconds(61);
    EXPECT_EQ(post(late)["errcode"], 1001) << "an expired key";

    const std::string elsewhere = testing::callBody(handshake(), 12, "newestdraw", {});
    EXPECT_EQ(post(elsewhere, ClientId{"10.1.2.3", 40000})["errcode"], 1001)
        << "a key used from another address";
}

TEST_F(Protocol, RealScheduleDrawsNewSlotsAsTimePasses) {
    EXPECT_EQ(m_service->newestIssue(), "20261211021");
    const auto before = rows(call("select_draw", {"", "2"}));
    m_clock.advanceSeconds(599);
    EXPECT_EQ(m_service->newestIssue(), "20261211021");
    m_clock.advanceSeconds(1);
    EXPECT_EQ(m_service->newestIssue(), "20261211022");
    const auto after = rows(call("select_draw", {"", "3"}));
    EXPECT_EQ(after[1], before[0]) << "a stored draw never changes";
    EXPECT_EQ(after[2], before[1]);
    m_clock.setSeconds(*codec::parseDrawTime("2026-12-12 08:39:00"));
    EXPECT_EQ(m_service->newestIssue(), "20261211082");
}

TEST_F(Protocol, DemoScheduleKeepsIssueFormatsAndWrapsAfter082) {
    open(DrawSchedule::demo(20));
    EXPECT_EQ(m_service->newestIssue(), "20261211001");
    const auto first = rows(call("select_draw", {"", "2"}));
    EXPECT_EQ(first[1][0] + first[1][1], "20261210082");
    m_clock.advanceSeconds(20);
    EXPECT_EQ(m_service->newestIssue(), "20261211002");
    m_clock.advanceSeconds(20 * 80);
    EXPECT_EQ(m_service->newestIssue(), "20261211082");
    m_clock.advanceSeconds(20);
    EXPECT_EQ(m_service->newestIssue(), "20261212001");
    const Json answer = call("newestdraw", {}, 8);
    const auto parts = split(testing::decodedData(answer, 8)["data"].get<std::string>(), "| |");
    ASSERT_EQ(parts.size(), 8u);
    EXPECT_EQ(parts[6], "002");
    EXPECT_EQ(*codec::parseDrawTime(parts[7]) - *codec::parseDrawTime(parts[2]), 20);
}

TEST_F(Protocol, DrawsSurviveARestart) {
    const auto before = rows(call("select_draw", {"", "50"}));
    open(DrawSchedule::real());
    EXPECT_EQ(rows(call("select_draw", {"", "50"})), before);
    m_clock.advanceSeconds(3600);
    open(DrawSchedule::real());
    const auto later = rows(call("select_draw", {"", "56"}));
    EXPECT_EQ(std::vector(later.begin() + 6, later.end()), before);
}

TEST(CsvImport, ReportsBadLinesByNumberAndKeepsTheGoodOnes) {
    const std::string csv =
        "issue,draw time,numbers\r\n"
        "20261211001,2026-12-11 08:40:00,\"2,3,5\"\r\n"
        "20261211002,2026-12-11 08:50:00,1,1,6\r\n"
        "\r\n"
        "20261211003,2026-12-11 09:00:00,4 4 4\r\n"
        "20261211083,2026-12-11 09:10:00,\"1,2,3\"\r\n"
        "20261211004,2026-12-11 9:10:00,\"1,2,3\"\r\n"
        "20261211005,2026-12-11 09:20:00,\"1,2,7\"\r\n"
        "20261211006,2026-12-11 09:30:00\r\n"
        "20261211001,2026-12-11 08:40:00,\"2,3,5\"\r\n"
        "20261211007,2026-12-11 09:40:00,\"2,3\r\n"
        "20261211008,2026-12-11 09:50:00,126";
    const ImportResult result = parseDrawCsv(csv);
    std::vector<std::size_t> badLines;
    for (const auto& problem : result.problems) {
        badLines.push_back(problem.line);
        EXPECT_FALSE(problem.message.empty());
    }
    EXPECT_EQ(badLines, (std::vector<std::size_t>{6, 7, 8, 9, 10, 11}));
    std::vector<std::string> issues;
    for (const auto& draw : result.draws) {
        issues.push_back(draw.issue() + " " + draw.numbers);
    }
    EXPECT_EQ(issues, (std::vector<std::string>{"20261211001 2,3,5", "20261211002 1,1,6",
                                                "20261211003 4,4,4", "20261211008 1,2,6"}));
}

TEST(CsvImport, StoresAllInOneTransactionOrNothing) {
    testing::TempDir dir;
    std::string error;
    auto store = DrawStore::open(dir.file("d.db"), error);
    ASSERT_TRUE(store) << error;
    const std::string csv =
        "issue,time,numbers\n"
        "20261211001,2026-12-11 08:40:00,\"2,3,5\"\n"
        "20261211002,2026-12-11 08:50:00,\"1,1,6\"\n";
    // A store that fails on the second row.
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(dir.file("d.db").c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db,
                           "CREATE TRIGGER refuse BEFORE INSERT ON draws"
                           " WHEN NEW.issue = '20261211002' BEGIN SELECT RAISE(ABORT, 'no'); END",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    ImportResult result;
    EXPECT_FALSE(importDrawCsv(*store, csv, result, error));
    EXPECT_EQ(store->count(), 0) << "nothing half-imported";

    ASSERT_EQ(sqlite3_exec(db, "DROP TRIGGER refuse", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
    ASSERT_TRUE(importDrawCsv(*store, csv, result, error)) << error;
    std::vector<StoredDraw> stored;
    ASSERT_TRUE(store->recent(10, stored, error));
    ASSERT_EQ(stored.size(), 2u);
    EXPECT_EQ(stored[0].issue(), "20261211002");
    EXPECT_EQ(stored[0].drawTime, "2026-12-11 08:50:00");
    EXPECT_NE(stored[0].seed, 0) << "imported draws get a seed the plan book can use";
}

}  // namespace
}  // namespace quorsa::drawservice
