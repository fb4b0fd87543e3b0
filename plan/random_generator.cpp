#include "plan/random_generator.h"

#include <utility>

namespace quorsa::plan {

std::int32_t RandomGenerator::raw() {
    m_state = m_state * 214013u + 2531011u;
    return static_cast<std::int32_t>((m_state >> 16) & 0x7FFFu);
}

std::int32_t RandomGenerator::random(std::int32_t min, std::int32_t max) {
    if (min < 0)
        min = 0;
    if (max < 0)
        max = 0;
    if (max < min)
        std::swap(min, max);
    if (min == max)
        return min;
    const std::int64_t span = static_cast<std::int64_t>(max) - min + 1;
    return static_cast<std::int32_t>(min + raw() % span);
}

}  // namespace quorsa::plan
