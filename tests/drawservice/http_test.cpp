#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <httplib.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <fstream>

#include "service/codec/codec.h"
#include "support.h"

namespace quorsa::drawservice {
namespace {

using testing::Json;
using testing::kNoonBeijing;

// The headers the client's transport sends.
const httplib::Headers kClientHeaders = {
    {"Accept", "*/*"},
    {"Accept-Language", "zh-CN"},
    {"User-Agent", "Mozilla/5.0 (compatible; MSIE 9.0; Windows NT 6.1; WOW64; Trident/5.0)"},
    {"Accept-Encoding", "deflate"},
    {"Cache-Control", "no-cache"},
};

// One raw HTTP exchange, for requests a polite client would not send; waits
// at most `waitMillis` for each piece of the answer.
std::string rawExchange(int port, const std::string& request, int waitMillis = 5000) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    timeval wait{waitMillis / 1000, (waitMillis % 1000) * 1000};
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<std::uint16_t>(port));
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
        ::close(fd);
        return {};
    }
    ::send(fd, request.data(), request.size(), MSG_NOSIGNAL);
    std::string answer;
    char buffer[4096];
    for (ssize_t n; (n = ::recv(fd, buffer, sizeof buffer, 0)) > 0;) {
        answer.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return answer;
}

class OverHttp : public ::testing::Test {
protected:
    OverHttp() {
        std::filesystem::create_directories(m_dir.path() / "download" / "sub");
        std::ofstream(m_dir.path() / "download" / "quorsa-client", std::ios::binary) << std::string(
            "\x7f"
            "ELF\0package",
            11);
        std::ofstream(m_dir.path() / "download" / "sub" / "inner") << "inner";
        for (unsigned i = 0; i < 300000u; ++i) {
            m_large.push_back(static_cast<char>(i * 7919u % 251u));
        }
        std::ofstream(m_dir.path() / "download" / "large.bin", std::ios::binary) << m_large;
        std::ofstream(m_dir.path() / "download" / ".hidden") << "hidden";
        std::ofstream(m_dir.path() / "secret") << "SECRET";
        std::filesystem::create_symlink(m_dir.path() / "secret",
                                        m_dir.path() / "download" / "link");
        FrontOptions options;
        options.downloadDir = (m_dir.path() / "download").string();
        m_live = std::make_unique<testing::LiveService>(
            m_dir.file("draws.db"), DrawSchedule::real(), kNoonBeijing, options);
    }

    httplib::Client client() {
        httplib::Client c("127.0.0.1", m_live->port());
        c.set_default_headers(kClientHeaders);
        c.set_tcp_nodelay(true);
        return c;
    }

    Json postForm(httplib::Client& c, const std::string& path, const std::string& body) {
        const auto res = c.Post(path.c_str(), body, "application/x-www-form-urlencoded");
        if (!res) {
            ADD_FAILURE() << "no answer";
            return Json();
        }
        return Json::parse(res->body, nullptr, false);
    }

    std::string get(const std::string& path) {
        return rawExchange(m_live->port(),
                           "GET " + path + " HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n");
    }

    testing::TempDir m_dir;
    std::string m_large;
    std::unique_ptr<testing::LiveService> m_live;
};

TEST_F(OverHttp, CompleteCallsOnBothPathsAnnounceTheRealPort) {
    httplib::Client c = client();
    const std::string base = "http://127.0.0.1:" + std::to_string(m_live->port());
    for (const char* path : {"/appinit.php", "/draw.php"}) {
        SCOPED_TRACE(path);
        const Json handshake = postForm(c, path, testing::handshakeBody());
        ASSERT_EQ(handshake["errcode"], 0);
        const Json answer =
            postForm(c, path, testing::callBody(handshake["data"], 2024, "init", {}));
        ASSERT_EQ(answer["errcode"], 0) << answer;
        const Json init = testing::decodedData(answer, 2024);
        EXPECT_EQ(init["drawurl"], base + "/draw.php");
        EXPECT_EQ(init["newphase"], base + "/newphase.txt");
        EXPECT_EQ(init["proupurl"], base + "/download/quorsa-client");
    }
    // Each connection of its own: the key is found all the same.
    httplib::Client other = client();
    const Json handshake = postForm(c, "/draw.php", testing::handshakeBody());
    const Json answer = postForm(
        other, "/draw.php", testing::callBody(handshake["data"], 1, "select_draw", {"", "50"}));
    EXPECT_EQ(answer["errcode"], 0);
}

TEST_F(OverHttp, NewestIssueAndAdvertPage) {
    const std::string issue = get("/newphase.txt");
    EXPECT_NE(issue.find("200 OK"), std::string::npos);
    EXPECT_EQ(issue.substr(issue.size() - 11), "20261211021");

    const std::string page = get("/advert.html");
    EXPECT_NE(page.find("Content-Type: text/html; charset=utf-8"), std::string::npos);
    EXPECT_NE(page.find("<meta charset=\"utf-8\">"), std::string::npos);
    EXPECT_NE(page.find("href=\"http://127.0.0.1:" + std::to_string(m_live->port())),
              std::string::npos);
    EXPECT_NE(page.find("href=\"https://"), std::string::npos);
}

