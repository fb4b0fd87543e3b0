#pragma once

#include <cstdint>

namespace quorsa::platform {

// Where the program reads the time; tests substitute a clock they move.
class TimeSource {
public:
    virtual ~TimeSource() = default;
    // True Unix time in milliseconds (UTC).
    virtual std::int64_t unixMillis() const = 0;
    // Milliseconds since the system started, wrapping at 32 bits.
    virtual std::uint32_t tickCount() const = 0;
};

class SystemTime final : public TimeSource {
public:
    std::int64_t unixMillis() const override;
    std::uint32_t tickCount() const override;
};

// A clock that only moves when told to.
class ManualTime final : public TimeSource {
public:
    explicit ManualTime(std::int64_t unixMillis = 0, std::uint32_t tick = 0)
        : m_unixMillis(unixMillis), m_tick(tick) {}
    std::int64_t unixMillis() const override { return m_unixMillis; }
    std::uint32_t tickCount() const override { return m_tick; }
    void setUnixMillis(std::int64_t ms) { m_unixMillis = ms; }
    void setTickCount(std::uint32_t tick) { m_tick = tick; }
    void advanceMillis(std::int64_t ms) {
        m_unixMillis += ms;
        m_tick += static_cast<std::uint32_t>(ms);
    }

private:
    std::int64_t m_unixMillis;
    std::uint32_t m_tick;
};

}  // namespace quorsa::platform
