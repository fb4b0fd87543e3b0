#pragma once

#include <memory>

#include "plan/formula_parser.h"
#include "plan/plan_book.h"
#include "plan/random_generator.h"
#include "plan/recognisers.h"

namespace quorsa::platform {
class MessageSink;
}

namespace quorsa::plan {

// Owns everything of the plan engine that lives as long as the program: the
// random generator every prediction reseeds, the compiled plan-kind patterns
// with their predictor instances, and the one plan book.
class PlanEngine {
public:
    // Misuse and formula messages go to `messages`, which must outlive the
    // engine.
    explicit PlanEngine(platform::MessageSink& messages);
    PlanEngine(const PlanEngine&) = delete;
    PlanEngine& operator=(const PlanEngine&) = delete;

    PlanBook& book() { return m_book; }
    const PlanBook& book() const { return m_book; }
    RandomGenerator& random() { return m_random; }
    PlanRecognisers& recognisers() { return m_recognisers; }
    platform::MessageSink& messages() { return m_messages; }
    // Compiled on first use.
    const FormulaPatterns& formulaPatterns();

private:
    platform::MessageSink& m_messages;
    RandomGenerator m_random;
    PlanRecognisers m_recognisers;
    PlanBook m_book;
    std::unique_ptr<FormulaPatterns> m_formulaPatterns;
};

}  // namespace quorsa::plan
