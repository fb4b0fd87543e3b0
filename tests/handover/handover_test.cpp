// The client's hand-over to the updater with the built programs: the bundled
// draw service announces 9.9 with a signed package, the client's update
// prompt is answered through the message hook, and the carried updater
// replaces the client and starts the new version.
//
// The client asks for its service at the fixed 127.0.0.1:19300, so the tests
// run in a network namespace of their own (as root): that address is this
// test's service and nobody else's.
#include <gtest/gtest.h>
#include <net/if.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/ptrace.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const QString kExeName = QStringLiteral("Quorsa江苏快三平刷和值单双");
const QString kUpdaterName = QStringLiteral("更新器");
const QString kPackageUrl = QStringLiteral("http://127.0.0.1:19300/download/quorsa-client");
const QString kMarker = QStringLiteral("new-version-started.txt");

std::string g_isolationError;

// A fresh network namespace with its loopback up; before any thread exists.
bool isolateNetwork(std::string& error) {
    if (unshare(CLONE_NEWNET) != 0) {
        error = std::string("unshare(CLONE_NEWNET): ") + std::strerror(errno);
        return false;
    }
    const int fd = socket(AF_INET, SOCK_DGRAM, 0);
    ifreq lo{};
    std::strncpy(lo.ifr_name, "lo", IFNAMSIZ - 1);
    bool up = fd >= 0 && ioctl(fd, SIOCGIFFLAGS, &lo) == 0;
    if (up) {
        lo.ifr_flags = static_cast<short>(lo.ifr_flags | IFF_UP);
        up = ioctl(fd, SIOCSIFFLAGS, &lo) == 0;
    }
    if (!up)
        error = std::string("loopback up: ") + std::strerror(errno);
    if (fd >= 0)
        close(fd);
    return up;
}

QByteArray bytesOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool waitUntil(const std::function<bool()>& done, int millis) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > millis)
            return false;
        QThread::msleep(20);
    }
    return true;
}

// The processes whose executable is `path`, with their arguments.
std::vector<QStringList> argumentsOfProcessesRunning(const QString& path) {
    std::vector<QStringList> found;
    std::error_code ec;
    const fs::path wanted = fs::canonical(path.toStdString(), ec);
    if (ec)
        return found;
    fs::directory_iterator it("/proc", ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        std::error_code linkError;
        if (fs::read_symlink(it->path() / "exe", linkError) != wanted || linkError)
            continue;
        const QByteArray raw = bytesOf(QString::fromStdString((it->path() / "cmdline").string()));
        QStringList args;
        for (const QByteArray& arg : raw.split('\0'))
            args << QString::fromUtf8(arg);
        if (!args.isEmpty() && raw.endsWith('\0'))
            args.removeLast();  // the terminator of the last argument
        found.push_back(args);
    }
    return found;
}

// A process of the program file held stopped right after its exec: to the
// updater the old program is still running until this ends.
class HeldProgram {
public:
    ~HeldProgram() { end(); }

    bool start(const QString& path) {
        const QByteArray file = QFile::encodeName(path);
        const pid_t pid = fork();
        if (pid == 0) {
            ptrace(PTRACE_TRACEME, 0, nullptr, nullptr);
            execl(file.constData(), file.constData(), static_cast<char*>(nullptr));
            _exit(127);
        }
        if (pid < 0)
            return false;
        m_pid = pid;
        int status = 0;
        return waitpid(pid, &status, 0) == pid && WIFSTOPPED(status);
    }

    void end() {
        if (m_pid > 0) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, nullptr, 0);
            m_pid = -1;
        }
    }

private:
    pid_t m_pid = -1;
};

