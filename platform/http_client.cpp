#include "platform/http_client.h"

#include <QByteArray>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>

namespace quorsa::platform {

struct HttpClient::Impl {
    int timeoutMillis;
    QNetworkAccessManager manager;

    QNetworkRequest request(const std::string& url) const {
        QNetworkRequest r(QUrl(QString::fromStdString(url)));
        r.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                       QNetworkRequest::ManualRedirectPolicy);
        r.setAttribute(QNetworkRequest::Http2AllowedAttribute, false);
        r.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
        return r;
    }

    // Waits for the reply; nullopt-like empty result on time-out or when no
    // HTTP answer arrived.
    struct Result {
        bool answered = false;
        int status = 0;
        QByteArray body;
    };

    Result wait(QNetworkReply* raw) {
        std::unique_ptr<QNetworkReply> reply(raw);
        QEventLoop loop;
        QTimer timer;
        timer.setSingleShot(true);
        bool timedOut = false;
        QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
        QObject::connect(&timer, &QTimer::timeout, &loop, [&] {
            timedOut = true;
            loop.quit();
        });
        timer.start(timeoutMillis);
        if (!reply->isFinished()) {
            loop.exec(QEventLoop::ExcludeUserInputEvents);
        }
        timer.stop();
        Result result;
        if (timedOut && !reply->isFinished()) {
            reply->disconnect();
            reply->abort();
            return result;
        }
        const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
        if (!status.isValid()) {
            return result;  // no HTTP answer: refused, reset, unknown host
        }
        result.answered = true;
        result.status = status.toInt();
        result.body = reply->readAll();
        return result;
    }
};

HttpClient::HttpClient(int timeoutMillis) : m_impl(std::make_unique<Impl>()) {
    m_impl->timeoutMillis = timeoutMillis;
}

HttpClient::~HttpClient() = default;

std::string HttpClient::post(const std::string& url, const service::HttpHeaders& headers,
                             const std::string& body) {
    QNetworkRequest request = m_impl->request(url);
    for (const auto& [name, value] : headers) {
        request.setRawHeader(QByteArray::fromStdString(name), QByteArray::fromStdString(value));
    }
    const Impl::Result result =
        m_impl->wait(m_impl->manager.post(request, QByteArray::fromStdString(body)));
    return result.body.toStdString();
}

std::string HttpClient::get(const std::string& url) {
    QNetworkRequest request = m_impl->request(url);
    request.setRawHeader("Accept", "*/*");
    // One request per connection, as an HTTP/1.0 client does.
    request.setRawHeader("Connection", "close");
    const Impl::Result result = m_impl->wait(m_impl->manager.get(request));
    if (!result.answered || result.status < 200 || result.status > 299) {
        return {};
    }
    return result.body.toStdString();
}

}  // namespace quorsa::platform
