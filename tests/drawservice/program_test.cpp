#include <fcntl.h>
#include <gtest/gtest.h>
#include <httplib.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

#include "support.h"

extern char** environ;

namespace quorsa::drawservice {
namespace {

using testing::Json;

// The draw-service executable run by the test.
class Program {
public:
    Program(const std::vector<std::string>& args, const std::string& stderrFile,
            std::vector<std::string> extraEnv = {}) {
        int out[2];
        EXPECT_EQ(::pipe(out), 0);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        posix_spawn_file_actions_addopen(&actions, 2, stderrFile.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0644);
        std::vector<std::string> argv{DRAW_SERVICE_EXE};
        argv.insert(argv.end(), args.begin(), args.end());
        std::vector<char*> argp;
        for (auto& a : argv) {
            argp.push_back(a.data());
        }
        argp.push_back(nullptr);
        std::vector<std::string> env;
        for (char** e = environ; *e != nullptr; ++e) {
            env.emplace_back(*e);
        }
        env.insert(env.end(), extraEnv.begin(), extraEnv.end());
        std::vector<char*> envp;
        for (auto& e : env) {
            envp.push_back(e.data());
        }
        envp.push_back(nullptr);
        EXPECT_EQ(
            posix_spawn(&m_pid, DRAW_SERVICE_EXE, &actions, nullptr, argp.data(), envp.data()), 0);
        posix_spawn_file_actions_destroy(&actions);
        ::close(out[1]);
        m_out = out[0];
    }
    ~Program() {
        if (m_pid > 0) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, nullptr, 0);
        }
        ::close(m_out);
    }

    // Everything on stdout until it closes or `seconds` pass.
    std::string readLine(int seconds = 10) {
        std::string text;
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
        while (text.find('\n') == std::string::npos && std::chrono::steady_clock::now() < end) {
            pollfd p{m_out, POLLIN, 0};
            if (::poll(&p, 1, 100) > 0) {
                char c[256];
                const ssize_t n = ::read(m_out, c, sizeof c);
                if (n <= 0) {
                    break;
                }
                text.append(c, static_cast<std::size_t>(n));
            }
        }
        return text;
    }