class Handover : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_root = std::make_unique<QTemporaryDir>();
        if (!g_isolationError.empty() || !s_root->isValid())
            return;
        // The package: the new version, signed with the test key.
        const QString downloads = s_root->filePath(QStringLiteral("download"));
        const QString package = downloads + QStringLiteral("/quorsa-client");
        if (!QDir().mkpath(downloads) || !QFile::copy(QStringLiteral(NEW_VERSION_PATH), package) ||
            QProcess::execute(QStringLiteral(SIGN_PACKAGE_PATH),
                              {QStringLiteral(TEST_PRIVATE_KEY), package}) != 0) {
            s_serviceError = "the signed package could not be made";
            return;
        }
        s_service = std::make_unique<QProcess>();
        s_service->setProcessChannelMode(QProcess::MergedChannels);
        s_service->start(QStringLiteral(DRAW_SERVICE_PATH),
                         {QStringLiteral("--listen"), QStringLiteral("127.0.0.1:19300"),
                          QStringLiteral("--data"), s_root->filePath(QStringLiteral("draws.db")),
                          QStringLiteral("--announce-version"), QStringLiteral("9.9"),
                          QStringLiteral("--download-dir"), downloads});
        QByteArray seen;
        const bool ready = waitUntil(
            [&] {
                s_service->waitForReadyRead(100);
                seen += s_service->readAll();
                return seen.contains("listening on") || s_service->state() == QProcess::NotRunning;
            },
            20000);
        if (!ready || !seen.contains("listening on"))
            s_serviceError = "the draw service did not start: " + seen.toStdString();
    }

    static void TearDownTestSuite() {
        if (s_service) {
            s_service->terminate();
            if (!s_service->waitForFinished(5000))
                s_service->kill();
            s_service->waitForFinished(5000);
        }
        s_service.reset();
        s_root.reset();
    }

    void SetUp() override {
        ASSERT_TRUE(g_isolationError.empty())
            << "needs a network namespace of its own (run as root): " << g_isolationError;
        ASSERT_TRUE(s_serviceError.empty()) << s_serviceError;
        ASSERT_TRUE(m_dir.isValid());
        // The client copied alone into a folder of its own.
        m_program = m_dir.filePath(QStringLiteral("program"));
        ASSERT_TRUE(QDir().mkpath(m_program));
        ASSERT_TRUE(QFile::copy(QStringLiteral(CLIENT_PATH), exePath()));
        m_log = m_dir.filePath(QStringLiteral("client.log"));
    }

    QString exePath() const { return m_program + QLatin1Char('/') + kExeName; }
    QString updaterPath() const { return m_program + QLatin1Char('/') + kUpdaterName; }

    // Runs the client in its folder with the prompt answered `answer`; its
    // exit code, or -1 when it did not end normally. The updater it starts
    // writes to the same log.
    int runClient(const QString& answer) {
        QProcess client;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        if (geteuid() == 0)
            env.insert(QStringLiteral("QTWEBENGINE_DISABLE_SANDBOX"), QStringLiteral("1"));
        env.insert(QStringLiteral("QUORSA_TEST_CONFIRM"), answer);
        env.insert(QStringLiteral("QUORSA_UPDATER_UNATTENDED"), QStringLiteral("1"));
        client.setProcessEnvironment(env);
        client.setWorkingDirectory(m_program);
        client.setProcessChannelMode(QProcess::MergedChannels);
        client.setStandardOutputFile(m_log, QIODevice::Append);
        client.start(exePath(), {});
        if (!client.waitForFinished(180000)) {
            client.kill();
            client.waitForFinished(5000);
            return -1;
        }
        return client.exitStatus() == QProcess::NormalExit ? client.exitCode() : -1;
    }

    std::string log() const { return bytesOf(m_log).toStdString(); }

    static std::unique_ptr<QTemporaryDir> s_root;
    static std::unique_ptr<QProcess> s_service;
    static std::string s_serviceError;

    QTemporaryDir m_dir;
    QString m_program;
    QString m_log;
};

std::unique_ptr<QTemporaryDir> Handover::s_root;
std::unique_ptr<QProcess> Handover::s_service;
std::string Handover::s_serviceError;

