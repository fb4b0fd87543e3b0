#include "updater/update_session.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QNetworkAccessManager>
#include <QProcess>
#include <QTimer>
#include <QUrl>

#include <cstdio>

#include "updater/download.h"
#include "updater/install.h"
#include "updater/signature.h"
#include "updater/updater_window.h"

#if defined(Q_OS_UNIX)
#include <unistd.h>
#endif

namespace quorsa::updater {

namespace {

constexpr qint64 kMaxSignatureBytes = 4096;

std::filesystem::path toPath(const QString& path) {
    return std::filesystem::path(path.toStdU16String());
}

// The downloaded package; removed unless it was moved into place. Unlike a
// QTemporaryFile no descriptor stays open, which would keep it from running.
class PendingFile : public QFile {
public:
    explicit PendingFile(const QString& path) : QFile(path) {}
    ~PendingFile() override {
        if (!m_kept) {
            close();
            remove();
        }
    }
    bool create() {
        QFile::remove(fileName());
        return QFile::open(QIODevice::ReadWrite | QIODevice::NewOnly);
    }
    void keep() { m_kept = true; }

private:
    bool m_kept = false;
};

std::span<const unsigned char> bytesOf(const QByteArray& bytes) {
    return {reinterpret_cast<const unsigned char*>(bytes.constData()),
            static_cast<std::size_t>(bytes.size())};
}

}  // namespace

bool parseRequest(const QStringList& params, const QString& updaterFileName, UpdateRequest& request,
                  QString& error) {
    if (params.size() != 5) {
        error = QStringLiteral(
                    "参数错误：需要 5 个参数（软件名称、当前版本、新版本、下载地址、程序文件名），"
                    "收到 %1 个。")
                    .arg(params.size());
        return false;
    }
    UpdateRequest parsed{params[0], params[1], params[2], params[3], params[4]};
    const QUrl url(parsed.packageUrl, QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty() ||
        (url.scheme() != QLatin1String("http") && url.scheme() != QLatin1String("https"))) {
        error = QStringLiteral("下载地址无效：%1").arg(parsed.packageUrl);
        return false;
    }
    const QString lockName = updaterFileName + QStringLiteral(".lock");
    if (!isPlainFileName(parsed.exeName.toStdString()) || parsed.exeName == updaterFileName ||
        parsed.exeName == lockName) {
        error = QStringLiteral("程序文件名无效：%1").arg(parsed.exeName);
        return false;
    }
    request = std::move(parsed);
    return true;
}

UpdateSession::UpdateSession(UpdaterSettings settings, UpdateRequest request, UpdaterWindow& window)
    : m_settings(std::move(settings)), m_request(std::move(request)), m_window(window) {}

UpdateSession::~UpdateSession() = default;

void UpdateSession::cancel() {
    m_cancelled = true;
    if (m_download) {
        m_download->cancel();
    }
}

void UpdateSession::status(const QString& text) {
    m_window.setStatus(text);
    std::fprintf(stdout, "%s\n", text.toUtf8().constData());
    std::fflush(stdout);
}

bool UpdateSession::waitForProgramExit(const QString& path) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + m_settings.exitWait;
    bool announced = false;
    while (isProgramRunning(toPath(path))) {
        if (m_cancelled || Clock::now() >= deadline) {
            return false;
        }
        if (!announced) {
            status(QStringLiteral("正在等待 %1 退出……").arg(m_request.exeName));
            announced = true;
        }
        // Keep the window alive while we wait.
        QEventLoop pause;
        QTimer::singleShot(100, &pause, &QEventLoop::quit);
        pause.exec();
    }
    return true;
}

