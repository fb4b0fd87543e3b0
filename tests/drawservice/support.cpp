#include "support.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <random>

#include "service/codec/codec.h"

namespace quorsa::drawservice::testing {

TempDir::TempDir() {
    std::random_device random;
    m_path = std::filesystem::temp_directory_path() /
             ("drawservice-test-" + std::to_string(::getpid()) + "-" + std::to_string(random()));
    std::filesystem::create_directories(m_path);
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(m_path, ec);
}

std::string handshakeBody() {
    return "DATA=GETRAND?1796961600";
}

std::string callBody(const std::string& key, std::int32_t rand, const std::string& funname,
                     const std::vector<std::string>& param) {
    nlohmann::ordered_json envelope;
    envelope["rand"] = std::to_string(rand);
    envelope["funname"] = funname;
    envelope["appid"] = "1412";
    envelope["param"] = nlohmann::ordered_json::array();
    for (const auto& p : param) {
        envelope["param"].push_back(p);
    }
    return "DATA=" + codec::encodeBody(codec::urlEscape(envelope.dump()), key);
}

Json decodedData(const Json& answer, std::int32_t rand) {
    if (!answer.contains("data") || !answer["data"].is_string()) {
        return Json();
    }
    return Json::parse(codec::decodeData(answer["data"].get<std::string>(), rand), nullptr, false);
}

LiveService::LiveService(const std::string& dataFile, DrawSchedule schedule,
                         std::int64_t nowSeconds, FrontOptions options, ServiceConfig config)
    : m_clock(nowSeconds) {
    std::string error;
    m_store = DrawStore::open(dataFile, error);
    if (!m_store) {
        ADD_FAILURE() << error;
        std::abort();
    }
    m_service = std::make_unique<DrawService>(*m_store, schedule, m_clock, std::move(config));
    options.host = "127.0.0.1";
    options.port = 0;
    options.threads = 8;
    m_front = std::make_unique<HttpFront>(*m_service, options, [this](const std::string& line) {
        std::lock_guard lock(m_logMutex);
        m_log.push_back(line);
    });
    if (!m_front->bind(error)) {
        ADD_FAILURE() << error;
        std::abort();
    }
    m_thread = std::thread([this] { m_front->serve(); });
    while (!m_front->running()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

LiveService::~LiveService() {
    m_front->stop();
    m_thread.join();
}

std::vector<std::string> LiveService::logLines(std::size_t atLeast) {
    for (int i = 0; i < 500; ++i) {
        {
            std::lock_guard lock(m_logMutex);
            if (m_log.size() >= atLeast) {
                return m_log;
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    std::lock_guard lock(m_logMutex);
    return m_log;
}

}  // namespace quorsa::drawservice::testing
