#include "platform/text.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace quorsa::platform {
namespace {

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

// Moves `i` past leading white space and an optional sign; true for "-".
bool skipBlanksAndSign(std::string_view text, std::size_t& i) {
    while (i < text.size() && isSpace(text[i])) {
        ++i;
    }
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        return text[i++] == '-';
    }
    return false;
}

}  // namespace

std::int64_t leadingInt64(std::string_view text) {
    std::size_t i = 0;
    const bool negative = skipBlanksAndSign(text, i);
    constexpr auto kMax = std::numeric_limits<std::int64_t>::max();
    std::uint64_t value = 0;
    bool overflow = false;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        const auto digit = static_cast<std::uint64_t>(text[i] - '0');
        if (value > (static_cast<std::uint64_t>(kMax) - digit) / 10) {
            overflow = true;
            continue;
        }
        value = value * 10 + digit;
    }
    if (overflow) {
        return negative ? std::numeric_limits<std::int64_t>::min() : kMax;
    }
    const auto v = static_cast<std::int64_t>(value);
    return negative ? -v : v;
}

std::int32_t leadingInt(std::string_view text) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(
        static_cast<std::uint64_t>(leadingInt64(text))));
}

std::vector<std::string> splitText(std::string_view text, std::string_view separator) {
    std::vector<std::string> parts;
    if (text.empty()) {
        return parts;
    }
    if (separator.empty()) {
        parts.emplace_back(text);
        return parts;
    }
    std::size_t start = 0;
    while (true) {
        const std::size_t pos = text.find(separator, start);
        if (pos == std::string_view::npos) {
            if (start < text.size()) {
                parts.emplace_back(text.substr(start));
            }
            break;
        }
        parts.emplace_back(text.substr(start, pos - start));
        start = pos + separator.size();
    }
    return parts;
}

std::string replaceAll(std::string_view text, std::string_view from, std::string_view to) {
    if (from.empty()) {
        return std::string(text);
    }
    std::string out;
    out.reserve(text.size());
    std::size_t start = 0;
    while (true) {
        const std::size_t pos = text.find(from, start);
        if (pos == std::string_view::npos) {
            out.append(text.substr(start));
            return out;
        }
        out.append(text.substr(start, pos - start));
        out.append(to);
        start = pos + from.size();
    }
}

std::string formatG13(double value) {
    if (std::isnan(value)) {
        return "nan";
    }
    // to_chars, unlike printf, ignores the locale Qt installs at start-up.
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                      std::chars_format::general, 13);
    return std::string(buffer, result.ptr);
}

double roundTo2(double value) {
    if (value == 0.0 || !std::isfinite(value)) {
        return value;
    }
    const bool negative = value < 0;
    const double scaled = std::fabs(value) * 100.0 + 1e-12;
    double whole = std::floor(scaled);
    if (scaled - whole >= 0.5) {
        whole += 1.0;
    }
    const double result = whole / 100.0;
    return negative ? -result : result;
}

double leadingDouble(std::string_view text) {
    std::size_t i = 0;
    const bool negative = skipBlanksAndSign(text, i);
    const auto isDigit = [&](std::size_t k) {
        return k < text.size() && text[k] >= '0' && text[k] <= '9';
    };
    if (!isDigit(i) && !(i < text.size() && text[i] == '.' && isDigit(i + 1))) {
        return 0.0;  // no "inf", "nan" or other words
    }
    // from_chars ignores the locale Qt installs at start-up.
    double value = 0.0;
    const char* first = text.data() + i;
    const auto result = std::from_chars(first, text.data() + text.size(), value,
                                        std::chars_format::general);
    if (result.ec != std::errc()) {
        return 0.0;
    }
    return negative ? -value : value;
}

}  // namespace quorsa::platform
