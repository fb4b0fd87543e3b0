#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "plan/predictor.h"

namespace quorsa::plan {

class PlanRecognisers;

enum LineStatus : std::int32_t { Pending = 0, Miss = 1, Hit = 2 };

// One prediction covering one or more consecutive periods.
struct PlanLine {
    std::string firstPeriod;
    std::string lastPeriod;
    std::int32_t status = Pending;
    std::string prediction;
    std::string checkedPeriod;   // the latest draw checked against the line
    std::string checkedNumbers;  // its numbers as received, e.g. "2,3,6"
};

// One plan. Copies are deep: the predictor is cloned.
struct PlanEntry {
    PlanEntry() = default;
    PlanEntry(const PlanEntry& other);
    PlanEntry& operator=(const PlanEntry& other);
    PlanEntry(PlanEntry&&) noexcept = default;
    PlanEntry& operator=(PlanEntry&&) noexcept = default;
    ~PlanEntry() = default;

    std::string reserved;
    std::string name;
    std::unique_ptr<Predictor> predictor;
    std::int32_t nameHash = 0;    // added to every prediction seed
    std::vector<PlanLine> lines;  // oldest first
    std::int32_t lineCount = 0;
    std::int32_t displayMode = 1;
    std::int32_t periods = 3;  // periods of each line opened from now on
};

// Every plan, its lines, and how a draw settles them.
class PlanBook {
public:
    // `recognisers` serves addPlan; without one no plan kind is recognised.
    explicit PlanBook(PlanRecognisers* recognisers = nullptr) : m_recognisers(recognisers) {}

    void reset();
    void clearLines();
    void setResetOnMisses(std::int32_t flag) { m_resetOnMisses = flag; }
    void setHitChance(std::int32_t percent) { m_hitChance = percent; }
    void setFormulaPeriods(std::int32_t periods, const std::string& name, bool byName);
    void setBookName(const std::string& text);
    void appendEntry(const Predictor& predictor);
    std::int32_t removePlan(const std::string& name);
    void refreshEntry(PlanEntry& entry) const;
    void setMaxLines(std::int32_t n) { m_maxLines = n; }
    static bool splitNumbers(const std::string& text, std::vector<std::string>& out);
    std::string periodLabel(const std::string& issue, std::int32_t offset) const;
    std::string renderPlan(const PlanEntry& entry, const std::string& bookName) const;
    bool addPlan(const std::string& kind, const std::string& name, std::int32_t periods);
    bool addDraw(const std::string& issue, const std::string& numberText, std::int32_t seed,
                 const std::string& nextNumberText, std::int32_t flag);
    void settleDraw(const std::string& issue, const std::string& numberText,
                    const std::vector<std::string>& numbers, std::int32_t seed,
                    const std::vector<std::string>& next, std::int32_t flag);
    // Whether `needed` of the last `window` lines have `status`; with
    // consecutiveOnly the run must start at the newest line and be unbroken.
    static bool recentStatusRun(const PlanEntry& entry, std::int32_t status, std::int32_t window,
                                std::int32_t needed, bool consecutiveOnly);
    void openLine(PlanEntry& entry, const std::string& issue, std::int32_t seed,
                  const std::vector<std::string>& next);
    std::int32_t findPlan(const std::string& name) const;
    std::string planNameAt(std::int32_t index) const;
    std::string getBookName() const { return m_bookName; }
    std::int32_t getPlanCount() const { return m_planCount; }
    std::string planTextAt(std::int32_t index) const;
    std::string planText(const std::string& name) const;
    void copyPlanAt(std::int32_t index, PlanEntry& out) const;
    void copyPlan(const std::string& name, PlanEntry& out) const;
    std::string currentPredictionAt(std::int32_t index) const;
    std::string currentPrediction(const std::string& name) const;
    // Values below 1 are ignored: the labels could never wrap.
    void setPeriodsPerDay(std::int32_t n);

    std::int32_t bookSeed() const { return m_bookSeed; }
    std::int32_t maxLines() const { return m_maxLines; }
    std::int32_t hitChance() const { return m_hitChance; }
    std::int32_t resetOnMisses() const { return m_resetOnMisses; }
    std::int32_t periodsPerDay() const { return m_periodsPerDay; }
    const std::vector<PlanEntry>& plans() const { return m_plans; }

private:
    const PlanEntry* entryAt(std::int32_t index) const;

    PlanRecognisers* m_recognisers;
    std::string m_bookName;
    std::int32_t m_bookSeed = 0;
    std::vector<PlanEntry> m_plans;
    std::int32_t m_planCount = 0;
    std::int32_t m_maxLines = 0;
    // Kept, like the next-number text addDraw still checks, but neither
    // steers a prediction: every line, replayed or live, carries the
    // predictor's own result, so the statistics are an honest backtest.
    std::int32_t m_hitChance = 80;
    std::int32_t m_resetOnMisses = 1;
    std::int32_t m_periodsPerDay = 82;
    PlanEntry m_templateEntry;  // every new plan starts as a copy of it
};

}  // namespace quorsa::plan
