#include "app/updater_handover.h"

#include <QProcess>
#include <QString>
#include <QStringList>
#include <cstdio>
#include <cstdlib>

#include "app/updater_image.h"
#include "platform/files.h"

namespace quorsa::app {

namespace {

QString qs(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string updaterPathIn(const std::string& programDirectory) {
    return platform::joinPath(programDirectory,
                              std::string("更新器") + std::string(platform::executableSuffix()));
}

}  // namespace

void launchUpdater(const std::string& name, const std::string& currentVersion,
                   const std::string& newVersion, const std::string& updateUrl,
                   const std::string& exeName) {
    const std::string path = updaterPathIn(platform::programDirectory());
    bool ready = true;
    if (!platform::fileExists(path)) {
        // A half-written updater is never started.
        ready = platform::writeBytes(path, updaterImage()) && platform::makeExecutable(path);
        if (!ready)
            platform::removeFile(path);
    }
    if (ready) {
        // An argument list, not a command line: the values reach the updater
        // as they are, spaces and quotes included.
        QProcess::startDetached(
            qs(path), {qs(name), qs(currentVersion), qs(newVersion), qs(updateUrl), qs(exeName)});
    }
    // The program ends whether or not the updater could be started.
    std::fflush(nullptr);
    std::_Exit(0);
}

std::string initUpdaterPath(const std::string& programDirectory) {
    std::string path = updaterPathIn(programDirectory);
    if (platform::fileExists(path))
        platform::removeFile(path);
    return path;
}

}  // namespace quorsa::app
