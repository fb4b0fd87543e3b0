// The real updater, copied beside a stand-in client, against a local HTTP service.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

#include "tests/updater/local_server.h"
#include "updater/signature.h"

namespace quorsa::updater {
namespace {

const QString kUpdaterName = QStringLiteral("更新器");
const QString kExeName = QStringLiteral("江苏快三平刷和值单双");
const QString kMarker = QStringLiteral("probe-started.txt");
constexpr qint64 kMaxBytes = QUORSA_UPDATE_MAX_BYTES;

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

std::string toStd(const QByteArray& bytes) {
    return bytes.toStdString();
}

struct UpdaterRun {
    int exitCode = -1;
    QString out;
    QString err;
};

// Zeros of the given size; `stopAfter` drops the connection there, as a dying service does.
void serveZeros(httplib::Response& res, std::size_t size, bool announceLength,
                std::size_t stopAfter = SIZE_MAX) {
    auto provider = [size, stopAfter](std::size_t offset, httplib::DataSink& sink) {
        if (offset >= stopAfter) {
            return false;
        }
        if (offset >= size) {
            sink.done();
            return true;
        }
        static const std::string block(64 * 1024, '\0');
        return sink.write(block.data(), std::min(block.size(), size - offset));
    };
    if (announceLength) {
        res.set_content_provider(
            size, "application/octet-stream",
            [provider](std::size_t offset, std::size_t, httplib::DataSink& sink) {
                return provider(offset, sink);
            });
    } else {
        res.set_chunked_content_provider("application/octet-stream", provider);
    }
}

class UpdaterEndToEnd : public testing::Test {
protected:
    static void SetUpTestSuite() {
        s_oldProgram = readFile(PROBE_OLD_PATH);
        s_newProgram = readFile(PROBE_NEW_PATH);
        ASSERT_FALSE(s_oldProgram.isEmpty());
        ASSERT_NE(s_oldProgram, s_newProgram);
        // The package is signed the way releases are: with the sign-package command.
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        const QString package = dir.filePath("package");
        ASSERT_TRUE(QFile::copy(PROBE_NEW_PATH, package));
        ASSERT_EQ(QProcess::execute(SIGN_PACKAGE_PATH, {QUORSA_UPDATE_TEST_PRIVATE_KEY, package}),
                  0);
        s_signature = readFile(package + ".sig");
        ASSERT_EQ(s_signature.size(), 64);
    }

    void SetUp() override {
        ASSERT_TRUE(m_temp.isValid());
        m_dir = QDir(m_temp.path());
        ASSERT_TRUE(QFile::copy(UPDATER_PATH, updaterPath()));
        ASSERT_TRUE(QFile::copy(PROBE_OLD_PATH, targetPath()));
        for (const QString& path : {updaterPath(), targetPath()}) {
            QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::ExeOwner);
        }
    }

    QString updaterPath() const { return m_dir.filePath(kUpdaterName); }
    QString targetPath() const { return m_dir.filePath(kExeName); }
    QString backupPath() const { return targetPath() + QStringLiteral(".bak"); }

    QStringList listing() const {
        return sorted(m_dir.entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot));
    }
    static QStringList sorted(QStringList names) {
        names.sort();
        return names;
    }

    static QStringList paramsFor(const std::string& url) {
        return {QStringLiteral("江苏快三平刷和值单双"), QStringLiteral("1.15"),
                QStringLiteral("9.9"), QString::fromStdString(url), kExeName};
    }

    void startUpdater(QProcess& process, const QStringList& params) const {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("QUORSA_UPDATER_UNATTENDED", "1");
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(QDir::tempPath());
        process.start(updaterPath(), params);
    }

    static UpdaterRun finish(QProcess& process) {
        UpdaterRun run;
        if (!process.waitForFinished(120000)) {
            process.kill();
            process.waitForFinished();
            ADD_FAILURE() << "updater did not finish";
            return run;
        }
        run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        run.out = QString::fromUtf8(process.readAllStandardOutput());
        run.err = QString::fromUtf8(process.readAllStandardError());
        return run;
    }

    UpdaterRun runUpdater(const QStringList& params) const {
        QProcess process;
        startUpdater(process, params);
        return finish(process);
    }

