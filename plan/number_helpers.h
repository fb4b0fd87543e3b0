#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quorsa::plan {

// The low 32 bits of a value, read as two's complement.
std::int32_t wrap32(std::int64_t value);

// k = 0: empty text; k >= 1: element k; k < 0: counted from the end, so -1 is
// the last. Out of range gives empty text.
std::string drawNumberAt(const std::vector<std::string>& numbers, std::int32_t k);

// "零" 0 ... "十" 10; any other text -1.
std::int32_t chineseNumeral(std::string_view text);

// Hexadecimal digits read case-insensitively; a character that is no digit
// counts as -1 at its place. Low 32 bits of the result.
std::int32_t hexValue(std::string_view text);

// hexValue of the first n hexadecimal digits of the MD5 digest of the text's
// GBK bytes (the encoding the names were hashed in).
std::int32_t md5Prefix(std::string_view utf8Text, std::size_t n);

}  // namespace quorsa::plan
