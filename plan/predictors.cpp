#include "plan/predictors.h"

#include <algorithm>
#include <cmath>

#include "plan/number_helpers.h"
#include "plan/random_generator.h"
#include "platform/text.h"

namespace quorsa::plan {
namespace {

// Drawn numbers are texts; one that is no number counts as 0.
double sumOf(const std::vector<std::string>& numbers, std::int32_t first, std::int32_t count) {
    double sum = 0;
    for (std::int32_t i = 1; i <= count; ++i) {
        const auto k = static_cast<std::int32_t>(static_cast<std::int64_t>(first) + i - 1);
        sum += platform::leadingInt(drawNumberAt(numbers, k));
    }
    return sum;
}

bool contains(const std::string& text, const std::string& part) {
    return !part.empty() && text.find(part) != std::string::npos;
}

// `count` different dice values in ascending order; none when the count
// cannot be reached.
std::vector<std::int32_t> distinctValues(RandomGenerator& random, std::int32_t count) {
    std::vector<std::int32_t> values;
    if (count < 1 || count > kDiceFaces)
        return values;
    while (static_cast<std::int32_t>(values.size()) < count) {
        const std::int32_t d = random.random(1, kDiceFaces);
        if (std::find(values.begin(), values.end(), d) == values.end())
            values.push_back(d);
    }
    std::sort(values.begin(), values.end());
    return values;
}

}  // namespace

std::unique_ptr<Predictor> SumParityPredictor::clone() const {
    return std::make_unique<SumParityPredictor>(*this);
}

std::string SumParityPredictor::取下期预测(std::int32_t seed) {
    random().seed(seed);
    return random().random(1, 2) == 1 ? "单" : "双";
}

bool SumParityPredictor::验证预测(const std::vector<std::string>& numbers,
                                  const std::string& prediction) {
    const double sum = sumOf(numbers, m_firstPosition, m_positionCount);
    const char* parity = std::fabs(std::fmod(sum, 2.0)) > 1e-7 ? "单" : "双";
    return prediction == parity;
}

void SumParityPredictor::configure(std::int32_t firstPosition, std::int32_t positionCount,
                                   const std::string& name) {
    m_firstPosition = firstPosition;
    m_positionCount = positionCount;
    setName(name);
}

std::unique_ptr<Predictor> SumSizePredictor::clone() const {
    return std::make_unique<SumSizePredictor>(*this);
}

std::string SumSizePredictor::取下期预测(std::int32_t seed) {
    random().seed(seed);
    return random().random(1, 2) == 1 ? "小" : "大";
}

bool SumSizePredictor::验证预测(const std::vector<std::string>& numbers,
                                const std::string& prediction) {
    const double sum = sumOf(numbers, m_firstPosition, m_positionCount);
    return prediction == (sum < 11 ? "小" : "大");
}

void SumSizePredictor::configure(std::int32_t firstPosition, std::int32_t positionCount,
                                 const std::string& name) {
    m_firstPosition = firstPosition;
    m_positionCount = positionCount;
    setName(name);
}

std::unique_ptr<Predictor> PositionCodesPredictor::clone() const {
    return std::make_unique<PositionCodesPredictor>(*this);
}

std::string PositionCodesPredictor::取下期预测(std::int32_t seed) {
    random().seed(seed);
    std::string text;
    for (const std::int32_t d : distinctValues(random(), m_codeCount)) {
        if (!text.empty())
            text += ' ';
        text += (d < 10 ? "0" : "") + std::to_string(d);
    }
    return text;
}

bool PositionCodesPredictor::验证预测(const std::vector<std::string>& numbers,
                                      const std::string& prediction) {
    return contains(prediction, drawNumberAt(numbers, m_position));
}

void PositionCodesPredictor::configure(std::int32_t position, std::int32_t codeCount,
                                       const std::string& name) {
    m_position = position;
    m_codeCount = codeCount;
    // Three codes or fewer fit on one line after the plan.
    setDisplayMode(codeCount <= 3 ? 2 : 1);
    setName(name);
}

std::unique_ptr<Predictor> SameNumberPredictor::clone() const {
    return std::make_unique<SameNumberPredictor>(*this);
}

std::string SameNumberPredictor::取下期预测(std::int32_t seed) {
    random().seed(seed);
    const std::string digit = std::to_string(random().random(1, kDiceFaces));
    std::string text;
    for (std::int32_t i = 0; i < m_repeatCount; ++i)
        text += digit;
    return text;
}

bool SameNumberPredictor::验证预测(const std::vector<std::string>& numbers,
                                   const std::string& prediction) {
    std::string joined;
    for (const auto& number : numbers)
        joined += number;
    return contains(joined, prediction);
}

void SameNumberPredictor::configure(std::int32_t repeatCount, const std::string& name) {
    m_repeatCount = repeatCount;
    setName(name);
}

std::unique_ptr<Predictor> DistinctNumberPredictor::clone() const {
    return std::make_unique<DistinctNumberPredictor>(*this);
}

std::string DistinctNumberPredictor::取下期预测(std::int32_t seed) {
    random().seed(seed);
    std::string text;
    for (const std::int32_t d : distinctValues(random(), m_pickCount)) {
        if (!text.empty())
            text += ',';
        text += std::to_string(d);
    }
    return text;
}

bool DistinctNumberPredictor::验证预测(const std::vector<std::string>& numbers,
                                       const std::string& prediction) {
    std::int32_t matches = 0;
    for (const auto& part : platform::splitText(prediction, ",")) {
        if (std::find(numbers.begin(), numbers.end(), part) != numbers.end())
            ++matches;
    }
    return matches >= m_minMatches;
}

void DistinctNumberPredictor::configure(std::int32_t minMatches, std::int32_t pickCount,
                                        const std::string& name) {
    m_minMatches = minMatches;
    m_pickCount = pickCount;
    setName(name);
}

std::unique_ptr<Predictor> SingleDanPredictor::clone() const {
    return std::make_unique<SingleDanPredictor>(*this);
}

std::string SingleDanPredictor::取下期预测(std::int32_t seed) {
    random().seed(seed);
    std::string text;
    for (std::int32_t i = 1; i < m_codeCount; ++i) {
        text += "0" + std::to_string(random().random(1, kDiceFaces)) + ",";
    }
    text += "0" + std::to_string(random().random(1, kDiceFaces));
    return text;
}

bool SingleDanPredictor::验证预测(const std::vector<std::string>& numbers,
                                  const std::string& prediction) {
    for (std::int32_t k = 1; k <= 3; ++k) {
        if (contains(prediction, drawNumberAt(numbers, k)))
            return true;
    }
    return false;
}

void SingleDanPredictor::configure(std::int32_t codeCount, const std::string& name) {
    m_codeCount = codeCount;
    setName(name);
}

}  // namespace quorsa::plan
