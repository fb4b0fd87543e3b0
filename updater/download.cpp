#include "updater/download.h"

#include <QEventLoop>
#include <QIODevice>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

#include <memory>

namespace quorsa::updater {

Download::Download(QNetworkAccessManager& network, DownloadLimits limits)
    : m_network(network), m_limits(limits) {}

void Download::cancel() {
    m_cancelled = true;
    if (m_reply != nullptr) {
        m_reply->abort();
    }
}

bool Download::fetch(const QUrl& url, QIODevice& sink, QString& error) {
    if (m_cancelled) {
        error = QStringLiteral("更新已取消。");
        return false;
    }
    QNetworkRequest request(url);
    request.setTransferTimeout(static_cast<int>(m_limits.stallTimeout.count()));
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    // Compressed bodies would make the limit apply to what the server sends,
    // not to what we store; ask for the plain bytes.
    request.setRawHeader("Accept-Encoding", "identity");

    // Deleted after the loop, never inside one of its own signals.
    std::unique_ptr<QNetworkReply> reply(m_network.get(request));
    // Bounded buffering: a fast server cannot fill our memory past the limit.
    reply->setReadBufferSize(1 << 20);
    m_reply = reply.get();

    QString failure;  // set by us; wins over what the reply reports after abort()
    qint64 received = 0;
    qint64 announced = -1;
    QEventLoop loop;

    auto fail = [&](const QString& text) {
        if (failure.isEmpty()) {
            failure = text;
        }
        reply->abort();
    };
    auto tooLarge = [&] {
        return QStringLiteral("文件超过大小上限（%1 字节）。").arg(m_limits.maxBytes);
    };
    auto drain = [&] {
        while (failure.isEmpty() && reply->bytesAvailable() > 0) {
            const QByteArray chunk = reply->read(64 * 1024);
            if (chunk.isEmpty()) {
                break;
            }
            if (received + chunk.size() > m_limits.maxBytes) {
                fail(tooLarge());
                return;
            }
            if (sink.write(chunk) != chunk.size()) {
                fail(QStringLiteral("无法写入临时文件：%1").arg(sink.errorString()));
                return;
            }
            received += chunk.size();
        }
    };

    QObject::connect(reply.get(), &QNetworkReply::metaDataChanged, &loop, [&] {
        const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid()) {
            announced = length.toLongLong();
            if (announced > m_limits.maxBytes) {
                fail(tooLarge());
            }
        }
    });
    QObject::connect(reply.get(), &QNetworkReply::readyRead, &loop, drain);
    QObject::connect(reply.get(), &QNetworkReply::downloadProgress, &loop,
                     [&](qint64 bytes, qint64 total) {
                         if (onProgress) {
                             onProgress(bytes, total);
                         }
                     });
    QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
    if (!reply->isFinished()) {
        loop.exec();
    }
    drain();
    m_reply = nullptr;

    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (failure.isEmpty() && m_cancelled) {
        failure = QStringLiteral("更新已取消。");
    }
    if (failure.isEmpty() && reply->error() != QNetworkReply::NoError) {
        switch (reply->error()) {
            case QNetworkReply::OperationCanceledError:
            case QNetworkReply::TimeoutError:
                failure = QStringLiteral("连接超时：%1 秒内没有收到数据。")
                              .arg(std::chrono::duration<double>(m_limits.stallTimeout).count());
                break;
            default:
                // A 200 that breaks off is the connection's fault, not the answer's.
                failure = status >= 300 || (status != 0 && status < 200)
                              ? QStringLiteral("服务器返回 %1。").arg(status)
                              : QStringLiteral("网络错误：%1").arg(reply->errorString());
                break;
        }
    }
    if (failure.isEmpty() && status != 200) {
        failure = QStringLiteral("服务器返回 %1。").arg(status);
    }
    if (failure.isEmpty() && announced >= 0 && received != announced) {
        failure =
            QStringLiteral("下载不完整：收到 %1 字节，应为 %2 字节。").arg(received).arg(announced);
    }
    if (!failure.isEmpty()) {
        error = failure;
        return false;
    }
    return true;
}

}  // namespace quorsa::updater
