// The plan view's two costs: a full rebuild, and one new draw on a plan that
// has grown for a year.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "draws/plan_replay.h"
#include "draws/plan_statistics.h"
#include "plan/plan_engine.h"
#include "platform/messages.h"

namespace {

using namespace quorsa;

const std::string kPlan = "和值单双";
constexpr std::int32_t kPeriodsPerDay = 82;

// Deterministic dice and seeds, newest first.
draws::DrawHistory makeHistory(std::size_t count) {
    draws::DrawHistory history;
    std::uint32_t x = 12345;
    auto next = [&x] { return x = x * 1103515245u + 12345u; };
    for (std::size_t i = 0; i < count; ++i) {
        const auto day = static_cast<std::int32_t>(i / kPeriodsPerDay);
        const auto seq = static_cast<std::int32_t>(i % kPeriodsPerDay) + 1;
        draws::DrawRecord draw;
        draw.issuePrefix = std::to_string(20260101 + day);
        draw.issueSeq = (seq < 10 ? "00" : "0") + std::to_string(seq);
        draw.numbers = std::to_string(next() % 6 + 1) + "," + std::to_string(next() % 6 + 1) + "," +
                       std::to_string(next() % 6 + 1);
        draw.seed = static_cast<std::int32_t>(next() % 2000000000u + 1);
        history.insert(history.begin(), draw);
    }
    return history;
}

struct Setup {
    explicit Setup(std::int32_t periods) {
        book.addPlan(kPlan, kPlan, periods);
        book.setMaxLines(0);
        book.setHitChance(80);
        book.setResetOnMisses(0);
    }
    platform::RecordingMessages messages;
    plan::PlanEngine engine{messages};
    plan::PlanBook& book = engine.book();
};

// What showStatistics does: render, deep copy, count.
std::string showStatistics(const plan::PlanBook& book) {
    plan::PlanEntry copy;
    book.copyPlan(kPlan, copy);
    return draws::planBoxText(book.planText(kPlan), copy);
}

void BM_FullRebuild(benchmark::State& state) {
    Setup setup(3);
    const draws::DrawHistory history = makeHistory(50);
    std::int32_t tick = 1;
    for (auto _ : state) {
        draws::replayDraws(setup.book, history, 3, 50, tick++);
        benchmark::DoNotOptimize(showStatistics(setup.book));
    }
}
BENCHMARK(BM_FullRebuild)->Unit(benchmark::kMicrosecond);

void BM_NewDrawOnAYearOfLines(benchmark::State& state) {
    Setup setup(1);
    const std::size_t year = kPeriodsPerDay * 365;
    const draws::DrawHistory history = makeHistory(year + 1000);
    // Oldest first, as the draws came in.
    std::size_t i = history.size();
    for (std::size_t n = 0; n < year; ++n) {
        const auto& d = history[--i];
        setup.book.addDraw(d.fullIssue(), d.numbers, d.seed, "", 0);
    }
    state.counters["lines"] = static_cast<double>(setup.book.plans().front().lineCount);
    for (auto _ : state) {
        if (i == 0)
            i = 1000;  // keeps feeding draws in order; the plan grows by one line each
        const auto& d = history[--i];
        setup.book.addDraw(d.fullIssue(), d.numbers, d.seed, "", 0);
        benchmark::DoNotOptimize(showStatistics(setup.book));
    }
}
BENCHMARK(BM_NewDrawOnAYearOfLines)->Unit(benchmark::kMillisecond);

// The parts of the step above, one at a time, on the same year of lines.
void BM_YearPart(benchmark::State& state) {
    Setup setup(1);
    const draws::DrawHistory history = makeHistory(kPeriodsPerDay * 365);
    for (auto it = history.rbegin(); it != history.rend(); ++it) {
        setup.book.addDraw(it->fullIssue(), it->numbers, it->seed, "", 0);
    }
    const auto& newest = history.front();
    for (auto _ : state) {
        switch (state.range(0)) {
            case 0:  // settle: the newest draw once more against the open line
                setup.book.addDraw(newest.fullIssue(), newest.numbers, newest.seed, "", 0);
                break;
            case 1:
                benchmark::DoNotOptimize(setup.book.planText(kPlan));
                break;
            case 2: {
                plan::PlanEntry copy;
                setup.book.copyPlan(kPlan, copy);
                benchmark::DoNotOptimize(draws::planBoxText("", copy));
                break;
            }
        }
    }
}
BENCHMARK(BM_YearPart)
    ->ArgName("settle0_render1_copystats2")
    ->DenseRange(0, 2)
    ->Unit(benchmark::kMicrosecond);

}  // namespace
