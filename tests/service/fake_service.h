#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "service/http_exchange.h"

// A service that speaks the client's protocol, for tests: in-process through
// FakeExchange or over loopback through TestServer. Its answers can be
// replaced to produce the faults.
namespace quorsa::testing {

struct FakeReply {
    int status = 200;
    std::string body;
};

class FakeService {
public:
    struct Call {
        std::string rand;
        std::string funname;
        std::string appid;
        std::vector<std::string> param;
    };

    std::string handlePost(const std::string& body);
    FakeReply handleGet(const std::string& path);

    // What the service tells.
    std::string callKey = "0f1e2d3c4b5a6978";
    std::string initPayload;
    std::string newestDrawText;
    std::string rows;  // select_draw rows, CR LF between draws
    bool spacedSelectDraw = false;
    std::string newestIssue;

    // Replacements for the handshake's or the call's answer body.
    std::optional<std::string> handshakeAnswer;
    std::optional<std::string> callAnswer;
    // Called before each GET is answered (re-entry tests).
    std::function<void()> onGet;

    // What the clients sent.
    std::vector<std::string> handshakeBodies;
    std::vector<Call> calls;
    std::vector<std::string> undecodable;
    int gets = 0;

    // The init payload pointing the draw calls and the issue text at `base`.
    static std::string initPayloadFor(const std::string& base);
};

// Hands every exchange to a FakeService without a socket.
class FakeExchange final : public service::HttpExchange {
public:
    explicit FakeExchange(FakeService& service) : m_service(&service) {}
    std::string post(const std::string& url, const service::HttpHeaders& headers,
                     const std::string& body) override;
    std::string get(const std::string& url) override;

    std::vector<service::HttpHeaders> postedHeaders;
    std::vector<std::string> urls;

private:
    FakeService* m_service;
};

// A FakeService behind a cpp-httplib server on 127.0.0.1.
class TestServer {
public:
    TestServer();
    ~TestServer();
    TestServer(const TestServer&) = delete;
    TestServer& operator=(const TestServer&) = delete;

    int port() const { return m_port; }
    std::string url(const std::string& path) const;
    // Runs `change` on the service while no request is being answered.
    void with(const std::function<void(FakeService&)>& change);

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
    int m_port = 0;
};

// A port on 127.0.0.1 on which nothing listens (at the time of asking).
int unusedPort();

// Listens on 127.0.0.1 and never accepts: connections complete in the kernel
// and no answer ever comes.
class SilentServer {
public:
    SilentServer();
    ~SilentServer();
    SilentServer(const SilentServer&) = delete;
    SilentServer& operator=(const SilentServer&) = delete;
    int port() const { return m_port; }

private:
    int m_fd = -1;
    int m_port = 0;
};

// Accepts one connection at a time, keeps the raw request bytes and answers
// with a fixed body (for checking what goes on the wire).
class RecordingServer {
public:
    explicit RecordingServer(std::string answerBody, std::string status = "200 OK");
    ~RecordingServer();
    RecordingServer(const RecordingServer&) = delete;
    RecordingServer& operator=(const RecordingServer&) = delete;
    int port() const { return m_port; }
    std::vector<std::string> requests() const;

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
    int m_port = 0;
};

}  // namespace quorsa::testing
