#include <gtest/gtest.h>

#include <map>

#include "draws/plan_replay.h"
#include "draws/plan_statistics.h"
#include "plan/plan_engine.h"
#include "platform/messages.h"
#include "support.h"

namespace quorsa::draws {
namespace {

constexpr std::int32_t kNewestSeed = 424242;

DrawHistory loadFixture() {
    DrawHistory history;
    const std::string text = readFile(QUORSA_TEST_DATA "/draws50.txt");
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        const auto row = parseDrawRow(text.substr(start, end - start));
        if (row)
            history.push_back(*row);
        start = end == std::string::npos ? text.size() : end + 1;
    }
    return history;
}

// A plan book set up as the client's start-up does.
struct Client {
    Client() {
        book.addPlan("和值单双", "和值单双", 3);
        book.setMaxLines(0);
        book.setHitChance(80);
        book.setResetOnMisses(0);
    }
    platform::RecordingMessages messages;
    plan::PlanEngine engine{messages};
    plan::PlanBook& book = engine.book();
};

TEST(Replay, FixedFixtureGivesTheCheckedInPlanOnEveryRun) {
    const DrawHistory history = loadFixture();
    ASSERT_EQ(history.size(), 50u);
    const std::string expected = readFile(QUORSA_TEST_DATA "/draws50_plan_periods3.txt");
    ASSERT_FALSE(expected.empty());
    Client first;
    for (int run = 0; run < 2; ++run) {
        SCOPED_TRACE(run);
        replayDraws(first.book, history, 3, 50, kNewestSeed);
        EXPECT_EQ(first.book.planText("和值单双"), expected);
    }
    Client second;
    second.book.setHitChance(0);
    replayDraws(second.book, history, 3, 50, kNewestSeed);
    EXPECT_EQ(second.book.planText("和值单双"), expected) << "a fresh engine, another hit chance";
}

TEST(Replay, EveryLineCarriesThePredictionOfTheDrawThatOpenedIt) {
    const DrawHistory history = loadFixture();
    std::map<std::string, const DrawRecord*> bySeq;
    for (const auto& draw : history)
        bySeq[draw.issueSeq] = &draw;
    Client client;
    replayDraws(client.book, history, 1, 50, kNewestSeed);
    const auto& lines = client.book.plans().front().lines;
    ASSERT_GT(lines.size(), 40u);
    std::int32_t hits = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        SCOPED_TRACE(lines[i].firstPeriod);
        // The line after period p was opened by draw p (the first by the oldest draw).
        const std::int32_t first = std::stoi(lines[i].firstPeriod);
        const std::string opener = i == 0 ? history.back().issueSeq
                                          : (first == 1 ? std::string("082")
                                                        : std::string(first - 1 < 10 ? "00" : "0") +
                                                              std::to_string(first - 1));
        ASSERT_TRUE(bySeq.count(opener));
        const DrawRecord& draw = *bySeq[opener];
        const std::int32_t seed = &draw == &history.front() ? kNewestSeed : draw.seed;
        EXPECT_EQ(lines[i].prediction, parityFor(std::stoi(draw.issueSeq) + seed + kSumParityHash));
        if (lines[i].status == plan::Hit)
            ++hits;
    }
    // An honest backtest of a coin-flip predictor: nowhere near the old 80 %.
    EXPECT_LT(hits, 35);
    EXPECT_EQ(lines.back().status, plan::Pending);
}

TEST(Replay, MissingElementsCountAsEmptyRecords) {
    DrawHistory history = loadFixture();
    history.resize(30);
    Client shortHistory;
    replayDraws(shortHistory.book, history, 2, 50, kNewestSeed);
    Client exact;
    replayDraws(exact.book, history, 2, 30, kNewestSeed);
    EXPECT_FALSE(exact.book.planText("和值单双").empty());
    EXPECT_EQ(shortHistory.book.planText("和值单双"), exact.book.planText("和值单双"));
    EXPECT_EQ(shortHistory.book.plans().front().periods, 2);

    Client empty;
    replayDraws(empty.book, {}, 3, 50, kNewestSeed);
    EXPECT_EQ(empty.book.plans().front().lineCount, 0);
}

plan::PlanEntry withStatuses(std::initializer_list<std::int32_t> statuses) {
    plan::PlanEntry entry;
    for (const std::int32_t status : statuses) {
        plan::PlanLine line;
        line.status = status;
        entry.lines.push_back(line);
    }
    entry.lineCount = static_cast<std::int32_t>(entry.lines.size());
    return entry;
}

TEST(Statistics, PlanBoxText) {
    using plan::Hit;
    using plan::Miss;
    using plan::Pending;
    struct Case {
        plan::PlanEntry copy;
        const char* line;
    };
    const Case cases[] = {
        {withStatuses({Hit, Hit, Pending}), "总计3期，中2期，挂0期，中奖率为66.67%"},
        {withStatuses({Miss, Miss, Pending}), "总计3期，中0期，挂2期，中奖率为0%"},
        {withStatuses({Hit, Miss, Miss, Miss, Miss, Miss, Miss, Miss}),
         "总计8期，中1期，挂7期，中奖率为12.5%"},
        {withStatuses({Hit, Hit, Hit, Hit, Hit, Hit, Miss, Miss, Miss, Pending}),
         "总计10期，中6期，挂3期，中奖率为60%"},
        {withStatuses({Hit, Hit}), "总计2期，中2期，挂0期，中奖率为100%"},
        {withStatuses({}), "总计0期，中0期，挂0期，中奖率为0%"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(planBoxText("计划\r\n", c.copy), std::string("计划\r\n\r\n\r\n当前计划统计：") +
                                                       c.line + "\r\n彩票有风险，投注需谨慎！");
    }
}

}  // namespace
}  // namespace quorsa::draws
