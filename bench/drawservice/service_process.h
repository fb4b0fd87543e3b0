#pragma once

#include <sys/types.h>

#include <string>

// The draw-service executable started for a bench run, on a free port, with
// its log going to a file.
class ServiceProcess {
public:
    explicit ServiceProcess(const std::string& dataFile, const std::string& logFile);
    ~ServiceProcess();
    ServiceProcess(const ServiceProcess&) = delete;
    ServiceProcess& operator=(const ServiceProcess&) = delete;

    int port() const { return m_port; }
    pid_t pid() const { return m_pid; }
    // A line of /proc/<pid>/status, in kB (e.g. "VmHWM", "VmRSS").
    long statusKb(const std::string& field) const;

private:
    pid_t m_pid = -1;
    int m_port = 0;
};
