#include <gtest/gtest.h>

#include "plan/plan_engine.h"
#include "platform/messages.h"

namespace quorsa::plan {
namespace {

class RecogniserTest : public ::testing::Test {
protected:
    platform::RecordingMessages messages;
    PlanEngine engine{messages};
    PlanBook& book = engine.book();
};

// Class and parameters of a plan's predictor, as one text.
std::string describe(const Predictor* p) {
    if (auto* x = dynamic_cast<const SumParityPredictor*>(p)) {
        return "parity " + std::to_string(x->firstPosition()) + "," +
               std::to_string(x->positionCount());
    }
    if (auto* x = dynamic_cast<const SumSizePredictor*>(p)) {
        return "size " + std::to_string(x->firstPosition()) + "," +
               std::to_string(x->positionCount());
    }
    if (auto* x = dynamic_cast<const PositionCodesPredictor*>(p)) {
        return "codes " + std::to_string(x->position()) + "," + std::to_string(x->codeCount());
    }
    if (auto* x = dynamic_cast<const SameNumberPredictor*>(p)) {
        return "same " + std::to_string(x->repeatCount());
    }
    if (auto* x = dynamic_cast<const DistinctNumberPredictor*>(p)) {
        return "distinct " + std::to_string(x->minMatches()) + "," + std::to_string(x->pickCount());
    }
    if (auto* x = dynamic_cast<const SingleDanPredictor*>(p)) {
        return "dan " + std::to_string(x->codeCount());
    }
    return "?";
}

TEST_F(RecogniserTest, KindsInTableOrder) {
    struct Case {
        const char* kind;
        const char* predictor;  // empty: refused
        std::int32_t displayMode;
    };
    const Case cases[] = {
        {"和值单双", "parity 1,3", 1},
        {"江苏快三和值单双计划", "parity 1,3", 1},
        {"和值大小", "size 1,3", 1},
        {"百位定3码", "codes 1,3", 2},
        {"十位定4码", "codes 2,4", 1},
        {"个位定6码", "codes 3,6", 1},
        {"二同号复选", "same 2", 1},
        {"三不同号通选", "distinct 3,4", 1},
        {"二不同号", "distinct 2,4", 1},
        {"独胆定2码", "dan 2", 1},
        {"个位定2码和值单双", "codes 3,2", 2},  // pattern 1 comes first
        {"和值单双一同号复选", "same 1", 1},    // pattern 2 before pattern 4
        {"冠军单双", "", 0},                    // race kinds have no predictor
        {"3号车位置", "", 0},
        {"冠亚和值大小", "size 1,3", 1},  // searched, not anchored
        {"", "", 0},
        {"和值", "", 0},
        // More different codes than a die has faces would never be collected.
        {"个位定7码", "", 0},
        {"百位定0码", "", 0},
        {"十位定4294967299码", "", 0},  // would wrap to 3 in 32 bits
        {"独胆定0码", "dan 0", 1},          // still writes one code
        {"独胆定2000000000码", "", 0},      // a text of gigabytes
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kind);
        const std::int32_t before = book.getPlanCount();
        const bool added = book.addPlan(c.kind, std::string("名") + c.kind, 2);
        EXPECT_EQ(added, *c.predictor != '\0');
        if (!added) {
            EXPECT_EQ(book.getPlanCount(), before) << "nothing changes";
            continue;
        }
        const PlanEntry& entry = book.plans().back();
        EXPECT_EQ(describe(entry.predictor.get()), c.predictor);
        EXPECT_EQ(entry.displayMode, c.displayMode);
        EXPECT_EQ(entry.name, std::string("名") + c.kind);
        EXPECT_EQ(entry.periods, 2);
    }
    EXPECT_TRUE(messages.shown.empty()) << "addPlan reports nothing itself";
}

TEST_F(RecogniserTest, PatternsCompiledOnceInStartUpOrder) {
    const auto& recognisers = engine.recognisers();
    ASSERT_EQ(recognisers.racePatterns().size(), 6u);
    ASSERT_EQ(recognisers.dicePatterns().size(), 5u);
    for (const auto& p : recognisers.racePatterns())
        EXPECT_TRUE(p.isValid());
    for (const auto& p : recognisers.dicePatterns())
        EXPECT_TRUE(p.isValid());
    EXPECT_EQ(PlanRecognisers::dicePatternTexts().front(), R"(([个十百])位定(\d+)码)");
    EXPECT_EQ(PlanRecognisers::dicePatternTexts().back(), R"(独胆定(\d+)码)");
    EXPECT_EQ(PlanRecognisers::racePatternTexts().back(), R"((冠亚)和值(单双|大小))");
    EXPECT_TRUE(recognisers.racePatterns()[1].matches("冠军3胆5期"));
}

TEST_F(RecogniserTest, SharedInstancesAreReconfiguredButPlansKeepTheirClones) {
    ASSERT_TRUE(book.addPlan("个位定4码", "甲", 3));
    ASSERT_TRUE(book.addPlan("百位定2码", "乙", 3));
    EXPECT_EQ(describe(book.plans()[0].predictor.get()), "codes 3,4");
    EXPECT_EQ(describe(book.plans()[1].predictor.get()), "codes 1,2");
    ASSERT_TRUE(book.addPlan("和值单双", "甲", 1));
    EXPECT_EQ(book.plans()[0].periods, 1) << "the first plan of that name";
    EXPECT_EQ(book.plans()[2].periods, 3);
}

}  // namespace
}  // namespace quorsa::plan
