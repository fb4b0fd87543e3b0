#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QStringList>
#include <QTcpServer>
#include <QThread>
#include <functional>
#include <string>

namespace quorsa::testing {

// Runs the event loop until `done` holds or `millis` have passed.
inline bool waitUntil(const std::function<bool()>& done, int millis) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > millis)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        QThread::msleep(10);
    }
    return true;
}

// A port on which nothing listens (free a moment ago).
inline quint16 closedPort() {
    QTcpServer server;
    server.listen(QHostAddress::LocalHost, 0);
    const quint16 port = server.serverPort();
    server.close();
    return port;
}

// The bundled draw service on a free loopback port, for one test.
class DrawServiceProcess {
public:
    ~DrawServiceProcess() {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.terminate();
            if (!m_process.waitForFinished(3000))
                m_process.kill();
            m_process.waitForFinished(3000);
        }
    }

    // False when it did not say where it listens within a few seconds.
    bool start(const QString& dataFile, const QStringList& extra = {}) {
        QStringList args{QStringLiteral("--listen"), QStringLiteral("127.0.0.1:0"),
                         QStringLiteral("--data"), dataFile};
        args += extra;
        m_process.setProcessChannelMode(QProcess::SeparateChannels);
        m_process.start(QStringLiteral(QUORSA_DRAW_SERVICE), args);
        if (!m_process.waitForStarted(5000))
            return false;
        const QRegularExpression ready(QStringLiteral("listening on ([0-9.]+):([0-9]+)"));
        QString seen;
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < 15000) {
            m_process.waitForReadyRead(200);
            seen += QString::fromUtf8(m_process.readAllStandardOutput());
            const auto match = ready.match(seen);
            if (match.hasMatch()) {
                m_port = match.captured(2).toUShort();
                return true;
            }
            if (m_process.state() == QProcess::NotRunning)
                return false;
        }
        return false;
    }

    quint16 port() const { return m_port; }
    std::string initUrl() const {
        return "http://127.0.0.1:" + std::to_string(m_port) + "/appinit.php";
    }

private:
    QProcess m_process;
    quint16 m_port = 0;
};

}  // namespace quorsa::testing
