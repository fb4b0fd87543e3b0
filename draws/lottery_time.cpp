#include "draws/lottery_time.h"

#include "service/codec/draw_time.h"

namespace quorsa::draws {

std::int64_t unixNow(const platform::TimeSource& time, bool milliseconds) {
    const std::int64_t ms = time.unixMillis();
    return milliseconds ? ms : ms / 1000;
}

std::optional<std::int64_t> localToUnix(std::string_view drawTime, bool milliseconds) {
    const auto seconds = codec::parseDrawTime(drawTime);
    if (!seconds) {
        return std::nullopt;
    }
    return milliseconds ? *seconds * 1000 : *seconds;
}

}  // namespace quorsa::draws
