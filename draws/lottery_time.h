#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/time_source.h"

// Time as the lottery counts it: draw times are Beijing time (UTC+8, no
// daylight saving) whatever zone the machine runs in.
namespace quorsa::draws {

// The current Unix time, in seconds or milliseconds.
std::int64_t unixNow(const platform::TimeSource& time, bool milliseconds);

// A draw time "yyyy-MM-dd HH:mm:ss" in Beijing time as Unix time; nullopt
// when the text is no such date-time.
std::optional<std::int64_t> localToUnix(std::string_view drawTime, bool milliseconds);

}  // namespace quorsa::draws
