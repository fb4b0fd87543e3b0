#pragma once

#include <QLabel>
#include <QPixmap>
#include <QSvgRenderer>
#include <QTimer>
#include <QWidget>

namespace quorsa::platform {

// The busy animation: data flowing from the service to this program.
class BusyAnimation : public QWidget {
    Q_OBJECT
public:
    static constexpr int kFrameMillis = 40;
    static constexpr int kFrames = 45;

    explicit BusyAnimation(QWidget* parent = nullptr);

    bool isRunning() const { return m_timer.isActive(); }
    int frame() const { return m_frame; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QSvgRenderer m_picture;
    QSvgRenderer m_packet;
    QTimer m_timer;
    int m_frame = 0;
};

// The small status window shown while the service is contacted at start-up.
class StatusForm : public QWidget {
    Q_OBJECT
public:
    static constexpr int kWidth = 300;
    static constexpr int kHeight = 184;

    explicit StatusForm(QWidget* parent = nullptr);

    QLabel* messageLabel() const { return m_message; }
    BusyAnimation* animation() const { return m_animation; }
    void setMessage(const QString& text);
    // Closes the window without it counting as a close request (deleting the
    // form does the same).
    void dismiss();

signals:
    // Someone asked the window to close (its close button, the session, a
    // close() call); the window stays open and the receiver decides.
    void closeRequested();

protected:
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    BusyAnimation* m_animation;
    QLabel* m_message;
    bool m_dismissing = false;
};

}  // namespace quorsa::platform
