#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "plan/predictor.h"

namespace quorsa::plan {

// Most different dice values a prediction can collect.
inline constexpr std::int32_t kDiceFaces = 6;

// Parity of the sum of the dice from firstPosition on: "单" or "双".
class SumParityPredictor final : public Predictor {
public:
    using Predictor::Predictor;
    std::unique_ptr<Predictor> clone() const override;
    std::string 取下期预测(std::int32_t seed) override;
    bool 验证预测(const std::vector<std::string>& numbers, const std::string& prediction) override;
    void configure(std::int32_t firstPosition, std::int32_t positionCount, const std::string& name);

    std::int32_t firstPosition() const { return m_firstPosition; }
    std::int32_t positionCount() const { return m_positionCount; }

private:
    std::int32_t m_firstPosition = 0;
    std::int32_t m_positionCount = 0;
};

// Size of the sum: "小" for 3 to 10, "大" from 11.
class SumSizePredictor final : public Predictor {
public:
    using Predictor::Predictor;
    std::unique_ptr<Predictor> clone() const override;
    std::string 取下期预测(std::int32_t seed) override;
    bool 验证预测(const std::vector<std::string>& numbers, const std::string& prediction) override;
    void configure(std::int32_t firstPosition, std::int32_t positionCount, const std::string& name);

    std::int32_t firstPosition() const { return m_firstPosition; }
    std::int32_t positionCount() const { return m_positionCount; }

private:
    std::int32_t m_firstPosition = 0;
    std::int32_t m_positionCount = 0;
};

// N different codes for one position (百 1, 十 2, 个 3), such as "01 03 05".
class PositionCodesPredictor final : public Predictor {
public:
    using Predictor::Predictor;
    std::unique_ptr<Predictor> clone() const override;
    // Empty text when codeCount lies outside 1 to 6: more could never be
    // collected.
    std::string 取下期预测(std::int32_t seed) override;
    bool 验证预测(const std::vector<std::string>& numbers, const std::string& prediction) override;
    void configure(std::int32_t position, std::int32_t codeCount, const std::string& name);

    std::int32_t position() const { return m_position; }
    std::int32_t codeCount() const { return m_codeCount; }

private:
    std::int32_t m_position = 0;
    std::int32_t m_codeCount = 0;
};

// One value repeated k times, such as "33", found in the joined draw.
class SameNumberPredictor final : public Predictor {
public:
    using Predictor::Predictor;
    std::unique_ptr<Predictor> clone() const override;
    std::string 取下期预测(std::int32_t seed) override;
    bool 验证预测(const std::vector<std::string>& numbers, const std::string& prediction) override;
    void configure(std::int32_t repeatCount, const std::string& name);

    std::int32_t repeatCount() const { return m_repeatCount; }

private:
    std::int32_t m_repeatCount = 0;
};

// pickCount different values such as "1,3,4,6"; a hit needs minMatches of
// them among the drawn numbers.
class DistinctNumberPredictor final : public Predictor {
public:
    using Predictor::Predictor;
    std::unique_ptr<Predictor> clone() const override;
    // Empty text when pickCount lies outside 1 to 6.
    std::string 取下期预测(std::int32_t seed) override;
    bool 验证预测(const std::vector<std::string>& numbers, const std::string& prediction) override;
    void configure(std::int32_t minMatches, std::int32_t pickCount, const std::string& name);

    std::int32_t minMatches() const { return m_minMatches; }
    std::int32_t pickCount() const { return m_pickCount; }

private:
    std::int32_t m_minMatches = 0;
    std::int32_t m_pickCount = 0;
};

// N values that may repeat, such as "02,05,05"; any drawn one hits.
class SingleDanPredictor final : public Predictor {
public:
    using Predictor::Predictor;
    std::unique_ptr<Predictor> clone() const override;
    std::string 取下期预测(std::int32_t seed) override;
    bool 验证预测(const std::vector<std::string>& numbers, const std::string& prediction) override;
    void configure(std::int32_t codeCount, const std::string& name);

    std::int32_t codeCount() const { return m_codeCount; }

private:
    std::int32_t m_codeCount = 0;
};

}  // namespace quorsa::plan
