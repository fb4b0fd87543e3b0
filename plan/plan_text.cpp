#include "plan/plan_text.h"

namespace quorsa::plan {

std::string renderPlan(const PlanEntry& entry, const std::string& bookName) {
    std::string text;
    text.reserve(entry.lines.size() * (64 + bookName.size() + entry.name.size()));
    const bool single = entry.periods == 1;
    for (const PlanLine& line : entry.lines) {
        text += line.firstPeriod;
        if (!single) {
            text += '-';
            text += line.lastPeriod;
        }
        text += "期 ";
        if (entry.displayMode == 2) {
            text += bookName;
            text += entry.name;
            text += ' ';
        } else if (entry.displayMode == 1) {
            text += bookName;
            text += entry.name;
            text += "【";
            text += line.prediction;
            text += "】 ";
        }
        if (line.status == Hit || (line.status == Miss && single)) {
            text += '<';
            text += line.checkedPeriod;
            text += "期-";
            text += line.checkedNumbers;
            text += line.status == Hit ? ">→中" : ">→无";
        } else if (line.status == Miss) {
            text += "挂";
        } else {
            text += "等开";
        }
        text += "\r\n";
    }
    if (entry.displayMode == 2 && !entry.lines.empty()) {
        text += "\r\n\r\n ";
        text += entry.lines.back().prediction;
        text += "\r\n";
    }
    return text;
}

}  // namespace quorsa::plan
