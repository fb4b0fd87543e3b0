#pragma once

#include <memory>
#include <string>
#include <vector>

#include "plan/predictors.h"
#include "platform/regex.h"

namespace quorsa::platform {
class MessageSink;
}

namespace quorsa::plan {

class RandomGenerator;

// The plan-kind tables and the predictor instances they configure. The
// patterns are compiled once, when the engine starts.
class PlanRecognisers {
public:
    PlanRecognisers(RandomGenerator& random, platform::MessageSink& messages);

    // The predictor serving `kind`, configured with its parameters and
    // `name`; nullptr when no dice pattern matches, or when the kind asks for
    // a number of different dice values that cannot exist (fewer than 1 or
    // more than 6).
    std::unique_ptr<Predictor> recognise(const std::string& kind, const std::string& name);

    // Compiled like the dice kinds but searched by nothing: no predictor
    // serves the race game.
    const std::vector<platform::Regex>& racePatterns() const { return m_racePatterns; }
    const std::vector<platform::Regex>& dicePatterns() const { return m_dicePatterns; }

    static const std::vector<std::string>& racePatternTexts();
    static const std::vector<std::string>& dicePatternTexts();

private:
    RandomGenerator& m_random;
    platform::MessageSink& m_messages;
    std::vector<platform::Regex> m_racePatterns;
    std::vector<platform::Regex> m_dicePatterns;
    PositionCodesPredictor m_positionCodes;
    SameNumberPredictor m_sameNumber;
    DistinctNumberPredictor m_distinctNumber;
    SumParityPredictor m_sumParity;
    SumSizePredictor m_sumSize;
};

}  // namespace quorsa::plan
