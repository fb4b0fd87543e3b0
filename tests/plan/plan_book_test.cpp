#include <gtest/gtest.h>

#include "plan/plan_engine.h"
#include "platform/messages.h"
#include "support.h"

namespace quorsa::plan {
namespace {

// Numbers with an odd and with an even sum.
constexpr const char* kOdd = "1,1,1";
constexpr const char* kEven = "1,1,2";

class PlanBookTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(book.addPlan("和值单双", "和值单双", 3));
        book.setResetOnMisses(0);
    }

    const PlanEntry& plan() const { return book.plans().front(); }
    const PlanLine& last() const { return plan().lines.back(); }
    // Numbers that hit or miss the open line's prediction.
    std::string hitting() const { return last().prediction == "单" ? kOdd : kEven; }
    std::string missing() const { return last().prediction == "单" ? kEven : kOdd; }

    platform::RecordingMessages messages;
    PlanEngine engine{messages};
    PlanBook& book = engine.book();
};

TEST_F(PlanBookTest, PeriodLabels) {
    struct Case {
        const char* issue;
        std::int32_t offset;
        const char* label;
    };
    const Case cases[] = {
        {"20261211023", 1, "024"}, {"20261211082", 1, "001"}, {"20261211081", 3, "002"},
        {"20261211081", 1, "082"}, {"20261211009", 0, "009"}, {"20261211005", 200, "041"},
        {"7", 2, "009"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.issue) + "+" + std::to_string(c.offset));
        EXPECT_EQ(book.periodLabel(c.issue, c.offset), c.label);
    }
    book.setPeriodsPerDay(0);
    EXPECT_EQ(book.periodsPerDay(), 82) << "a day without periods is refused";
}

TEST_F(PlanBookTest, ThreePeriodLineStaysPendingMissesOutAndOpensTheNextRange) {
    // The first draw opens a line at its own period and settles it at once.
    ASSERT_TRUE(book.addDraw("20261211022", kOdd, 1000, "", 0));
    ASSERT_EQ(plan().lines.front().firstPeriod, "022");
    ASSERT_EQ(plan().lines.front().lastPeriod, "024");
    // Make sure the line after 022 exists: hit whatever was predicted.
    book.clearLines();
    book.addDraw("20261211022", kOdd, 1000, "", 0);
    if (plan().lines.front().status != Hit) {
        book.clearLines();
        book.addDraw("20261211022", kEven, 1000, "", 0);
    }
    ASSERT_EQ(plan().lines.front().status, Hit);
    ASSERT_EQ(plan().lineCount, 2);
    EXPECT_EQ(plan().lines.front().checkedPeriod, "022");
    EXPECT_EQ(last().firstPeriod, "023");
    EXPECT_EQ(last().lastPeriod, "025");

    const std::string miss = missing();
    book.addDraw("20261211023", miss, 1001, "", 0);
    book.addDraw("20261211024", miss, 1002, "", 0);
    ASSERT_EQ(plan().lineCount, 2);
    EXPECT_EQ(last().status, Pending);
    EXPECT_EQ(last().checkedPeriod, "024");
    EXPECT_EQ(last().checkedNumbers, miss);

    book.addDraw("20261211025", miss, 1003, "", 0);
    ASSERT_EQ(plan().lineCount, 3);
    EXPECT_EQ(plan().lines[1].status, Miss);
    EXPECT_EQ(plan().lines[1].checkedPeriod, "025");
    EXPECT_EQ(last().status, Pending);
    EXPECT_EQ(last().firstPeriod, "026");
    EXPECT_EQ(last().lastPeriod, "028");
    EXPECT_EQ(last().checkedPeriod, "");
}

