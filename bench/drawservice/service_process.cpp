#include "service_process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <vector>

extern char** environ;

ServiceProcess::ServiceProcess(const std::string& dataFile, const std::string& logFile) {
    int out[2];
    if (::pipe(out) != 0) {
        std::perror("pipe");
        std::exit(1);
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    posix_spawn_file_actions_addopen(&actions, 2, logFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    std::vector<std::string> args = {DRAW_SERVICE_EXE, "--listen", "127.0.0.1:0", "--data",
                                     dataFile};
    std::vector<char*> argv;
    for (auto& a : args) {
        argv.push_back(a.data());
    }
    argv.push_back(nullptr);
    if (posix_spawn(&m_pid, DRAW_SERVICE_EXE, &actions, nullptr, argv.data(), environ) != 0) {
        std::perror("posix_spawn");
        std::exit(1);
    }
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    std::string line;
    char c = 0;
    while (::read(out[0], &c, 1) == 1 && c != '\n') {
        line.push_back(c);
    }
    ::close(out[0]);
    const std::size_t colon = line.rfind(':');
    m_port = colon == std::string::npos ? 0 : std::atoi(line.c_str() + colon + 1);
    if (m_port <= 0) {
        std::fprintf(stderr, "draw-service did not start: %s\n", line.c_str());
        std::exit(1);
    }
}

ServiceProcess::~ServiceProcess() {
    ::kill(m_pid, SIGTERM);
    int status = 0;
    ::waitpid(m_pid, &status, 0);
}

long ServiceProcess::statusKb(const std::string& field) const {
    std::ifstream in("/proc/" + std::to_string(m_pid) + "/status");
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind(field + ":", 0) == 0) {
            return std::atol(line.c_str() + field.size() + 1);
        }
    }
    return -1;
}
