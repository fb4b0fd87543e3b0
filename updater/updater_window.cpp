#include "updater/updater_window.h"

#include <QCloseEvent>
#include <QFont>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace quorsa::updater {

UpdaterWindow::UpdaterWindow(const QString& productName, const QString& currentVersion,
                             const QString& newVersion) {
    setWindowTitle(productName + QStringLiteral(" 更新"));
    setMinimumWidth(420);

    auto* layout = new QVBoxLayout(this);
    auto* title = new QLabel(productName, this);
    QFont titleFont = title->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.4);
    titleFont.setBold(true);
    title->setFont(titleFont);
    layout->addWidget(title);

    if (!currentVersion.isEmpty() || !newVersion.isEmpty()) {
        layout->addWidget(new QLabel(
            QStringLiteral("当前版本 %1，新版本 %2").arg(currentVersion, newVersion), this));
    }

    m_status = new QLabel(QStringLiteral("正在准备更新……"), this);
    layout->addWidget(m_status);

    m_progress = new QProgressBar(this);
    m_progress->setRange(0, 100);
    m_progress->setValue(0);
    layout->addWidget(m_progress);

    m_error = new QLabel(this);
    m_error->setWordWrap(true);
    m_error->setStyleSheet(QStringLiteral("color: #b00020;"));
    m_error->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_error->hide();
    layout->addWidget(m_error);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    m_ok = new QPushButton(QStringLiteral("确定"), this);
    m_ok->hide();
    buttons->addWidget(m_ok);
    layout->addLayout(buttons);

    QObject::connect(m_ok, &QPushButton::clicked, this, [this] {
        if (onAcknowledged) {
            onAcknowledged();
        }
    });
}

void UpdaterWindow::setStatus(const QString& text) {
    m_status->setText(text);
}

void UpdaterWindow::setProgress(qint64 received, qint64 total) {
    if (total <= 0) {
        m_progress->setRange(0, 0);
        return;
    }
    m_progress->setRange(0, 1000);
    m_progress->setValue(static_cast<int>(std::min<qint64>(received, total) * 1000 / total));
}

void UpdaterWindow::showError(const QString& text) {
    m_failed = true;
    m_status->setText(QStringLiteral("更新失败"));
    m_progress->hide();
    m_error->setText(text);
    m_error->show();
    m_ok->show();
    m_ok->setDefault(true);
    m_ok->setFocus();
}

void UpdaterWindow::acknowledge() {
    m_ok->click();
}

void UpdaterWindow::closeEvent(QCloseEvent* event) {
    if (m_failed) {
        event->accept();
        if (onAcknowledged) {
            onAcknowledged();
        }
        return;
    }
    // The update decides when it is safe to stop; it reports the cancel itself.
    event->ignore();
    if (onCancelRequested) {
        onCancelRequested();
    }
}

}  // namespace quorsa::updater
