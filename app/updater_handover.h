#pragma once

#include <functional>
#include <string>

namespace quorsa::app {

// Hands over to the updater program and ends this one. The five values go to
// the updater in this order.
using LaunchUpdater = std::function<void(const std::string& name, const std::string& currentVersion,
                                         const std::string& newVersion,
                                         const std::string& updateUrl, const std::string& exeName)>;

// Ends the program with the exit code; tests record the call instead.
using EndProgram = std::function<void(int exitCode)>;

// The program's own hand-over: writes the carried updater beside the program
// unless a file is already there, starts it detached with the five values as
// its arguments and ends the program with exit code 0, whatever failed.
[[noreturn]] void launchUpdater(const std::string& name, const std::string& currentVersion,
                                const std::string& newVersion, const std::string& updateUrl,
                                const std::string& exeName);

// The updater path: the program's directory + "更新器" + the platform's
// executable suffix. A file left there by an earlier update is deleted.
std::string initUpdaterPath(const std::string& programDirectory);

}  // namespace quorsa::app
