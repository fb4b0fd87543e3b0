#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

// Randomness that clients must not predict (OpenSSL's generator). Every
// function fails (nullopt) only when the generator does.
namespace quorsa::drawservice {

// 16 lower-case hex digits.
std::optional<std::string> randomCallKey();
// Three dice 1..6, unbiased.
std::optional<std::array<int, 3>> randomDice();
// 1 .. 2^31 − 1.
std::optional<std::int32_t> randomSeed();

}  // namespace quorsa::drawservice
