#pragma once

#include <QWidget>

#include <functional>

class QLabel;
class QProgressBar;
class QPushButton;

namespace quorsa::updater {

// The updater's only window: product name, versions, status, progress, and on
// failure the error text with an OK button.
class UpdaterWindow : public QWidget {
public:
    UpdaterWindow(const QString& productName, const QString& currentVersion,
                  const QString& newVersion);

    void setStatus(const QString& text);
    // total < 0: size unknown, the bar just shows activity.
    void setProgress(qint64 received, qint64 total);
    void showError(const QString& text);
    // Presses OK, as the user would.
    void acknowledge();

    // Closing the window while the update runs asks it to stop.
    std::function<void()> onCancelRequested;
    std::function<void()> onAcknowledged;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QLabel* m_status = nullptr;
    QProgressBar* m_progress = nullptr;
    QLabel* m_error = nullptr;
    QPushButton* m_ok = nullptr;
    bool m_failed = false;
};

}  // namespace quorsa::updater