TEST_F(OverHttp, DownloadsServeTheFolderAndNothingOutsideIt) {
    const std::string package = get("/download/quorsa-client");
    EXPECT_NE(package.find("200 OK"), std::string::npos);
    EXPECT_EQ(package.substr(package.size() - 11), std::string("\x7f"
                                                               "ELF\0package",
                                                               11));
    httplib::Client c = client();
    const auto large = c.Get("/download/large.bin");
    ASSERT_TRUE(large);
    EXPECT_EQ(large->get_header_value("Content-Type"), "application/octet-stream");
    EXPECT_TRUE(large->body == m_large) << "streamed in pieces, byte for byte";
    for (const char* path :
         {"/download/../secret", "/download/..%2fsecret", "/download/%2e%2e/secret",
          "/download/%2E%2E%2Fsecret", "/download/..\\secret", "/download/link",
          "/download/sub/inner", "/download/sub", "/download/.hidden", "/download/",
          "/download/missing", "/download/%00", "/secret"}) {
        SCOPED_TRACE(path);
        const std::string answer = get(path);
        EXPECT_NE(answer.find(" 404 "), std::string::npos) << answer.substr(0, 60);
        EXPECT_EQ(answer.find("SECRET"), std::string::npos);
        EXPECT_EQ(answer.find("inner"), std::string::npos);
        EXPECT_EQ(answer.find("hidden"), std::string::npos);
    }
}

TEST_F(OverHttp, BodiesOverTheLimitAreRefusedAndSmallerOnesAnswered) {
    httplib::Client c = client();
    auto res = c.Post("/draw.php", "DATA=" + std::string(kMaxBodyBytes, 'A'),
                      "application/x-www-form-urlencoded");
    ASSERT_TRUE(res);
    EXPECT_EQ(res->status, 413);
    EXPECT_EQ(Json::parse(res->body, nullptr, false)["errcode"], 1005);

    const std::string chunked =
        "POST /draw.php HTTP/1.1\r\nHost: x\r\nTransfer-Encoding: chunked\r\n"
        "Connection: close\r\n\r\n10000\r\n" +
        std::string(0x10000, 'A') + "\r\n10\r\n" + std::string(16, 'A') + "\r\n0\r\n\r\n";
    const std::string answer = rawExchange(m_live->port(), chunked);
    EXPECT_NE(answer.find("\"errcode\":1005"), std::string::npos) << answer.substr(0, 200);

    // Form bodies between 8 KiB and 64 KiB are read, not cut off by a smaller limit.
    res =
        c.Post("/draw.php", "DATA=" + std::string(40000, 'A'), "application/x-www-form-urlencoded");
    ASSERT_TRUE(res);
    EXPECT_EQ(res->status, 200);
    EXPECT_EQ(Json::parse(res->body, nullptr, false)["errcode"], 1001);

    // The service is still there.
    EXPECT_EQ(postForm(c, "/draw.php", testing::handshakeBody())["errcode"], 0);
}

TEST_F(OverHttp, MalformedRequestsLeaveTheServiceStanding) {
    const std::vector<std::string> requests = {
        "GARBAGE\r\n\r\n",
        "POST /draw.php HTTP/1.1\r\nHost: x\r\nContent-Length: 999999999999\r\n\r\nDATA=",
        "POST /draw.php HTTP/1.1\r\nHost: x\r\nContent-Length: 10\r\nConnection: close\r\n\r\nDAT",
        "POST /draw.php HTTP/1.1\r\nHost: x\r\nContent-Type: multipart/form-data; boundary=b\r\n"
        "Content-Length: 8\r\nConnection: close\r\n\r\n--b--\r\n\r\n",
        "POST /draw.php HTTP/1.1\r\nHost: x\r\nContent-Encoding: gzip\r\nContent-Length: 4\r\n"
        "Connection: close\r\n\r\nabcd",
        "GET /newphase.txt HTTP/1.1\r\n" + std::string(20000, 'X') + "\r\n\r\n",
    };
    for (const auto& request : requests) {
        rawExchange(m_live->port(), request, 300);
    }
    httplib::Client c = client();
    EXPECT_EQ(postForm(c, "/draw.php", testing::handshakeBody())["errcode"], 0);
}

TEST_F(OverHttp, AHandshakeFloodStaysWithinTheKeyTableBound) {
    httplib::Client c = client();
    c.set_keep_alive(true);
    for (int i = 0; i < 3000; ++i) {
        c.Post("/appinit.php", testing::handshakeBody(), "application/x-www-form-urlencoded");
    }
    EXPECT_EQ(m_live->service().keys().size(), CallKeyLimits{}.perAddress);
    // The newest key still works after the flood.
    const Json handshake = postForm(c, "/draw.php", testing::handshakeBody());
    EXPECT_EQ(postForm(c, "/draw.php",
                       testing::callBody(handshake["data"], 1, "newestdraw", {}))["errcode"],
              0);
}

TEST_F(OverHttp, OneLogLinePerRequest) {
    httplib::Client c = client();
    postForm(c, "/draw.php", testing::handshakeBody());
    postForm(c, "/draw.php", "DATA=ABCD");
    get("/newphase.txt");
    const std::vector<std::string> lines = m_live->logLines(3);
    ASSERT_EQ(lines.size(), 3u) << ::testing::PrintToString(lines);
    // Lines come in the order the answers finish, which may differ from the requests'.
    for (const char* expected : {" POST /draw.php handshake ok ", " POST /draw.php - refused 1001 ",
                                 " GET /newphase.txt newphase ok "}) {
        EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                                [&](const std::string& line) {
                                    return line.find(expected) != std::string::npos &&
                                           line.find(" 127.0.0.1:") != std::string::npos;
                                }),
                  1)
            << expected << ::testing::PrintToString(lines);
    }
    for (const auto& line : lines) {
        EXPECT_EQ(line.substr(line.size() - 2), "us");
        EXPECT_EQ(line[10], 'T') << "starts with the UTC time";
    }
}

}  // namespace
}  // namespace quorsa::drawservice
