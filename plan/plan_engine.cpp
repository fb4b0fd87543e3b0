#include "plan/plan_engine.h"

namespace quorsa::plan {

PlanEngine::PlanEngine(platform::MessageSink& messages)
    : m_messages(messages), m_recognisers(m_random, messages), m_book(&m_recognisers) {}

const FormulaPatterns& PlanEngine::formulaPatterns() {
    if (!m_formulaPatterns)
        m_formulaPatterns = std::make_unique<FormulaPatterns>();
    return *m_formulaPatterns;
}

}  // namespace quorsa::plan
