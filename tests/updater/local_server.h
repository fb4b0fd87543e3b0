#pragma once

#include <httplib.h>

#include <chrono>
#include <string>
#include <thread>

// A cpp-httplib server on a free loopback port, serving from its own thread.
// Register routes on server() before start().
class LocalServer {
public:
    ~LocalServer() { stop(); }

    httplib::Server& server() { return m_server; }

    bool start() {
        m_port = m_server.bind_to_any_port("127.0.0.1");
        if (m_port <= 0) {
            return false;
        }
        m_thread = std::thread([this] { m_server.listen_after_bind(); });
        // stop() is a no-op until the loop runs; clients could connect earlier.
        for (int i = 0; i < 500 && !m_server.is_running(); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return m_server.is_running();
    }

    void stop() {
        m_server.stop();
        if (m_thread.joinable()) {
            m_thread.join();
        }
    }

    std::string url(const std::string& path) const {
        return "http://127.0.0.1:" + std::to_string(m_port) + path;
    }

private:
    httplib::Server m_server;
    std::thread m_thread;
    int m_port = 0;
};
