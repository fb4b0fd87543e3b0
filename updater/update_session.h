#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <chrono>
#include <memory>

namespace quorsa::updater {

class Download;
class UpdaterWindow;

// The five parameters the client hands over, in this order.
struct UpdateRequest {
    QString softwareName;
    QString currentVersion;
    QString newVersion;
    QString packageUrl;
    QString exeName;
};

struct UpdaterSettings {
    QString programDir;       // the updater's own directory, where the program lives
    QString updaterFileName;  // the updater's own file name
    QByteArray publicKeyPem;
    qint64 maxPackageBytes = 0;
    std::chrono::milliseconds stallTimeout{30000};
    std::chrono::milliseconds exitWait{10000};
};

// Checks the parameters (without the program name) before anything is touched.
bool parseRequest(const QStringList& params, const QString& updaterFileName, UpdateRequest& request,
                  QString& error);

// One update: lock, download, signature check, wait for the old program,
// replace, start. Any failure before the replacement leaves the program
// directory as it was (the downloaded file is removed).
class UpdateSession {
public:
    UpdateSession(UpdaterSettings settings, UpdateRequest request, UpdaterWindow& window);
    ~UpdateSession();

    bool run(QString& error);
    void cancel();

private:
    void status(const QString& text);
    bool waitForProgramExit(const QString& path);

    UpdaterSettings m_settings;
    UpdateRequest m_request;
    UpdaterWindow& m_window;
    std::unique_ptr<Download> m_download;  // only while downloading
    bool m_cancelled = false;
};

}  // namespace quorsa::updater
