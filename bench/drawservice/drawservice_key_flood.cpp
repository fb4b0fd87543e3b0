// Peak memory of the draw-service executable after many handshakes that are
// never followed by a call, from many source addresses (127.0.x.y) so that
// the overall bound of the key table is reached, not only the per-address one.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "service_process.h"

namespace {

// A kept-alive connection from a chosen loopback address.
class Connection {
public:
    Connection(int port, std::uint32_t source) {
        m_fd = ::socket(AF_INET, SOCK_STREAM, 0);
        int one = 1;
        ::setsockopt(m_fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        sockaddr_in local{};
        local.sin_family = AF_INET;
        local.sin_addr.s_addr = htonl(source);
        sockaddr_in remote{};
        remote.sin_family = AF_INET;
        remote.sin_port = htons(static_cast<std::uint16_t>(port));
        remote.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        m_ok = ::bind(m_fd, reinterpret_cast<sockaddr*>(&local), sizeof local) == 0 &&
               ::connect(m_fd, reinterpret_cast<sockaddr*>(&remote), sizeof remote) == 0;
    }
    ~Connection() { ::close(m_fd); }

    // One handshake; true when an answer with a body came back.
    bool handshake() {
        static const std::string request =
            "POST /appinit.php HTTP/1.1\r\nHost: 127.0.0.1\r\n"
            "Content-Type: application/x-www-form-urlencoded\r\nContent-Length: 23\r\n\r\n"
            "DATA=GETRAND?1796961600";
        if (!m_ok || ::send(m_fd, request.data(), request.size(), MSG_NOSIGNAL) < 0) {
            return false;
        }
        // Read the head, then exactly Content-Length bytes.
        std::string data;
        char buffer[2048];
        std::size_t headEnd = std::string::npos;
        std::size_t length = 0;
        for (;;) {
            const ssize_t n = ::recv(m_fd, buffer, sizeof buffer, 0);
            if (n <= 0) {
                return false;
            }
            data.append(buffer, static_cast<std::size_t>(n));
            if (headEnd == std::string::npos) {
                headEnd = data.find("\r\n\r\n");
                if (headEnd == std::string::npos) {
                    continue;
                }
                const std::size_t at = data.find("Content-Length: ");
                length =
                    at == std::string::npos ? 0 : std::strtoul(data.c_str() + at + 16, nullptr, 10);
            }
            if (data.size() >= headEnd + 4 + length) {
                return data.find("\"errcode\":0") != std::string::npos;
            }
        }
    }

private:
    int m_fd = -1;
    bool m_ok = false;
};

}  // namespace

int main(int argc, char** argv) {
    const long total = argc > 1 ? std::atol(argv[1]) : 100'000;
    const int addresses = 1000;
    const int threads = 8;
    const auto dir = std::filesystem::temp_directory_path() /
                     ("drawservice-flood-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    {
        ServiceProcess service((dir / "draws.db").string(), (dir / "service.log").string());
        const long before = service.statusKb("VmHWM");
        std::atomic<long> done{0};
        std::atomic<long> failed{0};
        std::vector<std::thread> workers;
        for (int t = 0; t < threads; ++t) {
            workers.emplace_back([&, t] {
                for (int a = t; a < addresses; a += threads) {
                    // 127.0.x.y, x.y from 1.0 upwards.
                    Connection connection(service.port(), (127u << 24) | (1u << 8) |
                                                              static_cast<std::uint32_t>(a + 256));
                    for (long i = 0; i < total / addresses; ++i) {
                        (connection.handshake() ? done : failed)++;
                    }
                }
            });
        }
        for (auto& w : workers) {
            w.join();
        }
        std::printf(
            "%ld handshakes (%ld failed) from %d addresses: server VmHWM %ld kB before,"
            " %ld kB after; VmRSS %ld kB\n",
            done.load(), failed.load(), addresses, before, service.statusKb("VmHWM"),
            service.statusKb("VmRSS"));
    }
    std::filesystem::remove_all(dir);
    return 0;
}