    void serveRelease(httplib::Server& server, QByteArray package, QByteArray signature) {
        server.Get("/download/client", [package](const httplib::Request&, httplib::Response& res) {
            res.set_content(toStd(package), "application/octet-stream");
        });
        server.Get("/download/client.sig",
                   [signature](const httplib::Request&, httplib::Response& res) {
                       res.set_content(toStd(signature), "application/octet-stream");
                   });
    }

    // The failed update left the old program as it was and nothing else behind.
    void expectOldProgramUntouched(const UpdaterRun& run, const char* error) const {
        EXPECT_NE(run.exitCode, 0);
        EXPECT_TRUE(run.err.contains(QString::fromUtf8(error))) << run.err.toStdString();
        EXPECT_EQ(readFile(targetPath()), s_oldProgram);
        EXPECT_EQ(listing(), sorted({kExeName, kUpdaterName}));
    }

    // Started detached, the new program may need a moment to leave its note.
    QByteArray waitForMarker(const QByteArray& expected) const {
        QByteArray seen;
        for (int i = 0; i < 200; ++i) {
            seen = readFile(m_dir.filePath(kMarker));
            if (seen == expected) {
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return seen;
    }

    void expectUpdated(const UpdaterRun& run, const QByteArray& marker) const {
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_EQ(waitForMarker(marker), marker);
        EXPECT_EQ(readFile(targetPath()), s_newProgram);
        EXPECT_EQ(readFile(backupPath()), s_oldProgram);
        EXPECT_TRUE(QFileInfo(targetPath()).isExecutable());
    }

    static inline QByteArray s_oldProgram;
    static inline QByteArray s_newProgram;
    static inline QByteArray s_signature;
    QTemporaryDir m_temp;
    QDir m_dir;
    LocalServer m_service;
};

TEST_F(UpdaterEndToEnd, InstallsTheSignedPackageKeepsTheBackupAndStartsIt) {
    serveRelease(m_service.server(), s_newProgram, s_signature);
    ASSERT_TRUE(m_service.start());
    // What an earlier update left: its backup, and the download of a killed updater.
    for (const QString& name : {kExeName + ".bak", kExeName + ".4242.download"}) {
        QFile file(m_dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("left over");
    }

    const UpdaterRun run = runUpdater(paramsFor(m_service.url("/download/client")));

    expectUpdated(run, "new\n");
    EXPECT_TRUE(run.out.contains(QStringLiteral("正在下载新版本……")));
    EXPECT_EQ(listing(), sorted({kMarker, kExeName, kExeName + ".bak", kUpdaterName}));
}

TEST_F(UpdaterEndToEnd, RefusesBadPackagesAndFailedDownloads) {
    QByteArray flipped = s_signature;
    flipped[0] = static_cast<char>(flipped[0] ^ 0x01);
    std::string otherKeySignature;
    {
        QFile key(QString(QUORSA_TEST_DATA) + "/untrusted-private-key.pem");
        ASSERT_TRUE(key.open(QIODevice::ReadOnly));
        std::string error;
        ASSERT_TRUE(signData(key.readAll().toStdString(), asBytes(toStd(s_newProgram)),
                             otherKeySignature, error));
    }
    const QByteArray package = s_newProgram;
    const QByteArray signature = s_signature;
    const auto halfway = static_cast<std::size_t>(package.size() / 2);

    using Routes = std::function<void(httplib::Server&)>;
    auto release = [](QByteArray body, QByteArray sig) -> Routes {
        return [body, sig](httplib::Server& server) {
            server.Get("/download/client", [body](const httplib::Request&, httplib::Response& res) {
                res.set_content(toStd(body), "application/octet-stream");
            });
            server.Get("/download/client.sig",
                       [sig](const httplib::Request&, httplib::Response& res) {
                           res.set_content(toStd(sig), "application/octet-stream");
                       });
        };
    };
    auto packageOnly = [](std::function<void(httplib::Response&)> serve, QByteArray sig) -> Routes {
        return [serve, sig](httplib::Server& server) {
            server.Get("/download/client",
                       [serve](const httplib::Request&, httplib::Response& res) { serve(res); });
            server.Get("/download/client.sig",
                       [sig](const httplib::Request&, httplib::Response& res) {
                           res.set_content(toStd(sig), "application/octet-stream");
                       });
        };
    };

    struct Case {
        const char* name;
        Routes routes;
        const char* error;
    };
    const Case cases[] = {
        {"bad signature", release(package, flipped), "签名无效"},
        {"signed by an untrusted key",
         release(package, QByteArray::fromStdString(otherKeySignature)), "签名无效"},
        {"signature of the wrong length", release(package, signature + "x"), "签名无效"},
        {"missing signature",
         [package](httplib::Server& server) {
             server.Get("/download/client",
                        [package](const httplib::Request&, httplib::Response& res) {
                            res.set_content(toStd(package), "application/octet-stream");
                        });
         },
         "下载签名失败：服务器返回 404"},
        {"truncated package", release(package.left(package.size() / 2), signature), "签名无效"},
        {"package not found", [](httplib::Server&) {}, "下载新版本失败：服务器返回 404"},
        {"service dies mid-download",
         packageOnly(
             [package, halfway](httplib::Response& res) {
                 res.set_content_provider(
                     static_cast<std::size_t>(package.size()), "application/octet-stream",
                     [package, halfway](std::size_t offset, std::size_t, httplib::DataSink& sink) {
                         if (offset >= halfway) {
                             return false;
                         }
                         return sink.write(package.constData(), halfway);
                     });
             },
             signature),
         "下载新版本失败"},
        // Qt may take a chunked body cut between chunks for a whole one; the
        // signature refuses it then.
        {"chunked service dies mid-download",
         packageOnly(
             [package, halfway](httplib::Response& res) {
                 res.set_chunked_content_provider(
                     "application/octet-stream",
                     [package, halfway](std::size_t offset, httplib::DataSink& sink) {
                         if (offset >= halfway) {
                             return false;
                         }
                         return sink.write(package.constData(), halfway);
                     });
             },
             signature),
         "新版本"},
        {"package announced over the size limit",
         packageOnly(
             [](httplib::Response& res) {
                 serveZeros(res, static_cast<std::size_t>(kMaxBytes) + 1, true);
             },
             signature),
         "超过大小上限"},
        {"package streamed past the size limit",
         packageOnly(
             [](httplib::Response& res) {
                 serveZeros(res, static_cast<std::size_t>(kMaxBytes) + (4 << 20), false);
             },
             signature),
         "超过大小上限"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LocalServer service;
        c.routes(service.server());
        ASSERT_TRUE(service.start());
        const UpdaterRun run = runUpdater(paramsFor(service.url("/download/client")));
        expectOldProgramUntouched(run, c.error);
    }
}

TEST_F(UpdaterEndToEnd, RefusesAServiceThatIsNotThere) {
    LocalServer gone;
    ASSERT_TRUE(gone.start());
    const std::string url = gone.url("/download/client");
    gone.stop();
    expectOldProgramUntouched(runUpdater(paramsFor(url)), "下载新版本失败：网络错误");
}

TEST_F(UpdaterEndToEnd, RefusesBadParametersBeforeTouchingAnything) {
    const std::string url = "http://127.0.0.1:9/download/client";
    const QStringList good = paramsFor(url);
    struct Case {
        const char* name;
        QStringList params;
        const char* error;
    };
    const Case cases[] = {
        {"none", {}, "需要 5 个参数"},
        {"four", good.mid(0, 4), "收到 4 个"},
        {"six", good + QStringList{"extra"}, "收到 6 个"},
        {"a path for the program",
         {good[0], good[1], good[2], good[3], "../" + kExeName},
         "程序文件名无效"},
        {"the updater itself",
         {good[0], good[1], good[2], good[3], kUpdaterName},
         "程序文件名无效"},
        {"a program that is not there",
         {good[0], good[1], good[2], good[3], "不存在"},
         "找不到程序文件"},
        {"not a web address",
         {good[0], good[1], good[2], "file:///etc/passwd", kExeName},
         "下载地址无效"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        expectOldProgramUntouched(runUpdater(c.params), c.error);
    }
}

TEST_F(UpdaterEndToEnd, RestoresTheOldProgramWhenTheSignedPackageCannotRun) {
    const QByteArray notAProgram = "signed, but no program\n";
    std::string signature;
    std::string error;
    QFile key(QUORSA_UPDATE_TEST_PRIVATE_KEY);
    ASSERT_TRUE(key.open(QIODevice::ReadOnly));
    ASSERT_TRUE(
        signData(key.readAll().toStdString(), asBytes(toStd(notAProgram)), signature, error));
    serveRelease(m_service.server(), notAProgram, QByteArray::fromStdString(signature));
    ASSERT_TRUE(m_service.start());

    expectOldProgramUntouched(runUpdater(paramsFor(m_service.url("/download/client"))),
                              "新版本无法启动，已恢复原程序");
}

// Holds the package download until the test lets it go.
struct Gate {
    std::mutex mutex;
    std::condition_variable changed;
    bool arrived = false;
    bool open = false;

    void arriveAndWait() {
        std::unique_lock lock(mutex);
        arrived = true;
        changed.notify_all();
        changed.wait_for(lock, std::chrono::seconds(60), [this] { return open; });
    }
    bool waitForArrival() {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, std::chrono::seconds(60), [this] { return arrived; });
    }
    void release() {
        std::lock_guard lock(mutex);
        open = true;
        changed.notify_all();
    }
};

TEST_F(UpdaterEndToEnd, ASecondUpdaterLeavesTheRunningOneAlone) {
    Gate gate;
    const std::string package = toStd(s_newProgram);
    m_service.server().Get("/download/client",
                           [&gate, package](const httplib::Request&, httplib::Response& res) {
                               gate.arriveAndWait();
                               res.set_content(package, "application/octet-stream");
                           });
    m_service.server().Get("/download/client.sig",
                           [](const httplib::Request&, httplib::Response& res) {
                               res.set_content(toStd(s_signature), "application/octet-stream");
                           });
    ASSERT_TRUE(m_service.start());
    const QStringList params = paramsFor(m_service.url("/download/client"));

    QProcess first;
    startUpdater(first, params);
    const bool firstIsDownloading = gate.waitForArrival();
    if (!firstIsDownloading) {
        gate.release();
    }
    ASSERT_TRUE(firstIsDownloading);
    const QStringList filesOfTheFirst = listing();

    const UpdaterRun second = runUpdater(params);
    EXPECT_NE(second.exitCode, 0);
    EXPECT_TRUE(second.err.contains(QStringLiteral("另一个更新器正在运行")))
        << second.err.toStdString();
    EXPECT_EQ(readFile(targetPath()), s_oldProgram);
    EXPECT_EQ(listing(), filesOfTheFirst);

    gate.release();
    expectUpdated(finish(first), "new\n");
}

TEST_F(UpdaterEndToEnd, WaitsForTheOldProgramToEndBeforeReplacingIt) {
    serveRelease(m_service.server(), s_newProgram, s_signature);
    ASSERT_TRUE(m_service.start());

    QProcess oldProgram;
    oldProgram.start(targetPath(), {"--wait"});
    ASSERT_TRUE(oldProgram.waitForStarted());
    ASSERT_EQ(waitForMarker("old\n"), "old\n");

    QProcess updater;
    startUpdater(updater, paramsFor(m_service.url("/download/client")));
    QByteArray out;
    while (!out.contains("正在等待") && updater.waitForReadyRead(60000)) {
        out += updater.readAllStandardOutput();
    }
    ASSERT_TRUE(out.contains("正在等待")) << out.toStdString();
    EXPECT_EQ(readFile(targetPath()), s_oldProgram);

    QFile quit(m_dir.filePath("probe-quit"));
    ASSERT_TRUE(quit.open(QIODevice::WriteOnly));
    quit.close();
    ASSERT_TRUE(oldProgram.waitForFinished(60000));
    expectUpdated(finish(updater), "old\nnew\n");
}

TEST_F(UpdaterEndToEnd, GivesUpWhenTheOldProgramDoesNotEnd) {
    serveRelease(m_service.server(), s_newProgram, s_signature);
    ASSERT_TRUE(m_service.start());

    QProcess oldProgram;
    oldProgram.start(targetPath(), {"--wait"});
    ASSERT_TRUE(oldProgram.waitForStarted());
    ASSERT_EQ(waitForMarker("old\n"), "old\n");

    const UpdaterRun run = runUpdater(paramsFor(m_service.url("/download/client")));

    QFile quit(m_dir.filePath("probe-quit"));
    ASSERT_TRUE(quit.open(QIODevice::WriteOnly));
    quit.close();
    oldProgram.waitForFinished(60000);
    EXPECT_NE(run.exitCode, 0);
    EXPECT_TRUE(run.err.contains(QStringLiteral("仍在运行"))) << run.err.toStdString();
    EXPECT_EQ(readFile(targetPath()), s_oldProgram);
    EXPECT_EQ(listing(), sorted({kMarker, kExeName, "probe-quit", kUpdaterName}));
}

}  // namespace
}  // namespace quorsa::updater
