#include <gtest/gtest.h>

#include "plan/formula_parser.h"
#include "plan/plan_engine.h"
#include "platform/messages.h"

namespace quorsa::plan {
namespace {

class FormulaTest : public ::testing::Test {
protected:
    std::vector<FormulaEntry> parse(const std::string& text) {
        FormulaParser parser(engine.formulaPatterns(), messages);
        std::vector<FormulaEntry> entries;
        parser.parse(text, entries);
        return entries;
    }

    platform::RecordingMessages messages;
    PlanEngine engine{messages};
};

TEST(WrappedTextBuilder, BreaksAfterEveryFifthItem) {
    WrappedTextBuilder builder;
    builder.setup(5);
    for (const char* item : {"a", "b", "c", "d", "e", "f"})
        builder.append(item);
    EXPECT_EQ(builder.getText(), "a b c d e\r\nf ");
    builder.setup(2, ",", ";");
    for (const char* item : {"a", "b", "c"})
        builder.append(item);
    EXPECT_EQ(builder.getText(), "a,b;c,");
}

TEST_F(FormulaTest, TokenExpansion) {
    struct Case {
        const char* body;
        const char* kinds;
        const char* labels;
    };
    const Case cases[] = {
        {"和值单双 和值大小\r\n", "和值单双 和值大小 ", "和值单双 和值大小 "},
        {"A5*5*5\r\n", "A5*5*5 ", "A125 "},
        {"A12*3\r\n", "A12*3 ", "A16 "},  // the search finds 2*3
        {"A4*\r\n", "A4* ", "A4 "},       // a trailing "*" adds no factor
        {"X1~3\r\n", "X1 ", "X1 "},
        {"和值单双(2)\r\n", "和值单双 和值单双 ", "和值单双(1) 和值单双(2) "},
        {"和值单双（2）\r\n", "和值单双 和值单双 ", "和值单双(1) 和值单双(2) "},
        {"K(0) L\r\n", "L ", "L "},
        {"a b c d e f\r\n", "a b c d e\r\nf ", "a b c d e\r\nf "},
        {"a  b\r\n", "a  b ", "a  b "},  // two spaces give an empty token
        {"K\nL", "K\nL ", "K\nL "},      // only CR LF separates
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.body);
        const auto entries = parse(std::string("<x>\r\n[3]\r\n") + c.body);
        ASSERT_EQ(entries.size(), 1u);
        ASSERT_EQ(entries[0].sectionCount, 1);
        EXPECT_EQ(entries[0].sections[0].name, "3");
        EXPECT_EQ(entries[0].sections[0].kinds, c.kinds);
        EXPECT_EQ(entries[0].sections[0].labels, c.labels);
    }
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(FormulaTest, EntriesSectionsAndComments) {
    const auto entries =
        parse("<a<b>c>\r\n[2]x\r\nK1 K2\r\n#note\r\nK3\r\n[1]\r\nK4\r\n|+|[5]\nQ\n|+|<e>");
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].expression, "a<b>c");
    EXPECT_EQ(entries[0].comment, "note\r\r\n");
    ASSERT_EQ(entries[0].sectionCount, 2);
    EXPECT_EQ(entries[0].sections[0].name, "2");
    EXPECT_EQ(entries[0].sections[0].kinds, "K1 K2 ") << "the comment ends the body";
    EXPECT_EQ(entries[0].sections[1].name, "1");
    EXPECT_EQ(entries[0].sections[1].kinds, "K4 ");
    EXPECT_EQ(entries[1].expression, "");
    EXPECT_EQ(entries[1].sections[0].kinds, "Q\n ");
    EXPECT_EQ(entries[2].sectionCount, 0);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "表达式格式错误！错误内容：[5]\nQ\n");
    EXPECT_EQ(messages.shown[0].caption, "");
    EXPECT_TRUE(parse("").empty());
}

TEST_F(FormulaTest, BuildsPlansFromTheFirstEntryOnly) {
    auto& book = engine.book();
    EXPECT_TRUE(buildPlansFromFormula(
        engine, "<e>\r\n[3]\r\n和值单双 和值大小\r\n|+|<f>\n[1]\n二同号复选\n"));
    ASSERT_EQ(book.getPlanCount(), 2);
    EXPECT_EQ(book.plans()[0].name, "和值单双");
    EXPECT_EQ(book.plans()[1].name, "和值大小");
    EXPECT_EQ(book.plans()[0].periods, 3);
    EXPECT_EQ(book.plans()[1].periods, 3);

    EXPECT_TRUE(buildPlansFromFormula(engine, "<e>\r\n[2]\r\n和值单双(2) 和值大小5*5\r\n"));
    ASSERT_EQ(book.getPlanCount(), 5);
    EXPECT_EQ(book.plans()[2].name, "和值单双(1)");
    EXPECT_EQ(book.plans()[3].name, "和值单双(2)");
    EXPECT_EQ(book.plans()[4].name, "和值大小25");
    EXPECT_EQ(book.plans()[3].periods, 2);

    EXPECT_FALSE(buildPlansFromFormula(engine, "<e>\r\n[1]\r\n和值大小 冠军单双 和值单双\r\n"));
    EXPECT_EQ(book.getPlanCount(), 6) << "plans before the unknown kind stay";
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(FormulaTest, BetCountNameIsAFormatError) {
    EXPECT_TRUE(buildPlansFromFormula(engine, "定位胆码25注"));
    EXPECT_EQ(engine.book().getPlanCount(), 0);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "表达式格式错误！错误内容：定位胆码25注");
    EXPECT_FALSE(buildPlansFromFormula(engine, ""));
}

}  // namespace
}  // namespace quorsa::plan
