#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Small text rules shared by every module.
namespace quorsa::platform {

// The leading decimal integer: white space skipped, optional sign, digits up to
// the first other character; none gives 0. Saturates at the 64-bit range.
std::int64_t leadingInt64(std::string_view text);
// The same, wrapped to 32 bits as the 32-bit conversion of the toolkit does.
std::int32_t leadingInt(std::string_view text);

// Every occurrence of `separator` ends a part; empty parts between two
// separators count, an empty rest after the last one does not, and an empty
// text has no parts.
std::vector<std::string> splitText(std::string_view text, std::string_view separator);

// Replaces every occurrence (case-sensitive, left to right, no rescanning).
std::string replaceAll(std::string_view text, std::string_view from, std::string_view to);

// "%.13g": up to 13 significant digits, no trailing zeros or point.
std::string formatG13(double value);

// Rounds to two decimals as the toolkit's rounding does: sign set aside,
// scale by 100, add 1e-12, round half up, scale back.
double roundTo2(double value);

// Leading white space skipped, then the longest decimal floating-point
// prefix; text that is no number gives 0.
double leadingDouble(std::string_view text);

}  // namespace quorsa::platform
