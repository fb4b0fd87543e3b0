#pragma once

#include <cstdint>

namespace quorsa::plan {

// The engine's one linear congruential generator. Every prediction reseeds
// it, so a prediction depends only on its seed.
class RandomGenerator {
public:
    void seed(std::int32_t s) { m_state = static_cast<std::uint32_t>(s); }
    // Bits 16 to 30 of the next state: 0 to 32767.
    std::int32_t raw();
    // min + raw % (max - min + 1); negative bounds become 0, swapped bounds
    // are put in order, equal bounds give min without drawing.
    std::int32_t random(std::int32_t min, std::int32_t max);

    std::uint32_t state() const { return m_state; }

private:
    std::uint32_t m_state = 0;
};

}  // namespace quorsa::plan
