#include "drawservice/secure_random.h"

#include <openssl/rand.h>

namespace quorsa::drawservice {
namespace {

bool fill(unsigned char* bytes, int count) {
    return RAND_bytes(bytes, count) == 1;
}

}  // namespace

std::optional<std::string> randomCallKey() {
    unsigned char bytes[8];
    if (!fill(bytes, sizeof bytes)) {
        return std::nullopt;
    }
    constexpr char kDigits[] = "0123456789abcdef";
    std::string key;
    key.reserve(16);
    for (unsigned char b : bytes) {
        key.push_back(kDigits[b >> 4]);
        key.push_back(kDigits[b & 0x0F]);
    }
    return key;
}

std::optional<std::array<int, 3>> randomDice() {
    std::array<int, 3> dice{};
    std::size_t done = 0;
    while (done < dice.size()) {
        unsigned char bytes[8];
        if (!fill(bytes, sizeof bytes)) {
            return std::nullopt;
        }
        for (unsigned char b : bytes) {
            // 252 = 42 × 6: rejecting the rest keeps every face equally likely.
            if (b < 252 && done < dice.size()) {
                dice[done++] = b % 6 + 1;
            }
        }
    }
    return dice;
}

std::optional<std::int32_t> randomSeed() {
    for (;;) {
        unsigned char bytes[4];
        if (!fill(bytes, sizeof bytes)) {
            return std::nullopt;
        }
        const std::uint32_t value = (std::uint32_t{bytes[0]} << 24 | std::uint32_t{bytes[1]} << 16 |
                                     std::uint32_t{bytes[2]} << 8 | bytes[3]) &
                                    0x7FFFFFFFu;
        if (value != 0) {
            return static_cast<std::int32_t>(value);
        }
    }
}

}  // namespace quorsa::drawservice
