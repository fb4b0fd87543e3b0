#include <gtest/gtest.h>

#include "plan/number_helpers.h"
#include "plan/plan_engine.h"
#include "plan/predictors.h"
#include "platform/messages.h"
#include "support.h"

namespace quorsa::plan {
namespace {

class PredictorTest : public ::testing::Test {
protected:
    platform::RecordingMessages messages;
    PlanEngine engine{messages};
    RandomGenerator& random = engine.random();
};

TEST_F(PredictorTest, GeneratorFollowsTheLinearCongruentialRule) {
    random.seed(0);
    EXPECT_EQ(random.raw(), 38);
    EXPECT_EQ(random.state(), 2531011u);
    random.seed(12345);
    for (int i = 0; i < 3; ++i) {
        const std::uint32_t expected = random.state() * 214013u + 2531011u;
        const std::int32_t raw = random.raw();
        EXPECT_EQ(random.state(), expected);
        EXPECT_EQ(raw, static_cast<std::int32_t>((expected >> 16) & 0x7FFF));
    }
}

TEST_F(PredictorTest, RandomBounds) {
    random.seed(0);
    EXPECT_EQ(random.random(1, 6), 1 + 38 % 6);
    random.seed(0);
    EXPECT_EQ(random.random(6, 1), 1 + 38 % 6) << "swapped bounds are put in order";
    random.seed(0);
    EXPECT_EQ(random.random(-5, 1), 38 % 2) << "negative bounds become 0";
    random.seed(7);
    EXPECT_EQ(random.random(4, 4), 4);
    EXPECT_EQ(random.state(), 7u) << "equal bounds draw nothing";
}

TEST_F(PredictorTest, FreshCloneAndConfigure) {
    SumParityPredictor original(random, messages);
    EXPECT_EQ(original.getPeriods(), 3);
    EXPECT_EQ(original.getDisplayMode(), 1);
    EXPECT_EQ(original.getName(), "");

    original.setPeriods(2);
    original.configure(1, 3, "甲");
    EXPECT_EQ(original.getPeriods(), 2) << "configure never touches periods";
    const auto copy = original.clone();
    original.configure(2, 1, "乙");
    original.setName("丙");
    auto* clone = dynamic_cast<SumParityPredictor*>(copy.get());
    ASSERT_NE(clone, nullptr);
    EXPECT_EQ(clone->getName(), "甲");
    EXPECT_EQ(clone->firstPosition(), 1);
    EXPECT_EQ(clone->positionCount(), 3);
    EXPECT_EQ(clone->getPeriods(), 2);
}

// A kind that overrides neither operation.
class BarePredictor final : public Predictor {
public:
    using Predictor::Predictor;
    std::unique_ptr<Predictor> clone() const override {
        return std::make_unique<BarePredictor>(*this);
    }
};

TEST_F(PredictorTest, BaseOperationsReportMisuse) {
    BarePredictor bare(random, messages);
    EXPECT_EQ(bare.取下期预测(5), "");
    EXPECT_FALSE(bare.验证预测({"1", "2", "3"}, "单"));
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(messages.shown[0].text, "错误！接口类函数 取下期预测（） 被直接调用");
    EXPECT_EQ(messages.shown[1].text, "错误！接口类函数 验证预测 被直接调用");
    EXPECT_EQ(messages.shown[0].caption, "") << "the default caption";
    EXPECT_FALSE(messages.shown[0].question);
}

TEST_F(PredictorTest, VerifyRules) {
    SumParityPredictor parity(random, messages);
    parity.configure(1, 3, "和值单双");
    SumSizePredictor size(random, messages);
    size.configure(1, 3, "和值大小");
    PositionCodesPredictor units(random, messages);
    units.configure(3, 3, "个位定3码");
    SameNumberPredictor same(random, messages);
    same.configure(2, "二同号复选");
    DistinctNumberPredictor distinct(random, messages);
    distinct.configure(2, 4, "二不同号");
    SingleDanPredictor dan(random, messages);
    dan.configure(2, "独胆定2码");

    struct Case {
        const char* what;
        Predictor& predictor;
        std::vector<std::string> numbers;
        std::string prediction;
        bool hit;
    };
    const Case cases[] = {
        {"sum 6 is even", parity, {"1", "2", "3"}, "双", true},
        {"sum 6 is not odd", parity, {"1", "2", "3"}, "单", false},
        {"sum 11 is odd", parity, {"2", "3", "6"}, "单", true},
        {"a non-number counts 0", parity, {"x", "2", "3"}, "单", true},
        {"sum 10 is small", size, {"2", "3", "5"}, "小", true},
        {"sum 11 is big", size, {"2", "3", "6"}, "大", true},
        {"sum 11 is not small", size, {"2", "3", "6"}, "小", false},
        {"units digit 5 among the codes", units, {"2", "4", "5"}, "01 03 05", true},
        {"units digit 4 not among them", units, {"2", "5", "4"}, "01 03 05", false},
        {"33 within 335", same, {"3", "3", "5"}, "33", true},
        {"33 not within 353", same, {"3", "5", "3"}, "33", false},
        {"one of 1,3,4,6 drawn", distinct, {"1", "1", "2"}, "1,3,4,6", false},
        {"two of 1,3,4,6 drawn", distinct, {"1", "4", "5"}, "1,3,4,6", true},
        {"a drawn 5 in the dan", dan, {"1", "2", "5"}, "03,05", true},
        {"no drawn number in the dan", dan, {"1", "2", "4"}, "03,05", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.predictor.验证预测(c.numbers, c.prediction), c.hit);
    }
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(PredictorTest, PredictionForms) {
    SumParityPredictor parity(random, messages);
    parity.configure(1, 3, "和值单双");
    EXPECT_EQ(parity.取下期预测(0), "单") << "first raw value 38 is even";
    for (std::int32_t seed : {1, 99, -5, 123456789}) {
        SCOPED_TRACE(seed);
        EXPECT_EQ(parity.取下期预测(seed), parityFor(seed));
        EXPECT_EQ(parity.取下期预测(seed), parity.取下期预测(seed));
    }
    SumSizePredictor size(random, messages);
    EXPECT_EQ(size.取下期预测(0), "小");

    PositionCodesPredictor codes(random, messages);
    codes.configure(1, 3, "百位定3码");
    EXPECT_EQ(codes.getDisplayMode(), 2);
    const std::string three = codes.取下期预测(4242);
    ASSERT_EQ(three.size(), 8u);
    EXPECT_EQ(three[2], ' ');
    EXPECT_LT(three.substr(0, 2), three.substr(3, 2));
    EXPECT_LT(three.substr(3, 2), three.substr(6, 2));
    codes.configure(1, 6, "百位定6码");
    EXPECT_EQ(codes.getDisplayMode(), 1);
    EXPECT_EQ(codes.取下期预测(1), "01 02 03 04 05 06");

    DistinctNumberPredictor distinct(random, messages);
    distinct.configure(2, 4, "二不同号");
    const std::string four = distinct.取下期预测(77);
    ASSERT_EQ(four.size(), 7u);
    EXPECT_TRUE(four[0] < four[2] && four[2] < four[4] && four[4] < four[6]) << four;

    SameNumberPredictor same(random, messages);
    same.configure(2, "二同号复选");
    EXPECT_EQ(same.取下期预测(0), "33") << "1 + 38 % 6 = 3";

    SingleDanPredictor dan(random, messages);
    dan.configure(0, "独胆定0码");
    EXPECT_EQ(dan.取下期预测(0), "03") << "a count of 0 still writes one value";
    dan.configure(3, "独胆定3码");
    const std::string dan3 = dan.取下期预测(0);
    ASSERT_EQ(dan3.size(), 8u);
    EXPECT_EQ(dan3.substr(0, 3), "03,");
}

TEST_F(PredictorTest, ImpossibleCountsGiveNoPredictionInsteadOfHanging) {
    PositionCodesPredictor codes(random, messages);
    DistinctNumberPredictor distinct(random, messages);
    for (std::int32_t n : {7, 12, 0, -1}) {
        SCOPED_TRACE(n);
        codes.configure(3, n, "个位定N码");
        distinct.configure(2, n, "二不同号");
        EXPECT_EQ(codes.取下期预测(9), "");
        EXPECT_EQ(distinct.取下期预测(9), "");
    }
}

TEST(NumberHelpers, ChineseNumeralsHexAndMd5) {
    const std::pair<const char*, std::int32_t> numerals[] = {
        {"零", 0}, {"一", 1}, {"三", 3}, {"九", 9}, {"十", 10}, {"十一", -1}, {"", -1}, {"1", -1}};
    for (const auto& [text, value] : numerals) {
        SCOPED_TRACE(text);
        EXPECT_EQ(chineseNumeral(text), value);
    }
    EXPECT_EQ(hexValue("ff"), 255);
    EXPECT_EQ(hexValue("6AC638"), 6997560);
    EXPECT_EQ(hexValue("G"), -1) << "a non-digit counts as -1";
    EXPECT_EQ(hexValue("FFFFFFFF"), -1) << "low 32 bits, two's complement";
    EXPECT_EQ(hexValue("100000000"), 0);
    EXPECT_EQ(hexValue(""), 0);
    EXPECT_EQ(md5Prefix("和值单双", 6), 6997560) << "over GBK bytes, not UTF-8 (6337481)";
    EXPECT_EQ(md5Prefix("abc", 8), hexValue("90015098"));
}

TEST(NumberHelpers, DrawNumberAt) {
    const std::vector<std::string> numbers = {"1", "2", "3"};
    EXPECT_EQ(drawNumberAt(numbers, 0), "");
    EXPECT_EQ(drawNumberAt(numbers, 1), "1");
    EXPECT_EQ(drawNumberAt(numbers, 3), "3");
    EXPECT_EQ(drawNumberAt(numbers, -1), "3");
    EXPECT_EQ(drawNumberAt(numbers, -3), "1");
    EXPECT_EQ(drawNumberAt(numbers, 4), "");
    EXPECT_EQ(drawNumberAt(numbers, -4), "");
}

}  // namespace
}  // namespace quorsa::plan
