#include "plan/plan_book.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

#include "plan/number_helpers.h"
#include "plan/plan_text.h"
#include "plan/recognisers.h"
#include "platform/text.h"

namespace quorsa::plan {

PlanEntry::PlanEntry(const PlanEntry& other)
    : reserved(other.reserved),
      name(other.name),
      predictor(other.predictor ? other.predictor->clone() : nullptr),
      nameHash(other.nameHash),
      lines(other.lines),
      lineCount(other.lineCount),
      displayMode(other.displayMode),
      periods(other.periods) {}

PlanEntry& PlanEntry::operator=(const PlanEntry& other) {
    if (this != &other) {
        PlanEntry copy(other);
        *this = std::move(copy);
    }
    return *this;
}

void PlanBook::reset() {
    m_bookName.clear();
    m_bookSeed = 0;
    m_plans.clear();
    m_planCount = 0;
    m_maxLines = 0;
    m_hitChance = 0;
    m_resetOnMisses = 1;
}

void PlanBook::clearLines() {
    for (auto& entry : m_plans) {
        entry.lines.clear();
        entry.lineCount = 0;
    }
}

void PlanBook::setFormulaPeriods(std::int32_t periods, const std::string& name, bool byName) {
    if (byName) {
        if (const std::int32_t index = findPlan(name); index > 0) {
            m_plans[static_cast<std::size_t>(index - 1)].periods = periods;
        }
        return;
    }
    for (auto& entry : m_plans)
        entry.periods = periods;
}

void PlanBook::setBookName(const std::string& text) {
    m_bookName = text;
    const std::int64_t value = md5Prefix(text, 8);
    m_bookSeed = wrap32(std::llabs(value));
}

void PlanBook::appendEntry(const Predictor& predictor) {
    m_templateEntry.lines.clear();
    m_templateEntry.lineCount = 0;
    m_plans.push_back(m_templateEntry);
    ++m_planCount;
    PlanEntry& entry = m_plans.back();
    entry.predictor = predictor.clone();
    refreshEntry(entry);
}

std::int32_t PlanBook::removePlan(const std::string& name) {
    const std::int32_t index = findPlan(name);
    if (index == 0)
        return 0;
    m_plans.erase(m_plans.begin() + (index - 1));
    --m_planCount;
    return 1;
}

void PlanBook::refreshEntry(PlanEntry& entry) const {
    if (!entry.predictor)
        return;
    entry.name = entry.predictor->getName();
    entry.displayMode = entry.predictor->getDisplayMode();
    entry.periods = entry.predictor->getPeriods();
    entry.nameHash = md5Prefix(entry.name, 6);
}

bool PlanBook::splitNumbers(const std::string& text, std::vector<std::string>& out) {
    out = platform::splitText(text, ",");
    return out.size() == 3;
}

std::string PlanBook::periodLabel(const std::string& issue, std::int32_t offset) const {
    const std::string_view tail =
        std::string_view(issue).substr(issue.size() >= 2 ? issue.size() - 2 : 0);
    std::int64_t s = static_cast<std::int64_t>(platform::leadingInt(tail)) + offset;
    // The same as taking periodsPerDay off until s fits, without the loop.
    if (s > m_periodsPerDay)
        s = (s - 1) % m_periodsPerDay + 1;
    const std::string digits = std::to_string(s);
    if (s < 10)
        return "00" + digits;
    if (s < 100)
        return "0" + digits;
    return digits;
}

std::string PlanBook::renderPlan(const PlanEntry& entry, const std::string& bookName) const {
    return plan::renderPlan(entry, bookName);
}

bool PlanBook::addPlan(const std::string& kind, const std::string& name, std::int32_t periods) {
    if (kind.empty() || m_recognisers == nullptr)
        return false;
    const std::unique_ptr<Predictor> configured = m_recognisers->recognise(kind, name);
    if (!configured)
        return false;
    appendEntry(*configured);
    setFormulaPeriods(periods, name, true);
    return true;
}

bool PlanBook::addDraw(const std::string& issue, const std::string& numberText, std::int32_t seed,
                       const std::string& nextNumberText, std::int32_t) {
    std::vector<std::string> numbers;
    if (!splitNumbers(numberText, numbers))
        return false;
    std::vector<std::string> next;
    if (!nextNumberText.empty() && !splitNumbers(nextNumberText, next))
        return false;
    settleDraw(issue, numberText, numbers, seed, next, 1);
    return true;
}

void PlanBook::settleDraw(const std::string& issue, const std::string& numberText,
                          const std::vector<std::string>& numbers, std::int32_t seed,
                          const std::vector<std::string>& next, std::int32_t) {
    if (seed == 0)
        return;
    const std::string label = periodLabel(issue, 0);
    const std::int32_t seq = platform::leadingInt(label);
    const std::int32_t drawSeed =
        wrap32(static_cast<std::int64_t>(m_bookSeed) + seq + static_cast<std::int64_t>(seed));
    for (auto& entry : m_plans) {
        if (entry.lines.empty()) {
            // Real issues have eleven digits: the period before needs 64 bits.
            std::int64_t previous = platform::leadingInt64(issue);
            if (previous > std::numeric_limits<std::int64_t>::min())
                --previous;
            openLine(entry, std::to_string(previous), drawSeed, next);
        }
        PlanLine& line = entry.lines.back();
        line.checkedPeriod = label;
        line.checkedNumbers = numberText;
        const bool hit = entry.predictor && entry.predictor->验证预测(numbers, line.prediction);
        line.status = hit ? Hit : Miss;
        if (hit) {
            openLine(entry, issue, drawSeed, next);
        } else if (seq == platform::leadingInt(line.lastPeriod)) {
            if (m_resetOnMisses != 0 && recentStatusRun(entry, Miss, 3, 2, false)) {
                entry.lines.clear();
                entry.lineCount = 0;
            }
            openLine(entry, issue, drawSeed, next);
        } else {
            line.status = Pending;
        }
    }
}

bool PlanBook::recentStatusRun(const PlanEntry& entry, std::int32_t status, std::int32_t window,
                               std::int32_t needed, bool consecutiveOnly) {
    const auto n = static_cast<std::int64_t>(entry.lines.size());
    if (n < needed)
        return false;
    const std::int64_t low = std::max<std::int64_t>(1, n - window + 1);
    std::int32_t count = 0;
    for (std::int64_t i = n; i >= low; --i) {
        if (entry.lines[static_cast<std::size_t>(i - 1)].status == status) {
            if (++count == needed)
                return true;
        } else if (consecutiveOnly) {
            return false;
        }
    }
    return false;
}

void PlanBook::openLine(PlanEntry& entry, const std::string& issue, std::int32_t seed,
                        const std::vector<std::string>&) {
    PlanLine line;
    line.firstPeriod = periodLabel(issue, 1);
    line.lastPeriod = periodLabel(issue, entry.periods);
    line.status = Pending;
    // Known next numbers change nothing: a replayed line is predicted exactly
    // as a live one, from the draw's seed.
    if (entry.predictor) {
        line.prediction =
            entry.predictor->取下期预测(wrap32(static_cast<std::int64_t>(seed) + entry.nameHash));
    }
    if (m_maxLines != 0 && static_cast<double>(entry.lineCount) - (m_maxLines - 1.0) > 1e-7 &&
        !entry.lines.empty()) {
        entry.lines.erase(entry.lines.begin());
        --entry.lineCount;
    }
    entry.lines.push_back(std::move(line));
    ++entry.lineCount;
}

std::int32_t PlanBook::findPlan(const std::string& name) const {
    for (std::size_t i = 0; i < m_plans.size(); ++i) {
        if (m_plans[i].name == name)
            return static_cast<std::int32_t>(i + 1);
    }
    return 0;
}

const PlanEntry* PlanBook::entryAt(std::int32_t index) const {
    if (index < 1 || static_cast<std::size_t>(index) > m_plans.size())
        return nullptr;
    return &m_plans[static_cast<std::size_t>(index - 1)];
}

std::string PlanBook::planNameAt(std::int32_t index) const {
    const PlanEntry* entry = entryAt(index);
    return entry ? entry->name : std::string();
}

std::string PlanBook::planTextAt(std::int32_t index) const {
    const PlanEntry* entry = entryAt(index);
    return entry ? renderPlan(*entry, m_bookName) : std::string();
}

std::string PlanBook::planText(const std::string& name) const {
    return planTextAt(findPlan(name));
}

void PlanBook::copyPlanAt(std::int32_t index, PlanEntry& out) const {
    if (const PlanEntry* entry = entryAt(index))
        out = *entry;
}

void PlanBook::copyPlan(const std::string& name, PlanEntry& out) const {
    copyPlanAt(findPlan(name), out);
}

std::string PlanBook::currentPredictionAt(std::int32_t index) const {
    const PlanEntry* entry = entryAt(index);
    if (entry == nullptr || entry->lines.empty())
        return {};
    return entry->lines.back().prediction;
}

std::string PlanBook::currentPrediction(const std::string& name) const {
    return currentPredictionAt(findPlan(name));
}

void PlanBook::setPeriodsPerDay(std::int32_t n) {
    if (n >= 1)
        m_periodsPerDay = n;
}

}  // namespace quorsa::plan
