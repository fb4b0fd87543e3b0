// The desktop client.
#include <QApplication>
#include <QQuickWindow>
#include <QSGRendererInterface>
#include <cstdio>
#include <cstdlib>

#include "app/application.h"
#include "platform/gui/qt_message_sink.h"
#include "platform/gui/url_opener.h"
#include "platform/time_source.h"

int main(int argc, char* argv[]) {
    // Everything is painted in software: the web panel would be the only user
    // of OpenGL, and composing the whole window through a software GL (no GPU)
    // costs far more CPU and memory than painting that small panel directly.
    QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
    if (!qEnvironmentVariableIsSet("QT_XCB_GL_INTEGRATION")) {
        qputenv("QT_XCB_GL_INTEGRATION", "none");
    }
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication qt(argc, argv);
    quorsa::platform::SystemTime time;
    quorsa::platform::QtMessageSink messages;
    quorsa::platform::UrlOpener opener;
    const auto endAtOnce = [](int code) {
        std::fflush(nullptr);
        std::_Exit(code);
    };
    quorsa::app::Application application({}, time, messages, opener, endAtOnce);
    // A start-up that ended has already told the user why.
    if (!application.start())
        return 0;
    messages.setParent(application.mainForm());
    qt.exec();
    return 0;
}
