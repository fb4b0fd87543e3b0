// draw-service: the draw service the client talks to on this machine.
#include <pthread.h>
#include <signal.h>

#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <sstream>
#include <thread>

#include "drawservice/command_line.h"
#include "drawservice/csv_import.h"
#include "drawservice/draw_service.h"
#include "drawservice/draw_store.h"
#include "drawservice/http_front.h"
#include "drawservice/wall_clock.h"

namespace {

using namespace quorsa::drawservice;

int fail(const std::string& message) {
    std::fprintf(stderr, "draw-service: %s\n", message.c_str());
    return 1;
}

int runImport(DrawStore& store, const std::string& csvFile) {
    std::ifstream in(csvFile, std::ios::binary);
    if (!in) {
        return fail("cannot read " + csvFile);
    }
    std::ostringstream text;
    text << in.rdbuf();
    ImportResult result;
    std::string error;
    const bool stored = importDrawCsv(store, text.str(), result, error);
    for (const ImportProblem& problem : result.problems) {
        std::fprintf(stderr, "%s:%zu: %s (line skipped)\n", csvFile.c_str(), problem.line,
                     problem.message.c_str());
    }
    if (!stored) {
        return fail("nothing imported: " + error);
    }
    std::printf("imported %zu draws, skipped %zu bad lines\n", result.draws.size(),
                result.problems.size());
    return 0;
}

// Draws each slot when it falls due, so the store follows the schedule even
// while nobody asks.
class Ticker {
public:
    explicit Ticker(DrawService& service) : m_service(service), m_thread([this] { run(); }) {}
    ~Ticker() {
        {
            std::lock_guard lock(m_mutex);
            m_stopping = true;
        }
        m_wake.notify_all();
        m_thread.join();
    }

private:
    void run() {
        std::unique_lock lock(m_mutex);
        while (!m_stopping) {
            lock.unlock();
            std::string error;
            if (!m_service.catchUp(error)) {
                std::fprintf(stderr, "draw-service: cannot store draws: %s\n", error.c_str());
            }
            const auto dueIn = std::chrono::seconds(m_service.nextDue()) -
                               std::chrono::duration_cast<std::chrono::seconds>(
                                   std::chrono::system_clock::now().time_since_epoch());
            const auto wait = std::clamp<std::chrono::milliseconds>(
                std::chrono::duration_cast<std::chrono::milliseconds>(dueIn),
                std::chrono::milliseconds(50), std::chrono::milliseconds(1000));
            lock.lock();
            m_wake.wait_for(lock, wait, [this] { return m_stopping; });
        }
    }

    DrawService& m_service;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_stopping = false;
    std::thread m_thread;
};

int runService(DrawStore& store, const CommandLine& line) {
    // SIGTERM and SIGINT are taken by sigwait below; every thread inherits the mask.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGINT);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    signal(SIGPIPE, SIG_IGN);

    WallClock clock;
    ServiceConfig config;
    config.announceVersion = line.announceVersion;
    const DrawSchedule schedule =
        line.demoInterval > 0 ? DrawSchedule::demo(line.demoInterval) : DrawSchedule::real();
    DrawService service(store, schedule, clock, config);
    std::string error;
    if (!service.catchUp(error)) {
        return fail("cannot store draws: " + error);
    }
    FrontOptions options;
    options.host = line.host;
    options.port = line.port;
    options.downloadDir = line.downloadDir;
    HttpFront front(service, options);
    if (!front.bind(error)) {
        return fail(error);
    }
    const bool v6 = line.host.find(':') != std::string::npos;
    std::printf("listening on %s%s%s:%d\n", v6 ? "[" : "", line.host.c_str(), v6 ? "]" : "",
                front.port());
    std::fflush(stdout);

    Ticker ticker(service);
    std::atomic<bool> served{false};
    std::thread serving([&] {
        front.serve();
        served = true;
    });
    int signalNumber = 0;
    sigwait(&stopSignals, &signalNumber);
    // stop() only acts once the server runs; repeat until it has ended.
    while (!served) {
        front.stop();
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    serving.join();
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    CommandLine line;
    std::string error;
    if (!parseCommandLine(args, line, error)) {
        std::fprintf(stderr, "draw-service: %s\n%s", error.c_str(), usageText());
        return 2;
    }
    const std::string dataFile = line.dataFile.empty() ? defaultDataFile() : line.dataFile;
    std::error_code ec;
    const auto folder = std::filesystem::path(dataFile).parent_path();
    if (!folder.empty()) {
        std::filesystem::create_directories(folder, ec);
    }
    auto store = DrawStore::open(dataFile, error);
    if (!store) {
        return fail(error);
    }
    return line.import ? runImport(*store, line.csvFile) : runService(*store, line);
}