TEST_F(Handover, AcceptedPromptHandsOverToTheCarriedUpdaterWhichInstallsTheNewVersion) {
    const QByteArray oldClient = bytesOf(exePath());
    const QByteArray updater = bytesOf(QStringLiteral(UPDATER_PATH));
    const QByteArray newVersion = bytesOf(QStringLiteral(NEW_VERSION_PATH));
    ASSERT_FALSE(updater.isEmpty());
    // Left by an earlier update: it must go at start and the carried one be written.
    {
        QFile leftOver(updaterPath());
        ASSERT_TRUE(leftOver.open(QIODevice::WriteOnly));
        leftOver.write("left over from an earlier update");
    }
    HeldProgram oldProgramRunning;
    ASSERT_TRUE(oldProgramRunning.start(exePath()));

    ASSERT_EQ(runClient(QStringLiteral("ok")), 0) << log();

    EXPECT_TRUE(bytesOf(updaterPath()) == updater) << "the updater file is not the built updater";
    EXPECT_TRUE(QFileInfo(updaterPath()).isExecutable());

    // The updater now waits for the held program; its arguments, exactly.
    std::vector<QStringList> updaters;
    ASSERT_TRUE(waitUntil(
        [&] {
            updaters = argumentsOfProcessesRunning(updaterPath());
            return !updaters.empty();
        },
        8000))
        << log();
    ASSERT_EQ(updaters.size(), 1u);
    const QStringList args = updaters.front();
    ASSERT_EQ(args.size(), 6) << args.join(QLatin1Char('|')).toStdString();
    const QStringList expected{kExeName, QStringLiteral("1.15"), QStringLiteral("9.9"), kPackageUrl,
                               kExeName};
    EXPECT_EQ(args.mid(1).join(QLatin1Char('|')).toStdString(),
              expected.join(QLatin1Char('|')).toStdString());
    EXPECT_EQ(QFileInfo(args[0]).fileName().toStdString(), kUpdaterName.toStdString());

    // Once it waits for the old program, the old program ends.
    const std::string waiting = "正在等待 " + kExeName.toStdString() + " 退出";
    ASSERT_TRUE(waitUntil([&] { return log().find(waiting) != std::string::npos; }, 8000)) << log();
    EXPECT_TRUE(bytesOf(exePath()) == oldClient) << "replaced while the old program ran";
    oldProgramRunning.end();
    const QString marker = m_program + QLatin1Char('/') + kMarker;
    ASSERT_TRUE(waitUntil([&] { return QFileInfo::exists(marker); }, 60000)) << log();
    EXPECT_EQ(bytesOf(marker), QByteArray("new version, arguments: 0\n"));
    EXPECT_TRUE(bytesOf(exePath()) == newVersion) << "the program file was not replaced";
    EXPECT_TRUE(bytesOf(exePath() + QStringLiteral(".bak")) == oldClient)
        << "the old program was not kept as the backup";
    EXPECT_TRUE(QFileInfo(exePath()).isExecutable());
}

TEST_F(Handover, LeftOverUpdaterIsDeletedAtStartAndADeclinedPromptWritesNone) {
    const QByteArray oldClient = bytesOf(exePath());
    {
        QFile leftOver(updaterPath());
        ASSERT_TRUE(leftOver.open(QIODevice::WriteOnly));
        leftOver.write("left over from an earlier update");
    }

    ASSERT_EQ(runClient(QStringLiteral("cancel")), 0) << log();

    EXPECT_FALSE(QFileInfo::exists(updaterPath()));
    EXPECT_TRUE(bytesOf(exePath()) == oldClient);
    EXPECT_FALSE(QFileInfo::exists(exePath() + QStringLiteral(".bak")));
}

}  // namespace

int main(int argc, char** argv) {
    // First, while the process has one thread: the namespace is per thread.
    isolateNetwork(g_isolationError);
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
