#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "service/service_client.h"

namespace quorsa::service {
namespace {

TEST(DrawTable, ParsesLinesAndRunsFieldsOn) {
    struct Case {
        const char* text;
        DrawTable table;
    };
    const Case cases[] = {
        {"1|+|2\r\n3|+|4", {{"1", "2"}, {"3", "4"}}},
        {"1|+|2|+|3\r\n4", {{"1", "2"}, {"3", "4"}}},
        {"1|+|2|+|3\r\n4|+|5", {{"1", "2"}, {"3", "4"}}},  // the fifth field is dropped
        {"a\r\nb\r\nc\r\nd", {{"a"}, {"b"}, {"c"}, {"d"}}},
        {"a|+|b\r\n", {{"a", "b"}}},  // a break at the very end adds no row
        {"|+|x\r\n\r\ny|+|", {{""}, {"x"}, {"y"}}},
        {"\r\n\r\n", {{}, {}}},  // no field at all: rows without columns
        {"only one", {{"only one"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        DrawTable table{{"old"}};
        ASSERT_TRUE(parseDrawTable(c.text, table));
        EXPECT_EQ(table, c.table);
    }
    DrawTable table{{"old"}};
    EXPECT_FALSE(parseDrawTable("", table));
    EXPECT_EQ(table, (DrawTable{{"old"}}));
}

// The envelope as the service writes it, compactly or indented.
std::string selectDrawAnswer(const std::string& rows, int indent) {
    nlohmann::ordered_json envelope;
    envelope["errcode"] = 0;
    envelope["msg"] = "";
    envelope["data"] = nlohmann::ordered_json{{"data", rows}}.dump(indent);
    return envelope.dump(indent);
}

TEST(SelectDrawRows, RowsAreTheInnerDataInEveryLayout) {
    const std::string rows[] = {
        "20261211|+|002|+|2026-12-11 08:50:00|+|4,4,6|+|9\r\n"
        "20261211|+|001|+|2026-12-11 08:40:00|+|6,5,1|+|77",
        "a|+|1\r\nb|+|2\r\nc|+|3\r\nd|+|4\r\n",
        "开|+|\"quoted\"|+|back\\slash",
        "",
    };
    for (const std::string& text : rows) {
        for (int indent : {-1, 0, 2, 4}) {
            SCOPED_TRACE(text + " / indent " + std::to_string(indent));
            std::string got = "untouched";
            ASSERT_TRUE(selectDrawRows(selectDrawAnswer(text, indent), got));
            EXPECT_EQ(got, text);
        }
    }
}

TEST(SelectDrawRows, CompactAnswerGivesNoBogusRow) {
    // Written by hand as a compact writer puts it: the envelope ends in "}.
    const std::string raw =
        R"({"errcode":0,"msg":"","data":"{\"data\":\"a|+|1\\r\\nb|+|2\\r\\nc|+|3\\r\\nd|+|4\\r\\n\"}"})";
    std::string rows;
    ASSERT_TRUE(selectDrawRows(raw, rows));
    EXPECT_EQ(rows, "a|+|1\r\nb|+|2\r\nc|+|3\r\nd|+|4\r\n");
    DrawTable table;
    ASSERT_TRUE(parseDrawTable(rows, table));
    EXPECT_EQ(table, (DrawTable{{"a", "1"}, {"b", "2"}, {"c", "3"}, {"d", "4"}}));
}

TEST(SelectDrawRows, TwiceEscapedBreaksAreRestored) {
    // Rows that still hold an escaped line break after both layers.
    const std::string raw = selectDrawAnswer("a|+|1\\\\r\\\\nb|+|2", -1);
    std::string rows;
    ASSERT_TRUE(selectDrawRows(raw, rows));
    EXPECT_EQ(rows, "a|+|1\r\nb|+|2");
}

TEST(SelectDrawRows, OtherShapesAreRefused) {
    const std::string cases[] = {
        "",
        "<html>500</html>",
        R"({"errcode":0,"msg":""})",
        R"({"errcode":0,"data":12})",
        R"({"errcode":0,"data":{"data":"a|+|b"}})",
        R"({"errcode":0,"data":"a|+|b"})",
        R"({"errcode":0,"data":"{\"rows\":\"a\"}"})",
        R"({"errcode":0,"data":"{\"data\":[1]}"})",
        R"({"errcode":0,"data":"[\"data\"]"})",
    };
    for (const std::string& raw : cases) {
        SCOPED_TRACE(raw);
        std::string rows = "untouched";
        EXPECT_FALSE(selectDrawRows(raw, rows));
        EXPECT_EQ(rows, "untouched");
    }
}

}  // namespace
}  // namespace quorsa::service
