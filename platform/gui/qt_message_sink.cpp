#include "platform/gui/qt_message_sink.h"

#include <QByteArray>
#include <QGuiApplication>
#include <QMessageBox>

namespace quorsa::platform {

namespace {

QString fromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

QString QtMessageSink::captionFor(const std::string& caption) const {
    if (!caption.empty()) {
        return fromUtf8(caption);
    }
    if (m_parent && !m_parent->windowTitle().isEmpty()) {
        return m_parent->windowTitle();
    }
    return QGuiApplication::applicationDisplayName();
}

void QtMessageSink::information(const std::string& text, const std::string& caption) {
    QMessageBox box(QMessageBox::Information, captionFor(caption), fromUtf8(text), QMessageBox::Ok,
                    m_parent);
    box.setObjectName(QStringLiteral("informationBox"));
    box.exec();
}

bool QtMessageSink::confirm(const std::string& text, const std::string& caption) {
    // Test hook for runs of the whole program: QUORSA_TEST_CONFIRM=ok or
    // cancel answers without showing the box.
    const QByteArray answer = qgetenv("QUORSA_TEST_CONFIRM");
    if (answer == "ok" || answer == "cancel") {
        return answer == "ok";
    }
    QMessageBox box(QMessageBox::Question, captionFor(caption), fromUtf8(text),
                    QMessageBox::Ok | QMessageBox::Cancel, m_parent);
    box.setObjectName(QStringLiteral("confirmBox"));
    box.setDefaultButton(QMessageBox::Ok);
    return box.exec() == QMessageBox::Ok;
}

}  // namespace quorsa::platform
