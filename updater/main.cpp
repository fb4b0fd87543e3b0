// The updater: started by the client with five parameters (software name,
// current version, new version, package address, program file name), it
// replaces the program beside it with the signed package and starts it.
#include <QApplication>
#include <QFileInfo>
#include <QTimer>

#include <cstdio>

#include "updater/build_settings.h"
#include "updater/update_session.h"
#include "updater/updater_window.h"

namespace {

constexpr int kExitFailure = 1;

}  // namespace

int main(int argc, char** argv) {
    using namespace quorsa::updater;

    QApplication app(argc, argv);
    // The window's close button cancels the update; the update decides when to end.
    app.setQuitOnLastWindowClosed(false);

    const QString updaterFileName = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    UpdateRequest request;
    QString error;
    const bool valid = parseRequest(app.arguments().mid(1), updaterFileName, request, error);

    UpdaterWindow window(valid ? request.softwareName : updaterFileName,
                         valid ? request.currentVersion : QString(),
                         valid ? request.newVersion : QString());
    window.show();

    bool updated = false;
    if (valid) {
        UpdaterSettings settings{
            .programDir = QCoreApplication::applicationDirPath(),
            .updaterFileName = updaterFileName,
            .publicKeyPem = QByteArray(kTrustedPublicKeyPem.data(),
                                       static_cast<qsizetype>(kTrustedPublicKeyPem.size())),
            .maxPackageBytes = kMaxPackageBytes,
        };
        UpdateSession session(std::move(settings), request, window);
        window.onCancelRequested = [&session] { session.cancel(); };
        updated = session.run(error);
        window.onCancelRequested = nullptr;
    }
    if (updated) {
        return 0;
    }

    std::fprintf(stderr, "%s\n", error.toUtf8().constData());
    window.showError(error);
    window.onAcknowledged = [] { QCoreApplication::exit(kExitFailure); };
    // For scripts and tests: acknowledge the error at once instead of waiting for a user.
    if (qEnvironmentVariableIntValue("QUORSA_UPDATER_UNATTENDED") != 0) {
        QTimer::singleShot(0, &window, [&window] { window.acknowledge(); });
    }
    return app.exec();
}
