#pragma once

#include <functional>
#include <memory>
#include <string>

#include "drawservice/draw_service.h"

// The HTTP side of the service (cpp-httplib): the routes, limits and the log
// line of every request.
namespace quorsa::drawservice {

struct FrontOptions {
    std::string host = "127.0.0.1";
    int port = 19300;         // 0: any free port
    std::string downloadDir;  // empty: nothing to download
    int threads = 96;         // one per kept-alive connection
};

class HttpFront {
public:
    // `log` receives one line per request; empty: stderr.
    HttpFront(DrawService& service, FrontOptions options,
              std::function<void(const std::string&)> log = {});
    ~HttpFront();
    HttpFront(const HttpFront&) = delete;
    HttpFront& operator=(const HttpFront&) = delete;

    // Binds and listens; false and `error` when the address is not usable.
    bool bind(std::string& error);
    // The port bound (the real one when 0 was asked for).
    int port() const;
    // Answers requests until stop(); call after bind().
    bool serve();
    // True while serve() answers requests.
    bool running() const;
    // From any thread, once running(); serve() returns soon after.
    void stop();

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

}  // namespace quorsa::drawservice
