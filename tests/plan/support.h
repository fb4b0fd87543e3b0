#pragma once

#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>

// A test-side copy of the generator rule, so predictions are checked
// against the rule rather than against the engine itself.
inline std::int32_t firstRaw(std::int32_t seed) {
    const std::uint32_t state = static_cast<std::uint32_t>(seed) * 214013u + 2531011u;
    return static_cast<std::int32_t>((state >> 16) & 0x7FFFu);
}

inline std::string parityFor(std::int32_t seed) {
    return firstRaw(seed) % 2 == 0 ? "单" : "双";
}

// nameHash of "和值单双": the first six hex digits of the MD5 of its GBK bytes.
inline constexpr std::int32_t kSumParityHash = 6997560;

inline std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}
