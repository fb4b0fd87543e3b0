#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "support.h"

namespace {

struct ToolRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

ToolRun runBacktest(const std::string& arguments) {
    const auto dir = std::filesystem::temp_directory_path();
    const std::string tag = std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                            "_" + std::to_string(reinterpret_cast<std::uintptr_t>(&arguments));
    const std::string outPath = (dir / ("plan_backtest_out_" + tag)).string();
    const std::string errPath = (dir / ("plan_backtest_err_" + tag)).string();
    const std::string command = std::string("'") + QUORSA_PLAN_BACKTEST + "' " + arguments + " >'" +
                                outPath + "' 2>'" + errPath + "'";
    ToolRun run;
    const int status = std::system(command.c_str());
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = readFile(outPath);
    run.err = readFile(errPath);
    std::remove(outPath.c_str());
    std::remove(errPath.c_str());
    return run;
}

const std::string kData = QUORSA_TEST_DATA;

TEST(PlanBacktest, ReproducibleOutputWithCrLfAndBadLinesReported) {
    const ToolRun run = runBacktest("--periods 3 --seed 777 '" + kData + "/backtest_small.txt'");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, readFile(kData + "/backtest_small_expected.txt"));
    EXPECT_NE(run.out.find("\r\n"), std::string::npos);
    EXPECT_EQ(run.out.find("\n"), run.out.find("\r\n") + 1) << "no bare line feeds";
    EXPECT_NE(run.err.find("backtest_small.txt:3:"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("backtest_small.txt:7:"), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find("backtest_small.txt:6:"), std::string::npos)
        << "blank lines are no draws";

    const ToolRun again = runBacktest("--seed 777 '" + kData + "/backtest_small.txt'");
    EXPECT_EQ(again.out, run.out) << "periods 3 is the default";
    const ToolRun one = runBacktest("--periods 1 --seed 777 '" + kData + "/backtest_small.txt'");
    EXPECT_EQ(one.exitCode, 0);
    EXPECT_NE(one.out, run.out);
}

TEST(PlanBacktest, BadUsageAndUnreadableFile) {
    const char* bad[] = {
        "",   "--periods 4 x", "--periods", "--seed abc x", "--seed 99999999999 x", "--bogus x",
        "a b"};
    for (const char* arguments : bad) {
        SCOPED_TRACE(arguments);
        const ToolRun run = runBacktest(arguments);
        EXPECT_NE(run.exitCode, 0);
        EXPECT_TRUE(run.out.empty());
        EXPECT_NE(run.err.find("usage: plan-backtest"), std::string::npos);
    }
    const ToolRun missing = runBacktest("'" + kData + "/no such file.txt'");
    EXPECT_NE(missing.exitCode, 0);
    EXPECT_TRUE(missing.out.empty());
    EXPECT_NE(missing.err.find("cannot read"), std::string::npos);
}

}  // namespace
