#include "plan/number_helpers.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "platform/encoding.h"
#include "platform/md5.h"

namespace quorsa::plan {

std::int32_t wrap32(std::int64_t value) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(value)));
}

std::string drawNumberAt(const std::vector<std::string>& numbers, std::int32_t k) {
    const auto count = static_cast<std::int64_t>(numbers.size());
    std::int64_t index = 0;
    if (k >= 1) {
        index = k;
    } else if (k < 0) {
        index = count + k + 1;
    }
    if (index < 1 || index > count)
        return {};
    return numbers[static_cast<std::size_t>(index - 1)];
}

std::int32_t chineseNumeral(std::string_view text) {
    static constexpr std::array<std::string_view, 11> kNumerals = {
        "零", "一", "二", "三", "四", "五", "六", "七", "八", "九", "十"};
    for (std::size_t i = 0; i < kNumerals.size(); ++i) {
        if (text == kNumerals[i])
            return static_cast<std::int32_t>(i);
    }
    return -1;
}

std::int32_t hexValue(std::string_view text) {
    static constexpr std::string_view kDigits = "0123456789ABCDEF";
    double value = 0;
    for (char c : text) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
        const auto pos = kDigits.find(c);
        const double digit = pos == std::string_view::npos ? -1.0 : static_cast<double>(pos);
        value = value * 16 + digit;
    }
    // Truncate, then keep the low 32 bits even for values past 64 bits.
    value = std::trunc(value);
    if (!std::isfinite(value))
        return 0;
    double low = std::fmod(value, 4294967296.0);
    if (low < 0)
        low += 4294967296.0;
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(low));
}

std::int32_t md5Prefix(std::string_view utf8Text, std::size_t n) {
    const std::string hex = platform::md5Hex(platform::utf8ToGbk(utf8Text));
    return hexValue(std::string_view(hex).substr(0, std::min(n, hex.size())));
}

}  // namespace quorsa::plan
