#include "fake_service.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <httplib.h>
#include <atomic>
#include <cstring>
#include <nlohmann/json.hpp>
#include <stdexcept>
#include <thread>

#include "service/codec/codec.h"

namespace quorsa::testing {
namespace {

using Json = nlohmann::ordered_json;

std::string envelope(const Json& data, bool spaced = false) {
    Json answer;
    answer["errcode"] = 0;
    answer["msg"] = "";
    answer["data"] = data;
    return spaced ? answer.dump(2) : answer.dump();
}

int listeningSocket(int backlog) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0) {
        throw std::runtime_error("socket");
    }
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = 0;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
        ::listen(fd, backlog) != 0) {
        ::close(fd);
        throw std::runtime_error("bind/listen");
    }
    return fd;
}

int portOf(int fd) {
    sockaddr_in addr{};
    socklen_t len = sizeof addr;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
    return ntohs(addr.sin_port);
}

}  // namespace

std::string FakeService::initPayloadFor(const std::string& base) {
    Json init;
    init["drawurl"] = base + "/draw.php";
    init["newphase"] = base + "/newphase.txt";
    init["advert1"] = base + "/advert.html";
    init["version"] = "1.15";
    init["proupurl"] = base + "/download/client.exe";
    return init.dump();
}

std::string FakeService::handlePost(const std::string& body) {
    constexpr std::string_view kHandshake = "DATA=GETRAND?";
    if (body.rfind(kHandshake, 0) == 0) {
        handshakeBodies.push_back(body);
        if (handshakeAnswer) {
            return *handshakeAnswer;
        }
        return envelope(callKey);
    }
    Call call;
    try {
        if (body.rfind("DATA=", 0) != 0) {
            throw std::runtime_error("no DATA=");
        }
        const Json request = Json::parse(
            codec::urlUnescape(codec::decodeBody(std::string_view(body).substr(5), callKey)));
        call.rand = request.at("rand").get<std::string>();
        call.funname = request.at("funname").get<std::string>();
        call.appid = request.at("appid").get<std::string>();
        call.param = request.at("param").get<std::vector<std::string>>();
    } catch (const std::exception&) {
        undecodable.push_back(body);
        return R"({"errcode":1,"msg":"bad request","data":""})";
    }
    calls.push_back(call);
    if (callAnswer) {
        return *callAnswer;
    }
    const auto rand = static_cast<std::int32_t>(std::stol(call.rand));
    if (call.funname == "init") {
        return envelope(codec::encodeData(initPayload, rand));
    }
    if (call.funname == "newestdraw") {
        return envelope(codec::encodeData(Json{{"data", newestDrawText}}.dump(), rand));
    }
    if (call.funname == "select_draw") {
        return envelope(Json{{"data", rows}}.dump(), spacedSelectDraw);
    }
    return R"({"errcode":2,"msg":"unknown function","data":""})";
}

FakeReply FakeService::handleGet(const std::string& path) {
    ++gets;
    if (onGet) {
        onGet();
    }
    if (path.ends_with("/newphase.txt")) {
        return {200, newestIssue};
    }
    return {404, "<html><body>not found</body></html>"};
}

std::string FakeExchange::post(const std::string& url, const service::HttpHeaders& headers,
                               const std::string& body) {
    urls.push_back(url);
    postedHeaders.push_back(headers);
    return m_service->handlePost(body);
}

std::string FakeExchange::get(const std::string& url) {
    urls.push_back(url);
    FakeReply reply = m_service->handleGet(url);
    return reply.status / 100 == 2 ? reply.body : std::string();
}

struct TestServer::Impl {
    std::mutex mutex;
    FakeService service;
    httplib::Server server;
    std::thread thread;
};

TestServer::TestServer() : m_impl(std::make_unique<Impl>()) {
    Impl& impl = *m_impl;
    impl.server.Post(R"(/.*\.php)", [&impl](const httplib::Request& req, httplib::Response& res) {
        std::lock_guard lock(impl.mutex);
        res.set_content(impl.service.handlePost(req.body), "application/json; charset=utf-8");
    });
    impl.server.Get(R"(/.*)", [&impl](const httplib::Request& req, httplib::Response& res) {
        std::lock_guard lock(impl.mutex);
        const FakeReply reply = impl.service.handleGet(req.path);
        res.status = reply.status;
        res.set_content(reply.body, "text/plain");
    });
    m_port = impl.server.bind_to_any_port("127.0.0.1");
    if (m_port <= 0) {
        throw std::runtime_error("test server: no port");
    }
    impl.thread = std::thread([&impl] { impl.server.listen_after_bind(); });
    std::lock_guard lock(impl.mutex);
    impl.service.initPayload = FakeService::initPayloadFor(url(""));
}

TestServer::~TestServer() {
    m_impl->server.stop();
    m_impl->thread.join();
}

std::string TestServer::url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(m_port) + path;
}

void TestServer::with(const std::function<void(FakeService&)>& change) {
    std::lock_guard lock(m_impl->mutex);
    change(m_impl->service);
}

int unusedPort() {
    const int fd = listeningSocket(1);
    const int port = portOf(fd);
    ::close(fd);
    return port;
}

SilentServer::SilentServer() : m_fd(listeningSocket(16)), m_port(portOf(m_fd)) {}
SilentServer::~SilentServer() {
    ::close(m_fd);
}

struct RecordingServer::Impl {
    int fd = -1;
    std::string answer;
    std::string status;
    std::atomic<bool> stop{false};
    mutable std::mutex mutex;
    std::vector<std::string> requests;
    std::thread thread;

    void serve() {
        while (!stop) {
            pollfd p{fd, POLLIN, 0};
            if (::poll(&p, 1, 20) <= 0) {
                continue;
            }
            const int conn = ::accept(fd, nullptr, nullptr);
            if (conn < 0) {
                continue;
            }
            std::string request;
            char buffer[4096];
            std::size_t wanted = std::string::npos;
            while (request.size() < wanted) {
                const ssize_t n = ::recv(conn, buffer, sizeof buffer, 0);
                if (n <= 0) {
                    break;
                }
                request.append(buffer, static_cast<std::size_t>(n));
                const auto end = request.find("\r\n\r\n");
                if (end != std::string::npos && wanted == std::string::npos) {
                    std::size_t length = 0;
                    const auto cl = request.find("Content-Length: ");
                    if (cl != std::string::npos && cl < end) {
                        length = std::stoul(request.substr(cl + 16));
                    }
                    wanted = end + 4 + length;
                }
            }
            {
                std::lock_guard lock(mutex);
                requests.push_back(request);
            }
            const std::string reply =
                "HTTP/1.1 " + status + "\r\nContent-Type: application/json\r\nContent-Length: " +
                std::to_string(answer.size()) + "\r\nConnection: close\r\n\r\n" + answer;
            ::send(conn, reply.data(), reply.size(), MSG_NOSIGNAL);
            ::close(conn);
        }
    }
};

RecordingServer::RecordingServer(std::string answerBody, std::string status)
    : m_impl(std::make_unique<Impl>()) {
    m_impl->fd = listeningSocket(16);
    m_impl->status = std::move(status);
    m_impl->answer = std::move(answerBody);
    m_port = portOf(m_impl->fd);
    m_impl->thread = std::thread([impl = m_impl.get()] { impl->serve(); });
}

RecordingServer::~RecordingServer() {
    m_impl->stop = true;
    m_impl->thread.join();
    ::close(m_impl->fd);
}

std::vector<std::string> RecordingServer::requests() const {
    std::lock_guard lock(m_impl->mutex);
    return m_impl->requests;
}

}  // namespace quorsa::testing
