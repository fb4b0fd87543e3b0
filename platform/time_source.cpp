#include "platform/time_source.h"

#include <chrono>

namespace quorsa::platform {

std::int64_t SystemTime::unixMillis() const {
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

std::uint32_t SystemTime::tickCount() const {
    using namespace std::chrono;
    // steady_clock counts from boot on Linux, as the Windows tick count does.
    const auto ms = duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    return static_cast<std::uint32_t>(static_cast<std::uint64_t>(ms));
}

}  // namespace quorsa::platform