TEST_F(PlanBookTest, HitAtTheFirstPeriodClosesAtOnceAndDayWraps) {
    book.addDraw("20261211080", kOdd, 5, "", 0);
    // Walk to a line opened after 081 by hitting.
    book.addDraw("20261211081", hitting(), 6, "", 0);
    EXPECT_EQ(plan().lines[plan().lineCount - 2].status, Hit);
    EXPECT_EQ(last().firstPeriod, "082");
    EXPECT_EQ(last().lastPeriod, "002");
    book.addDraw("20261211082", missing(), 7, "", 0);
    book.addDraw("20261212001", missing(), 8, "", 0);
    EXPECT_EQ(last().status, Pending);
    book.addDraw("20261212002", missing(), 9, "", 0);
    EXPECT_EQ(plan().lines[plan().lineCount - 2].status, Miss);
    EXPECT_EQ(last().firstPeriod, "003");
}

TEST_F(PlanBookTest, FirstLineOfElevenDigitIssuesStartsAtTheDrawItself) {
    for (const char* issue : {"20261211001", "20261211023", "20261211082", "99991231050"}) {
        SCOPED_TRACE(issue);
        book.clearLines();
        book.addDraw(issue, kOdd, 77, "", 0);
        EXPECT_EQ(plan().lines.front().firstPeriod, std::string(issue).substr(8));
        EXPECT_EQ(plan().lines.front().checkedPeriod, std::string(issue).substr(8));
    }
}

TEST_F(PlanBookTest, RejectedDraws) {
    EXPECT_FALSE(book.addDraw("20261211001", "1,2", 5, "", 0));
    EXPECT_FALSE(book.addDraw("20261211001", "1,2,3,4", 5, "", 0));
    EXPECT_FALSE(book.addDraw("20261211001", "1,2,3", 5, "1,2", 1));
    EXPECT_EQ(plan().lineCount, 0);
    EXPECT_TRUE(book.addDraw("20261211001", "1,2,3", 0, "", 0)) << "seed 0 is accepted";
    EXPECT_EQ(plan().lineCount, 0) << "but adds nothing";
    std::vector<std::string> parts;
    EXPECT_TRUE(PlanBook::splitNumbers("1,2,3", parts));
    EXPECT_FALSE(PlanBook::splitNumbers("", parts));
}

TEST_F(PlanBookTest, EveryLinePredictsFromItsDrawSeedWhateverTheHitChance) {
    // Replayed lines (next numbers known) are predicted as live ones.
    const std::string issues[] = {"20261211010", "20261211011", "20261211012", "20261211013"};
    const std::int32_t seeds[] = {4711, 90000001, -123, 55};
    std::string texts[2];
    for (int pass = 0; pass < 2; ++pass) {
        book.clearLines();
        book.setHitChance(pass == 0 ? 100 : 0);
        for (std::size_t i = 0; i < 4; ++i) {
            const std::size_t before = plan().lines.size();
            book.addDraw(issues[i], kOdd, seeds[i], kEven, 1);
            const std::int32_t seq = std::stoi(issues[i].substr(8));
            if (plan().lines.size() > before) {
                // Line opened by this draw: seed = bookSeed + seq + draw seed + nameHash.
                EXPECT_EQ(last().prediction, parityFor(seq + seeds[i] + kSumParityHash));
            }
        }
        texts[pass] = book.planText("和值单双");
    }
    EXPECT_EQ(texts[0], texts[1]) << "the hit chance steers nothing";
    EXPECT_EQ(plan().nameHash, kSumParityHash);
}

TEST_F(PlanBookTest, ResetOnMissesAndMaxLines) {
    book.setResetOnMisses(1);
    book.setFormulaPeriods(1, "", false);
    book.addDraw("20261211001", kOdd, 3, "", 0);
    // Miss two single-period lines in a row: the second closing miss resets.
    int resets = 0;
    for (int i = 2; i < 12 && resets == 0; ++i) {
        const std::int32_t before = plan().lineCount;
        book.addDraw("202612110" + std::string(i < 10 ? "0" : "") + std::to_string(i), missing(), i,
                     "", 0);
        if (plan().lineCount < before)
            ++resets;
    }
    EXPECT_EQ(resets, 1);
    EXPECT_EQ(plan().lineCount, 1) << "only the newly opened line is left";
    EXPECT_EQ(last().status, Pending);

    book.setResetOnMisses(0);
    book.setMaxLines(1);
    for (int i = 20; i < 25; ++i) {
        book.addDraw("202612110" + std::to_string(i), hitting(), i, "", 0);
    }
    EXPECT_EQ(plan().lineCount, 1);
    EXPECT_EQ(last().firstPeriod, "025");
    book.setMaxLines(0);
    for (int i = 25; i < 30; ++i) {
        book.addDraw("202612110" + std::to_string(i), hitting(), i, "", 0);
    }
    EXPECT_EQ(plan().lineCount, 6);
}

