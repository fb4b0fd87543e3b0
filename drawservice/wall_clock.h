#pragma once

#include <chrono>

#include "platform/time_source.h"

namespace quorsa::drawservice {

// The system clock, without pulling the platform library (and Qt) into the
// service.
class WallClock final : public platform::TimeSource {
public:
    std::int64_t unixMillis() const override {
        using namespace std::chrono;
        return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
    }
    std::uint32_t tickCount() const override {
        using namespace std::chrono;
        const auto ms = duration_cast<milliseconds>(steady_clock::now().time_since_epoch());
        return static_cast<std::uint32_t>(static_cast<std::uint64_t>(ms.count()));
    }
};

}  // namespace quorsa::drawservice