bool UpdateSession::run(QString& error) {
    const QDir dir(m_settings.programDir);
    const QString targetPath = dir.filePath(m_request.exeName);
    const QString backupPath = targetPath + QStringLiteral(".bak");

    // A second updater must not touch the first one's files.
    QLockFile lock(dir.filePath(m_settings.updaterFileName + QStringLiteral(".lock")));
    lock.setStaleLockTime(0);
    if (!lock.tryLock(0)) {
        error = lock.error() == QLockFile::LockFailedError
                    ? QStringLiteral("另一个更新器正在运行，请稍后再试。")
                    : QStringLiteral("无法创建锁文件：%1").arg(lock.fileName());
        return false;
    }

    const QFileInfo target(targetPath);
    if (!target.exists() || !target.isFile() || target.isSymLink()) {
        error = QStringLiteral("找不到程序文件：%1").arg(targetPath);
        return false;
    }

    // Downloads of an updater that was killed; with the lock held none is in use.
    // (Compared as text: the program name may hold wildcard characters.)
    const QString prefix = m_request.exeName + QLatin1Char('.');
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden)) {
        if (name.startsWith(prefix) && name.endsWith(QLatin1String(".download"))) {
            QFile::remove(dir.filePath(name));
        }
    }

    PendingFile package(dir.filePath(QStringLiteral("%1.%2.download")
                                         .arg(m_request.exeName)
                                         .arg(QCoreApplication::applicationPid())));
    if (!package.create()) {
        error = QStringLiteral("无法创建临时文件：%1").arg(package.errorString());
        return false;
    }

    QNetworkAccessManager network;
    const QUrl packageUrl(m_request.packageUrl);
    m_download = std::make_unique<Download>(
        network, DownloadLimits{m_settings.maxPackageBytes, m_settings.stallTimeout});
    m_download->onProgress = [this](qint64 received, qint64 total) {
        m_window.setProgress(received, total);
    };
    status(QStringLiteral("正在下载新版本……"));
    QString detail;
    if (!m_download->fetch(packageUrl, package, detail)) {
        m_download.reset();
        error = QStringLiteral("下载新版本失败：%1").arg(detail);
        return false;
    }
    if (!package.flush()) {
        m_download.reset();
        error = QStringLiteral("无法写入临时文件：%1").arg(package.errorString());
        return false;
    }
#if defined(Q_OS_UNIX)
    ::fsync(package.handle());
#endif

    status(QStringLiteral("正在下载签名……"));
    QBuffer signature;
    signature.open(QIODevice::WriteOnly);
    m_download = std::make_unique<Download>(
        network, DownloadLimits{kMaxSignatureBytes, m_settings.stallTimeout});
    const QUrl signatureUrl(m_request.packageUrl + QStringLiteral(".sig"));
    const bool gotSignature = m_download->fetch(signatureUrl, signature, detail);
    m_download.reset();
    if (!gotSignature) {
        error = QStringLiteral("下载签名失败：%1").arg(detail);
        return false;
    }

    // Check the bytes on disk: they are what gets installed.
    status(QStringLiteral("正在校验新版本……"));
    if (!package.seek(0)) {
        error = QStringLiteral("无法读取临时文件：%1").arg(package.errorString());
        return false;
    }
    const QByteArray packageBytes = package.readAll();
    std::string why;
    if (packageBytes.size() != package.size() ||
        !verifySignature(std::string_view(m_settings.publicKeyPem.constData(),
                                          static_cast<std::size_t>(m_settings.publicKeyPem.size())),
                         bytesOf(packageBytes), bytesOf(signature.data()), why)) {
        error =
            QStringLiteral("新版本的签名无效，已拒绝安装（%1）。").arg(QString::fromStdString(why));
        return false;
    }
    package.close();

    if (!waitForProgramExit(targetPath)) {
        error =
            m_cancelled
                ? QStringLiteral("更新已取消。")
                : QStringLiteral("%1 仍在运行，无法更新。请关闭它后重试。").arg(m_request.exeName);
        return false;
    }
    if (m_cancelled) {
        error = QStringLiteral("更新已取消。");
        return false;
    }

    status(QStringLiteral("正在安装新版本……"));
    if (!installPackage(toPath(package.fileName()), toPath(targetPath), toPath(backupPath), why)) {
        error = QStringLiteral("安装新版本失败：%1").arg(QString::fromStdString(why));
        return false;
    }
    package.keep();

    status(QStringLiteral("正在启动新版本……"));
    if (!QProcess::startDetached(targetPath, {}, dir.absolutePath())) {
        // A package that does not run must not cost the user the program.
        if (!restoreBackup(toPath(backupPath), toPath(targetPath), why)) {
            error = QStringLiteral("新版本无法启动，恢复原程序也失败了：%1")
                        .arg(QString::fromStdString(why));
            return false;
        }
        error = QStringLiteral("新版本无法启动，已恢复原程序。");
        return false;
    }
    status(QStringLiteral("更新完成。"));
    return true;
}

}  // namespace quorsa::updater
