#include "draws/plan_statistics.h"

#include <algorithm>

#include "platform/text.h"

namespace quorsa::draws {

std::string planBoxText(const std::string& planText, const plan::PlanEntry& copy) {
    const std::int32_t total = std::max(copy.lineCount, 0);
    const auto counted = std::min(static_cast<std::size_t>(total), copy.lines.size());
    std::int32_t hits = 0;
    std::int32_t misses = 0;
    for (std::size_t i = 0; i < counted; ++i) {
        if (copy.lines[i].status == plan::Miss) {
            ++misses;
        } else if (copy.lines[i].status == plan::Hit) {
            ++hits;
        }
    }
    // No hits (and so no lines at all) show as a rate of 0.
    double rate = 0;
    if (hits > 0) {
        rate = platform::roundTo2(100.0 / (static_cast<double>(total) / hits));
    }
    std::string text = planText;
    text += "\r\n\r\n当前计划统计：总计" + std::to_string(total) + "期，中" + std::to_string(hits) +
            "期，挂" + std::to_string(misses) + "期，中奖率为" + platform::formatG13(rate) +
            "%\r\n彩票有风险，投注需谨慎！";
    return text;
}

}  // namespace quorsa::draws
