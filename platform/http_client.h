#pragma once

#include <memory>
#include <string>

#include "service/http_exchange.h"

namespace quorsa::platform {

// HTTP over Qt Network with a synchronous interface. While it waits it runs a
// local event loop that keeps painting but holds user input back, so timers
// may run nested and clicks may not. Needs a QCoreApplication.
class HttpClient final : public service::HttpExchange {
public:
    // The time-out covers a whole exchange.
    explicit HttpClient(int timeoutMillis = 30000);
    ~HttpClient() override;
    HttpClient(const HttpClient&) = delete;
    HttpClient& operator=(const HttpClient&) = delete;

    std::string post(const std::string& url, const service::HttpHeaders& headers,
                     const std::string& body) override;
    std::string get(const std::string& url) override;

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

}  // namespace quorsa::platform
