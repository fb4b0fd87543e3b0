#pragma once

#include <cstddef>
#include <cstdint>

#include "draws/draw_record.h"
#include "plan/plan_book.h"

namespace quorsa::draws {

// Builds the plan again from the history: every plan loses its lines and
// covers `periods` periods; elements `depth` down to 2 of the history are
// replayed oldest first, each with its own seed and the numbers of the draw
// after it (elements past the end count as empty records and add nothing);
// last the newest draw opens the pending line with `newestSeed`.
void replayDraws(plan::PlanBook& book, const DrawHistory& history, std::int32_t periods,
                 std::size_t depth, std::int32_t newestSeed);

}  // namespace quorsa::draws