    // Exit code after `signal` (0: just wait), or -1 when it did not end in time.
    int finish(int signal = 0) {
        if (signal != 0) {
            ::kill(m_pid, signal);
        }
        for (int i = 0; i < 200; ++i) {
            int status = 0;
            if (::waitpid(m_pid, &status, WNOHANG) == m_pid) {
                m_pid = -1;
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return -1;
    }

private:
    pid_t m_pid = -1;
    int m_out = -1;
};

std::string fileText(const std::string& path) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

int portOf(const std::string& line) {
    const std::string prefix = "listening on 127.0.0.1:";
    EXPECT_EQ(line.substr(0, prefix.size()), prefix) << line;
    return std::atoi(line.substr(prefix.size()).c_str());
}

Json serviceCall(int port, const std::string& funname, const std::vector<std::string>& param,
                 std::int32_t rand) {
    httplib::Client c("127.0.0.1", port);
    const auto handshake =
        c.Post("/appinit.php", testing::handshakeBody(), "application/x-www-form-urlencoded");
    if (!handshake) {
        return Json();
    }
    const std::string key = Json::parse(handshake->body, nullptr, false).value("data", "");
    const auto res = c.Post("/appinit.php", testing::callBody(key, rand, funname, param),
                            "application/x-www-form-urlencoded");
    return res ? Json::parse(res->body, nullptr, false) : Json();
}

std::string newestIssue(int port) {
    httplib::Client c("127.0.0.1", port);
    const auto res = c.Get("/newphase.txt");
    return res ? res->body : std::string();
}

TEST(Program, ServesDemoDrawsStopsOnSigtermAndKeepsDrawsAcrossRestart) {
    testing::TempDir dir;
    const std::string data = dir.file("draws.db");
    std::string firstIssue;
    Json firstRows;
    {
        Program program({"--listen", "127.0.0.1:0", "--data", data, "--demo-interval", "1",
                         "--announce-version", "2.0"},
                        dir.file("err1"));
        const std::string line = program.readLine();
        EXPECT_EQ(std::count(line.begin(), line.end(), '\n'), 1);
        const int port = portOf(line);
        ASSERT_GT(port, 0);
        const Json init = serviceCall(port, "init", {}, 42);
        ASSERT_EQ(init["errcode"], 0) << init;
        EXPECT_EQ(testing::decodedData(init, 42)["version"], "2.0");
        firstIssue = newestIssue(port);
        EXPECT_EQ(firstIssue.size(), 11u);
        std::this_thread::sleep_for(std::chrono::milliseconds(2100));
        EXPECT_GT(newestIssue(port), firstIssue) << "the demo schedule drew again";
        firstRows = serviceCall(port, "select_draw", {"", "1000"}, 1);
        EXPECT_EQ(program.finish(SIGTERM), 0);
        EXPECT_NE(fileText(dir.file("err1")).find("/newphase.txt newphase ok"), std::string::npos);
    }
    Program again({"--listen", "127.0.0.1:0", "--data", data, "--demo-interval", "1"},
                  dir.file("err2"));
    const int port = portOf(again.readLine());
    const Json rows = serviceCall(port, "select_draw", {"", "1000"}, 1);
    // The rows of the first run are still there, unchanged, under any new ones.
    const std::string before = firstRows["data"];
    const std::string after = rows["data"];
    const std::string tail =
        before.substr(before.find(firstIssue.substr(0, 8) + "|+|" + firstIssue.substr(8)));
    EXPECT_NE(after.find(tail.substr(0, tail.size() - 400)), std::string::npos);
    EXPECT_EQ(again.finish(SIGINT), 0);
}

TEST(Program, DefaultDataFileIsInTheUsersDataFolder) {
    testing::TempDir dir;
    Program program({"--listen", "127.0.0.1:0"}, dir.file("err"),
                    {"XDG_DATA_HOME=" + dir.path().string()});
    ASSERT_GT(portOf(program.readLine()), 0);
    EXPECT_EQ(program.finish(SIGTERM), 0);
    EXPECT_TRUE(std::filesystem::exists(dir.path() / "quorsa" / "draw-service.db"));
}

TEST(Program, ImportReportsBadLinesWithTheirNumbers) {
    testing::TempDir dir;
    std::ofstream(dir.file("draws.csv")) << "issue,draw time,numbers\n"
                                            "20261211001,2026-12-11 08:40:00,\"2,3,5\"\n"
                                            "20261211002,2026-12-11 08:50:00,\"0,3,5\"\n"
                                            "20261211003,2026-12-11 09:00:00,\"6,6,6\"\n";
    Program program({"import", "--data", dir.file("d.db"), dir.file("draws.csv")}, dir.file("err"));
    EXPECT_EQ(program.readLine(), "imported 2 draws, skipped 1 bad lines\n");
    EXPECT_EQ(program.finish(), 0);
    const std::string errors = fileText(dir.file("err"));
    EXPECT_NE(errors.find("draws.csv:3: bad numbers"), std::string::npos) << errors;
    std::string error;
    auto store = DrawStore::open(dir.file("d.db"), error);
    ASSERT_TRUE(store);
    EXPECT_EQ(store->count(), 2);
}

TEST(Program, RefusesWhatTheSynopsisDoesNotHave) {
    testing::TempDir dir;
    const std::vector<std::vector<std::string>> cases = {
        {"--bogus"},
        {"--listen", "nonsense"},
        {"--listen", "127.0.0.1:70000"},
        {"--demo-interval", "0"},
        {"--listen"},
        {"import", "--data", dir.file("d.db")},
        {"import", "--data", dir.file("d.db"), "a.csv", "--listen", "127.0.0.1:1"},
        {"extra"},
    };
    for (const auto& args : cases) {
        SCOPED_TRACE(::testing::PrintToString(args));
        Program program(args, dir.file("err"));
        EXPECT_EQ(program.finish(), 2);
        EXPECT_NE(fileText(dir.file("err")).find("usage: draw-service"), std::string::npos);
    }
}

}  // namespace
}  // namespace quorsa::drawservice
