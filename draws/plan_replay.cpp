#include "draws/plan_replay.h"

namespace quorsa::draws {
namespace {

const DrawRecord& elementAt(const DrawHistory& history, std::size_t i) {
    static const DrawRecord kEmpty;
    return i >= 1 && i <= history.size() ? history[i - 1] : kEmpty;
}

}  // namespace

void replayDraws(plan::PlanBook& book, const DrawHistory& history, std::int32_t periods,
                 std::size_t depth, std::int32_t newestSeed) {
    book.clearLines();
    book.setFormulaPeriods(periods, "", false);
    for (std::size_t i = depth; i >= 2; --i) {
        const DrawRecord& draw = elementAt(history, i);
        const DrawRecord& after = elementAt(history, i - 1);
        book.addDraw(draw.fullIssue(), draw.numbers, draw.seed, after.numbers, 1);
    }
    const DrawRecord& newest = elementAt(history, 1);
    book.addDraw(newest.fullIssue(), newest.numbers, newestSeed, "", 0);
}

}  // namespace quorsa::draws
