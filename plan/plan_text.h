#pragma once

#include <string>

#include "plan/plan_book.h"

namespace quorsa::plan {

// The plan as the plan box shows it, one "\r\n"-ended line per plan line,
// oldest first; `bookName` stands before the plan name on every line. Other
// tools parse copied plans: keep the format exactly stable.
std::string renderPlan(const PlanEntry& entry, const std::string& bookName);

}  // namespace quorsa::plan
