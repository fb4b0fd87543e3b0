#include "platform/gui/balloon_tip.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QRegion>

#include "platform/gui/fonts.h"

namespace quorsa::platform {

namespace {

constexpr int kPointerHeight = 10;
constexpr int kPointerHalfWidth = 9;
constexpr int kPointerInset = 22;
constexpr int kPaddingX = 14;
constexpr int kPaddingY = 8;
constexpr qreal kRadius = 7.0;

QPainterPath balloonPath(const QSize& size) {
    const QRectF body(0.5, 0.5, size.width() - 1.0, size.height() - kPointerHeight - 1.0);
    QPainterPath path;
    path.addRoundedRect(body, kRadius, kRadius);
    QPainterPath pointer;
    const qreal tipX = kPointerInset;
    pointer.moveTo(tipX - kPointerHalfWidth, body.bottom() - 1.0);
    pointer.lineTo(tipX, size.height() - 0.5);
    pointer.lineTo(tipX + kPointerHalfWidth, body.bottom() - 1.0);
    pointer.closeSubpath();
    return path.united(pointer);
}

}  // namespace

BalloonTip::BalloonTip(QWidget* parent)
    : QWidget(parent, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFont(formFont(QStringLiteral("微软雅黑"), 13, false));
    m_hideTimer.setSingleShot(true);
    m_hideTimer.setInterval(kShowMillis);
    connect(&m_hideTimer, &QTimer::timeout, this, &QWidget::hide);
}

void BalloonTip::showAt(const QPoint& screenPos, const QString& text) {
    m_text = text;
    m_target = screenPos;
    const QFontMetrics metrics(font());
    const QSize size(metrics.horizontalAdvance(text) + 2 * kPaddingX,
                     metrics.height() + 2 * kPaddingY + kPointerHeight);
    resize(size);
    // Shaped by a mask rather than translucency, so it looks right without a
    // compositing window manager too.
    setMask(QRegion(balloonPath(size).toFillPolygon().toPolygon()));
    move(screenPos.x() - kPointerInset, screenPos.y() - size.height());
    show();
    raise();
    update();
    m_hideTimer.start();
}

void BalloonTip::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPainterPath path = balloonPath(size());
    painter.fillPath(path, QColor(255, 252, 232));
    painter.setPen(QPen(QColor(170, 150, 90), 1.0));
    painter.drawPath(path);
    painter.setPen(QColor(60, 50, 20));
    painter.setFont(font());
    painter.drawText(QRect(0, 0, width(), height() - kPointerHeight), Qt::AlignCenter, m_text);
}

void BalloonTip::mousePressEvent(QMouseEvent*) {
    hide();
}

}  // namespace quorsa::platform
