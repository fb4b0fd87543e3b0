#include <gtest/gtest.h>

#include "plan/plan_text.h"

namespace quorsa::plan {
namespace {

PlanLine line(const char* first, const char* last, std::int32_t status, const char* prediction,
              const char* checkedPeriod = "", const char* checkedNumbers = "") {
    return {first, last, status, prediction, checkedPeriod, checkedNumbers};
}

PlanEntry entry(std::int32_t periods, std::int32_t displayMode, std::vector<PlanLine> lines) {
    PlanEntry e;
    e.name = "和值单双";
    e.periods = periods;
    e.displayMode = displayMode;
    e.lineCount = static_cast<std::int32_t>(lines.size());
    e.lines = std::move(lines);
    return e;
}

TEST(PlanText, ThreePeriods) {
    const PlanEntry e =
        entry(3, 1,
              {line("023", "025", Hit, "单", "024", "2,3,6"),
               line("026", "028", Miss, "双", "028", "1,3,5"), line("029", "031", Pending, "单")});
    EXPECT_EQ(renderPlan(e, ""),
              "023-025期 和值单双【单】 <024期-2,3,6>→中\r\n"
              "026-028期 和值单双【双】 挂\r\n"
              "029-031期 和值单双【单】 等开\r\n");
}

TEST(PlanText, OnePeriodShowsTheDrawOfMissesToo) {
    const PlanEntry e =
        entry(1, 1,
              {line("026", "026", Miss, "双", "026", "1,3,5"),
               line("027", "027", Hit, "单", "027", "2,4,5"), line("028", "028", Pending, "双")});
    EXPECT_EQ(renderPlan(e, "书"),
              "026期 书和值单双【双】 <026期-1,3,5>→无\r\n"
              "027期 书和值单双【单】 <027期-2,4,5>→中\r\n"
              "028期 书和值单双【双】 等开\r\n");
}

TEST(PlanText, DisplayModeTwoPutsThePredictionAtTheEnd) {
    PlanEntry e = entry(
        2, 2,
        {line("010", "011", Miss, "01 02", "011", "3,3,3"), line("012", "013", Pending, "02 05")});
    e.name = "百位定2码";
    EXPECT_EQ(renderPlan(e, ""),
              "010-011期 百位定2码 挂\r\n"
              "012-013期 百位定2码 等开\r\n"
              "\r\n\r\n 02 05\r\n");
}

TEST(PlanText, NoLinesNoText) {
    EXPECT_EQ(renderPlan(entry(3, 1, {}), ""), "");
    EXPECT_EQ(renderPlan(entry(3, 2, {}), ""), "");
}

}  // namespace
}  // namespace quorsa::plan
