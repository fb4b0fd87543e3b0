#include "app/updater_handover.h"

#include <cstdio>
#include <cstdlib>

#include "platform/files.h"

namespace quorsa::app {

void launchUpdater(const std::string& /*name*/, const std::string& /*currentVersion*/,
                   const std::string& /*newVersion*/, const std::string& /*updateUrl*/,
                   const std::string& /*exeName*/) {
    std::fflush(nullptr);
    std::exit(0);
}

std::string initUpdaterPath(const std::string& programDirectory) {
    std::string path = platform::joinPath(
        programDirectory, std::string("更新器") + std::string(platform::executableSuffix()));
    if (platform::fileExists(path))
        platform::removeFile(path);
    return path;
}

}  // namespace quorsa::app
