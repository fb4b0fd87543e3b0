#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Draw times on the wire: Beijing time (UTC+8, no daylight saving), whatever
// zone the machine runs in, shared by the client and the draw service. Unix
// times are seconds.
namespace quorsa::codec {

inline constexpr std::int64_t kBeijingOffsetSeconds = 8 * 3600;

// Days since 1970-01-01 of the Beijing calendar day holding `unixSeconds`.
std::int64_t beijingDay(std::int64_t unixSeconds);

// "yyyy-MM-dd HH:mm:ss" in Beijing time.
std::string formatDrawTime(std::int64_t unixSeconds);
// Undoes formatDrawTime; nullopt unless the text is exactly such a time.
std::optional<std::int64_t> parseDrawTime(std::string_view text);

// "yyyymmdd" of a day number, and back.
std::string dayPrefix(std::int64_t day);
std::optional<std::int64_t> parseDayPrefix(std::string_view text);

}  // namespace quorsa::codec
