#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <thread>
#include <vector>

#include "drawservice/draw_service.h"
#include "drawservice/http_front.h"
#include "platform/time_source.h"

namespace quorsa::drawservice::testing {

using Json = nlohmann::json;

// A clock the test moves; safe to read from the server's threads.
class TestClock final : public platform::TimeSource {
public:
    explicit TestClock(std::int64_t unixSeconds) : m_ms(unixSeconds * 1000) {}
    std::int64_t unixMillis() const override { return m_ms.load(); }
    std::uint32_t tickCount() const override { return static_cast<std::uint32_t>(m_ms.load()); }
    void advanceSeconds(std::int64_t s) { m_ms += s * 1000; }
    void setSeconds(std::int64_t s) { m_ms = s * 1000; }

private:
    std::atomic<std::int64_t> m_ms;
};

// A fresh folder, removed at the end.
class TempDir {
public:
    TempDir();
    ~TempDir();
    const std::filesystem::path& path() const { return m_path; }
    std::string file(const std::string& name) const { return (m_path / name).string(); }

private:
    std::filesystem::path m_path;
};

// The client's side of the protocol, as the client's transport does it.
std::string handshakeBody();
std::string callBody(const std::string& key, std::int32_t rand, const std::string& funname,
                     const std::vector<std::string>& param);
// The envelope's "data" of init and newestdraw, decoded and parsed.
Json decodedData(const Json& answer, std::int32_t rand);

// The draw service over loopback on a free port, in this process.
class LiveService {
public:
    LiveService(const std::string& dataFile, DrawSchedule schedule, std::int64_t nowSeconds,
                FrontOptions options = {}, ServiceConfig config = {});
    ~LiveService();
    int port() const { return m_front->port(); }
    TestClock& clock() { return m_clock; }
    DrawService& service() { return *m_service; }
    // The log so far, once it has at least `atLeast` lines (the line of a
    // request is written just after its answer) or 5 s have passed.
    std::vector<std::string> logLines(std::size_t atLeast = 0);

private:
    TestClock m_clock;
    std::unique_ptr<DrawStore> m_store;
    std::unique_ptr<DrawService> m_service;
    std::unique_ptr<HttpFront> m_front;
    std::thread m_thread;
    std::mutex m_logMutex;
    std::vector<std::string> m_log;
};

// 2026-12-11 12:00:00 Beijing time.
inline constexpr std::int64_t kNoonBeijing = 1'796'961'600;

}  // namespace quorsa::drawservice::testing
