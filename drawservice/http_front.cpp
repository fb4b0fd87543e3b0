#include "drawservice/http_front.h"

#include <sys/socket.h>

#include <httplib.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <unordered_map>

namespace quorsa::drawservice {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr std::uintmax_t kMaxDownloadBytes = 256u * 1024 * 1024;

// httplib listens with a backlog of 5; 64 clients connecting at once need more.
class Server final : public httplib::Server {
public:
    void widenBacklog(int backlog) { ::listen(svr_sock_, backlog); }
};

std::string connectionOf(const httplib::Request& req) {
    return req.remote_addr + " " + std::to_string(req.remote_port);
}

std::string utcStamp() {
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    const auto millis =
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() %
        1000;
    std::tm utc{};
    gmtime_r(&seconds, &utc);
    char text[96];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d.%03dZ", utc.tm_year + 1900,
                  utc.tm_mon + 1, utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec,
                  static_cast<int>(millis));
    return text;
}

// Only printable ASCII goes into a log line.
std::string loggable(std::string_view text) {
    std::string out;
    for (char c : text.substr(0, 200)) {
        const auto b = static_cast<unsigned char>(c);
        out.push_back(b > 0x20 && b < 0x7F ? c : '?');
    }
    return out;
}

// A file name inside the download folder: one plain path segment.
bool isPlainFileName(const std::string& name) {
    if (name.empty() || name.size() > 255 || name.front() == '.') {
        return false;
    }
    for (char c : name) {
        if (c == '/' || c == '\\' || c == '\0') {
            return false;
        }
    }
    return true;
}

}  // namespace

struct HttpFront::Impl {
    struct Note {
        Clock::time_point start;
        std::string function = "-";
        std::string outcome;
    };

    DrawService& service;
    FrontOptions options;
    std::function<void(const std::string&)> log;
    Server server;
    int port = 0;
    std::mutex notesMutex;
    std::unordered_map<std::string, Note> notes;  // by connection: one request at a time each

    Impl(DrawService& s, FrontOptions o, std::function<void(const std::string&)> l)
        : service(s), options(std::move(o)), log(std::move(l)) {}

    void note(const httplib::Request& req, std::string function, std::string outcome) {
        std::lock_guard lock(notesMutex);
        Note& n = notes[connectionOf(req)];
        n.function = std::move(function);
        n.outcome = std::move(outcome);
    }

    std::string base(const httplib::Request& req) const {
        std::string host = req.local_addr.empty() ? options.host : req.local_addr;
        if (host.find(':') != std::string::npos) {
            host = "[" + host + "]";
        }
        return "http://" + host + ":" + std::to_string(req.local_port > 0 ? req.local_port : port);
    }

    void refuse(const httplib::Request& req, httplib::Response& res, int status, Refusal code,
                std::string_view message) {
        res.status = status;
        res.set_content(DrawService::refusalBody(code, message), "application/json; charset=utf-8");
        note(req, "-", "refused " + std::to_string(static_cast<int>(code)));
    }

    void post(const httplib::Request& req, httplib::Response& res,
              const httplib::ContentReader& reader) {
        if (req.is_multipart_form_data()) {
            res.set_header("Connection", "close");
            refuse(req, res, 400, Refusal::BadRequest, "请求格式错误");
            return;
        }
        std::string body;
        bool tooLarge = false;
        const bool complete = reader([&](const char* data, std::size_t length) {
            if (body.size() + length > kMaxBodyBytes) {
                tooLarge = true;
                return false;
            }
            body.append(data, length);
            return true;
        });
        if (tooLarge || res.status == 413) {
            res.set_header("Connection", "close");
            refuse(req, res, 413, Refusal::TooLarge, "请求过大");
            return;
        }
        if (!complete) {
            res.set_header("Connection", "close");
            refuse(req, res, 400, Refusal::BadRequest, "请求格式错误");
            return;
        }
        PostReply reply =
            service.handlePost(body, ClientId{req.remote_addr, req.remote_port}, base(req));
        res.status = 200;
        res.set_content(reply.body, "application/json; charset=utf-8");
        note(req, std::move(reply.function), std::move(reply.outcome));
    }

    void download(const httplib::Request& req, httplib::Response& res) {
        const std::string name = req.matches.size() > 1 ? req.matches[1].str() : std::string();
        std::error_code ec;
        if (options.downloadDir.empty() || !isPlainFileName(name)) {
            res.status = 404;
            note(req, "download", "not found");
            return;
        }
        const fs::path root = fs::canonical(options.downloadDir, ec);
        const fs::path file = ec ? fs::path() : fs::canonical(root / name, ec);
        // The file must really lie in the folder (no link leading out of it).
        if (ec || file.parent_path() != root || !fs::is_regular_file(file, ec) ||
            fs::file_size(file, ec) > kMaxDownloadBytes) {
            res.status = 404;
            note(req, "download", "not found");
            return;
        }
        const std::uintmax_t size = fs::file_size(file, ec);
        auto in = std::make_shared<std::ifstream>(file, std::ios::binary);
        if (ec || !*in) {
            res.status = 404;
            note(req, "download", "not found");
            return;
        }
        // Streamed in pieces: packages need not fit in memory once per download.
        res.set_content_provider(
            static_cast<std::size_t>(size), "application/octet-stream",
            [in](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
                char buffer[64 * 1024];
                in->seekg(static_cast<std::streamoff>(offset));
                in->read(buffer, static_cast<std::streamsize>(std::min(length, sizeof buffer)));
                const std::streamsize got = in->gcount();
                if (got <= 0) {
                    return false;
                }
                sink.write(buffer, static_cast<std::size_t>(got));
                return true;
            });
        note(req, "download", "ok");
    }

