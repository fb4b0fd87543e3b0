#pragma once

#include <QPoint>
#include <QString>
#include <QTimer>
#include <QWidget>

namespace quorsa::platform {

// A short notice in a small balloon whose pointer touches a screen position.
// It hides itself after a few seconds or when clicked.
class BalloonTip : public QWidget {
    Q_OBJECT
public:
    explicit BalloonTip(QWidget* parent = nullptr);

    void showAt(const QPoint& screenPos, const QString& text);
    QString text() const { return m_text; }
    // The screen position the pointer touches.
    QPoint target() const { return m_target; }

    static constexpr int kShowMillis = 3000;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QString m_text;
    QPoint m_target;
    QTimer m_hideTimer;
};

}  // namespace quorsa::platform
