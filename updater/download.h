#pragma once

#include <QString>
#include <QUrl>

#include <chrono>
#include <functional>

class QIODevice;
class QNetworkAccessManager;
class QNetworkReply;

// One HTTP download at a time into a device, with a size limit and a stall time-out.
namespace quorsa::updater {

struct DownloadLimits {
    qint64 maxBytes = 0;
    // Ends the download when no byte arrived for this long.
    std::chrono::milliseconds stallTimeout{30000};
};

class Download {
public:
    Download(QNetworkAccessManager& network, DownloadLimits limits);

    // Fetches `url` into `sink`, running a local event loop until done. False
    // with a user-readable `error` on a refusal, network failure, stall, an
    // answer other than 200, a body over the limit or one shorter than announced.
    // A chunked body whose connection drops between chunks can look complete
    // to Qt: only the package signature tells a whole download from a cut one.
    bool fetch(const QUrl& url, QIODevice& sink, QString& error);

    // Ends a running fetch (it then fails); callable from any event handler.
    void cancel();

    std::function<void(qint64 received, qint64 total)> onProgress;

private:
    QNetworkAccessManager& m_network;
    DownloadLimits m_limits;
    QNetworkReply* m_reply = nullptr;  // only while fetch() runs
    bool m_cancelled = false;
};

}  // namespace quorsa::updater