TEST(RecentStatusRun, Windows) {
    PlanEntry entry;
    for (std::int32_t status : {Hit, Miss, Hit, Miss}) {
        PlanLine line;
        line.status = status;
        entry.lines.push_back(line);
    }
    entry.lineCount = 4;
    EXPECT_TRUE(PlanBook::recentStatusRun(entry, Miss, 3, 2, false));
    EXPECT_FALSE(PlanBook::recentStatusRun(entry, Miss, 2, 2, false));
    EXPECT_FALSE(PlanBook::recentStatusRun(entry, Miss, 3, 2, true)) << "broken by the hit";
    EXPECT_TRUE(PlanBook::recentStatusRun(entry, Miss, 1, 1, true));
    EXPECT_FALSE(PlanBook::recentStatusRun(entry, Hit, 5, 5, true)) << "fewer lines than needed";
}

TEST_F(PlanBookTest, NamesCopiesAndBookName) {
    ASSERT_TRUE(book.addPlan("和值大小", "和值单双", 2));
    EXPECT_EQ(book.getPlanCount(), 2);
    EXPECT_EQ(book.plans()[0].periods, 2) << "setFormulaPeriods by name hits the first";
    EXPECT_EQ(book.plans()[1].periods, 3);
    EXPECT_EQ(book.findPlan("和值单双"), 1);
    EXPECT_EQ(book.planNameAt(2), "和值单双");
    EXPECT_EQ(book.planNameAt(3), "");
    book.addDraw("20261211001", kOdd, 9, "", 0);

    PlanEntry copy;
    book.copyPlan("和值单双", copy);
    ASSERT_NE(copy.predictor, nullptr);
    EXPECT_NE(copy.predictor.get(), plan().predictor.get()) << "a deep copy";
    EXPECT_EQ(copy.lineCount, plan().lineCount);
    EXPECT_EQ(copy.lines.back().prediction, book.currentPrediction("和值单双"));
    const std::int32_t copied = copy.lineCount;
    book.clearLines();
    EXPECT_EQ(copy.lineCount, copied);
    EXPECT_EQ(copy.lines.size(), static_cast<std::size_t>(copied));
    PlanEntry untouched = copy;
    book.copyPlan("无此计划", untouched);
    EXPECT_EQ(untouched.lineCount, copied);
    EXPECT_EQ(book.planText("无此计划"), "");
    EXPECT_EQ(book.currentPrediction("无此计划"), "");

    PlanBook whole = book;  // the book's own deep copy
    book.addDraw("20261211002", kOdd, 9, "", 0);
    EXPECT_EQ(whole.plans()[0].lineCount, 0);
    EXPECT_NE(whole.plans()[0].predictor.get(), plan().predictor.get());
    EXPECT_TRUE(whole.addPlan("和值单双", "丙", 1)) << "the copy still recognises kinds";

    EXPECT_EQ(book.removePlan("和值单双"), 1);
    EXPECT_EQ(book.getPlanCount(), 1);
    EXPECT_EQ(dynamic_cast<const SumSizePredictor*>(plan().predictor.get()) != nullptr, true);
    EXPECT_EQ(book.removePlan("无此计划"), 0);

    book.setBookName("abc");  // MD5 900150983cd2...: 0x90015098 read as int32, made positive
    EXPECT_EQ(book.bookSeed(), 1878962024);
    EXPECT_EQ(book.getBookName(), "abc");
    book.reset();
    EXPECT_EQ(book.getPlanCount(), 0);
    EXPECT_EQ(book.hitChance(), 0);
    EXPECT_EQ(book.resetOnMisses(), 1);
    EXPECT_EQ(book.bookSeed(), 0);
}

}  // namespace
}  // namespace quorsa::plan
