#pragma once

#include <string>

#include "plan/plan_book.h"

namespace quorsa::draws {

// What the plan box shows: the plan text, a blank line, the hit statistics of
// `copy` (a deep copy of the same plan) and the warning line.
std::string planBoxText(const std::string& planText, const plan::PlanEntry& copy);

}  // namespace quorsa::draws