    void routes() {
        server.set_payload_max_length(kMaxBodyBytes);
        server.set_tcp_nodelay(true);
        server.set_keep_alive_max_count(1000);
        const int threads = options.threads;
        // httplib takes ownership of the queue it is handed.
        server.new_task_queue = [threads] {
            return std::make_unique<httplib::ThreadPool>(static_cast<std::size_t>(threads))
                .release();
        };
        server.set_pre_routing_handler([this](const httplib::Request& req, httplib::Response&) {
            std::lock_guard lock(notesMutex);
            const auto now = Clock::now();
            // A request whose answer was never written leaves its note behind.
            if (notes.size() > 4096) {
                std::erase_if(notes, [&](const auto& entry) {
                    return now - entry.second.start > std::chrono::minutes(1);
                });
            }
            notes[connectionOf(req)] = Note{now, "-", ""};
            return httplib::Server::HandlerResponse::Unhandled;
        });
        for (const char* path : {"/appinit.php", "/draw.php"}) {
            server.Post(path,
                        [this](const httplib::Request& req, httplib::Response& res,
                               const httplib::ContentReader& reader) { post(req, res, reader); });
        }
        server.Get("/newphase.txt", [this](const httplib::Request& req, httplib::Response& res) {
            const std::string issue = service.newestIssue();
            res.status = issue.empty() ? 503 : 200;
            res.set_content(issue, "text/plain; charset=utf-8");
            note(req, "newphase", issue.empty() ? "no draw" : "ok");
        });
        server.Get("/advert.html", [this](const httplib::Request& req, httplib::Response& res) {
            res.set_content(service.advertPage(base(req)), "text/html; charset=utf-8");
            note(req, "advert", "ok");
        });
        server.Get("/download/(.*)", [this](const httplib::Request& req, httplib::Response& res) {
            download(req, res);
        });
        // httplib's own refusals (a body over the limit, a bad request line)
        // get a JSON body on the protocol's paths.
        server.set_error_handler(httplib::Server::HandlerWithResponse(
            [](const httplib::Request& req, httplib::Response& res) {
                if (!res.body.empty() || req.method != "POST") {
                    return httplib::Server::HandlerResponse::Unhandled;
                }
                const Refusal code = res.status == 413 ? Refusal::TooLarge : Refusal::BadRequest;
                res.set_content(DrawService::refusalBody(
                                    code, code == Refusal::TooLarge ? "请求过大" : "请求格式错误"),
                                "application/json; charset=utf-8");
                return httplib::Server::HandlerResponse::Handled;
            }));
        server.set_logger([this](const httplib::Request& req, const httplib::Response& res) {
            Note n;
            bool known = false;
            {
                std::lock_guard lock(notesMutex);
                const auto found = notes.find(connectionOf(req));
                if (found != notes.end()) {
                    n = std::move(found->second);
                    notes.erase(found);
                    known = true;
                }
            }
            const auto micros =
                known
                    ? std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - n.start)
                          .count()
                    : 0;
            const std::string outcome =
                n.outcome.empty() ? "http " + std::to_string(res.status) : n.outcome;
            std::string line = utcStamp() + " " + req.remote_addr + ":" +
                               std::to_string(req.remote_port) + " " + loggable(req.method) + " " +
                               loggable(req.path) + " " + n.function + " " + outcome + " " +
                               std::to_string(micros) + "us";
            if (log) {
                log(line);
            } else {
                line.push_back('\n');
                std::fputs(line.c_str(), stderr);
            }
        });
    }
};

HttpFront::HttpFront(DrawService& service, FrontOptions options,
                     std::function<void(const std::string&)> log)
    : m_impl(std::make_unique<Impl>(service, std::move(options), std::move(log))) {
    m_impl->routes();
}

HttpFront::~HttpFront() {
    stop();
}

bool HttpFront::bind(std::string& error) {
    Impl& impl = *m_impl;
    if (impl.options.port == 0) {
        impl.port = impl.server.bind_to_any_port(impl.options.host);
        if (impl.port <= 0) {
            error = "cannot listen on " + impl.options.host + ":0";
            return false;
        }
    } else if (impl.server.bind_to_port(impl.options.host, impl.options.port)) {
        impl.port = impl.options.port;
    } else {
        error = "cannot listen on " + impl.options.host + ":" + std::to_string(impl.options.port);
        return false;
    }
    impl.server.widenBacklog(512);
    return true;
}

int HttpFront::port() const {
    return m_impl->port;
}

bool HttpFront::serve() {
    return m_impl->server.listen_after_bind();
}

bool HttpFront::running() const {
    return m_impl->server.is_running();
}

void HttpFront::stop() {
    m_impl->server.stop();
}

}  // namespace quorsa::drawservice
