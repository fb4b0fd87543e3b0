#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace quorsa::platform {
class MessageSink;
}

namespace quorsa::plan {

class RandomGenerator;

// One plan kind: makes the prediction for the next period from a seed and
// judges a prediction against drawn numbers. The plan book keeps a clone of a
// configured predictor in every plan.
class Predictor {
public:
    // Both belong to the engine and outlive every predictor.
    Predictor(RandomGenerator& random, platform::MessageSink& messages)
        : m_random(&random), m_messages(&messages) {}
    virtual ~Predictor() = default;

    virtual std::unique_ptr<Predictor> clone() const = 0;

    virtual std::int32_t getPeriods() const { return m_periods; }
    virtual void setPeriods(std::int32_t periods) { m_periods = periods; }
    virtual std::int32_t getDisplayMode() const { return m_displayMode; }
    virtual void setDisplayMode(std::int32_t mode) { m_displayMode = mode; }
    virtual std::string getName() const { return m_name; }
    virtual void setName(const std::string& name) { m_name = name; }

    // A kind that does not override these reports the misuse and carries on
    // with an empty prediction or a miss.
    virtual std::string 取下期预测(std::int32_t seed);
    virtual bool 验证预测(const std::vector<std::string>& numbers, const std::string& prediction);

protected:
    Predictor(const Predictor&) = default;
    Predictor& operator=(const Predictor&) = default;

    RandomGenerator& random() const { return *m_random; }

private:
    RandomGenerator* m_random;
    platform::MessageSink* m_messages;
    std::string m_name;
    std::int32_t m_periods = 3;
    std::int32_t m_displayMode = 1;
};

}  // namespace quorsa::plan
