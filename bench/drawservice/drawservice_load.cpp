// Complete service calls (handshake + "newestdraw") from concurrent clients
// on loopback against the draw-service executable: calls/s and latency.
#include <httplib.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <thread>
#include <vector>

#include "service/codec/codec.h"
#include "service_process.h"

namespace {

using Clock = std::chrono::steady_clock;

const httplib::Headers kHeaders = {
    {"Accept", "*/*"},
    {"Accept-Language", "zh-CN"},
    {"User-Agent", "Mozilla/5.0 (compatible; MSIE 9.0; Windows NT 6.1; WOW64; Trident/5.0)"},
    {"Accept-Encoding", "deflate"},
    {"Connection", "Keep-Alive"},
    {"Cache-Control", "no-cache"},
};

// One complete call; true when both answers say errcode 0.
bool completeCall(httplib::Client& client, int rand) {
    const auto handshake =
        client.Post("/appinit.php", "DATA=GETRAND?1796961600", "application/x-www-form-urlencoded");
    if (!handshake) {
        return false;
    }
    const auto key = nlohmann::json::parse(handshake->body, nullptr, false);
    if (!key.is_object() || key.value("errcode", -1) != 0) {
        return false;
    }
    const std::string envelope = R"({"rand":")" + std::to_string(rand) +
                                 R"(","funname":"newestdraw","appid":"1412","param":[]})";
    const auto answer =
        client.Post("/draw.php",
                    "DATA=" + quorsa::codec::encodeBody(quorsa::codec::urlEscape(envelope),
                                                        key.value("data", "")),
                    "application/x-www-form-urlencoded");
    if (!answer) {
        return false;
    }
    const auto json = nlohmann::json::parse(answer->body, nullptr, false);
    return json.is_object() && json.value("errcode", -1) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 10;
    const int clients = argc > 2 ? std::atoi(argv[2]) : 64;
    const auto dir =
        std::filesystem::temp_directory_path() / ("drawservice-load-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    {
        ServiceProcess service((dir / "draws.db").string(), (dir / "service.log").string());
        std::atomic<bool> stop{false};
        std::atomic<long> failures{0};
        std::vector<std::vector<double>> latencies(static_cast<std::size_t>(clients));
        std::vector<std::thread> threads;
        for (int i = 0; i < clients; ++i) {
            threads.emplace_back([&, i] {
                httplib::Client client("127.0.0.1", service.port());
                client.set_default_headers(kHeaders);
                client.set_keep_alive(true);
                client.set_tcp_nodelay(true);
                auto& mine = latencies[static_cast<std::size_t>(i)];
                int rand = i;
                while (!stop) {
                    const auto start = Clock::now();
                    const bool ok = completeCall(client, rand++ % 10000);
                    const auto micros =
                        std::chrono::duration<double, std::micro>(Clock::now() - start).count();
                    if (ok) {
                        mine.push_back(micros);
                    } else {
                        ++failures;
                    }
                }
            });
        }
        std::this_thread::sleep_for(std::chrono::seconds(seconds));
        stop = true;
        for (auto& t : threads) {
            t.join();
        }
        std::vector<double> all;
        for (const auto& l : latencies) {
            all.insert(all.end(), l.begin(), l.end());
        }
        std::sort(all.begin(), all.end());
        auto percentile = [&](double p) {
            return all.empty()
                       ? 0.0
                       : all[std::min(all.size() - 1, static_cast<std::size_t>(
                                                          p * static_cast<double>(all.size())))] /
                             1000.0;
        };
        std::printf(
            "clients %d, %d s: %zu complete calls, %.0f calls/s, p50 %.2f ms, p99 %.2f ms,"
            " %ld failed, server VmHWM %ld kB\n",
            clients, seconds, all.size(), static_cast<double>(all.size()) / seconds,
            percentile(0.50), percentile(0.99), failures.load(), service.statusKb("VmHWM"));
    }
    std::filesystem::remove_all(dir);
    return 0;
}
