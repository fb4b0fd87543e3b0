#include "platform/gui/controls.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>

namespace quorsa::platform {

namespace {

void drawScaled(QPainter& painter, const QRect& target, const QPixmap& pixmap) {
    if (!pixmap.isNull()) {
        painter.drawPixmap(target, pixmap);
    }
}

}  // namespace

TransparentLabel::TransparentLabel(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TranslucentBackground);
    setAutoFillBackground(false);
}

void TransparentLabel::setText(const QString& text) {
    if (text == m_text) {
        return;
    }
    m_text = text;
    update();
}

void TransparentLabel::setColor(const QColor& color) {
    m_color = color;
    update();
}

void TransparentLabel::setAlignment(Qt::Alignment alignment) {
    m_alignment = alignment;
    update();
}

void TransparentLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setFont(font());
    painter.setPen(m_color);
    painter.drawText(rect(), static_cast<int>(m_alignment) | Qt::TextSingleLine, m_text);
}

PictureBox::PictureBox(QWidget* parent) : QWidget(parent) {}

void PictureBox::setPicture(const QPixmap& picture) {
    m_picture = picture;
    update();
}

void PictureBox::setBackdrop(const QPixmap& backdrop) {
    m_backdrop = backdrop;
    update();
}

void PictureBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!m_picture.isNull()) {
        painter.drawPixmap(rect(), m_picture);
        return;
    }
    if (!m_backdrop.isNull()) {
        // The source rectangle is in the backdrop's device pixels.
        const qreal ratio = m_backdrop.devicePixelRatio();
        const QRectF source(QPointF(geometry().topLeft()) * ratio, QSizeF(size()) * ratio);
        painter.drawPixmap(QRectF(rect()), m_backdrop, source);
    }
}

PictureButton::PictureButton(QWidget* parent) : QAbstractButton(parent) {
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_Hover);
    setCursor(Qt::PointingHandCursor);
}

void PictureButton::setImages(const QPixmap& normal, const QPixmap& hot, const QPixmap& pressed) {
    m_normal = normal;
    m_hot = hot;
    m_pressed = pressed;
    update();
}

QSize PictureButton::sizeHint() const {
    return m_normal.isNull() ? QSize(28, 33) : m_normal.deviceIndependentSize().toSize();
}

void PictureButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (isDown()) {
        drawScaled(painter, rect(), m_pressed);
    } else if (underMouse()) {
        drawScaled(painter, rect(), m_hot);
    } else {
        drawScaled(painter, rect(), m_normal);
    }
}

void PictureButton::enterEvent(QEnterEvent* event) {
    QAbstractButton::enterEvent(event);
    update();
}

void PictureButton::leaveEvent(QEvent* event) {
    QAbstractButton::leaveEvent(event);
    update();
}

SuperButton::SuperButton(QWidget* parent) : QAbstractButton(parent) {
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_Hover);
    setCursor(Qt::PointingHandCursor);
}

void SuperButton::setImages(const QPixmap& normal, const QPixmap& hot) {
    m_normal = normal;
    m_hot = hot;
    update();
}

void SuperButton::setCaptionColor(const QColor& color) {
    m_captionColor = color;
    update();
}

QSize SuperButton::sizeHint() const {
    return m_normal.isNull() ? QSize(60, 33) : m_normal.deviceIndependentSize().toSize();
}

void SuperButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const bool hot = underMouse() || isDown();
    drawScaled(painter, rect(), hot ? m_hot : m_normal);
    // A pressed button's caption sinks by a pixel, as on a real key.
    const QRect captionRect = isDown() ? rect().translated(1, 1) : rect();
    painter.setFont(font());
    painter.setPen(isEnabled() ? m_captionColor : QColor(128, 128, 128));
    painter.drawText(captionRect, Qt::AlignCenter | Qt::TextSingleLine, text());
}

void SuperButton::enterEvent(QEnterEvent* event) {
    QAbstractButton::enterEvent(event);
    update();
}

void SuperButton::leaveEvent(QEvent* event) {
    QAbstractButton::leaveEvent(event);
    update();
}

ImageSlider::ImageSlider(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
}

void ImageSlider::setImages(const QPixmap& bar, const QPixmap& thumb) {
    m_bar = bar;
    m_thumb = thumb;
    update();
}

void ImageSlider::setRange(int minimum, int maximum) {
    m_minimum = minimum;
    m_maximum = std::max(minimum, maximum);
    const int clamped = std::clamp(m_position, m_minimum, m_maximum);
    if (clamped != m_position) {
        m_position = clamped;
        emit positionChanged(m_position);
    }
    update();
}

void ImageSlider::setPosition(int position) {
    m_position = std::clamp(position, m_minimum, m_maximum);
    update();
    emit positionChanged(m_position);
}

QRect ImageSlider::thumbRect() const {
    const int h = height();
    // The thumb keeps its bitmap's proportions at the bar's height.
    const int w = m_thumb.isNull() || m_thumb.height() == 0
                      ? h * 2
                      : std::max(1, m_thumb.width() * h / m_thumb.height());
    const int travel = std::max(0, width() - w);
    const long long span = static_cast<long long>(m_maximum) - m_minimum;
    const int x = span <= 0
                      ? 0
                      : static_cast<int>(static_cast<long long>(travel) *
                                         (static_cast<long long>(m_position) - m_minimum) / span);
    return {x, 0, w, h};
}

int ImageSlider::positionAt(int x) const {
    const int w = thumbRect().width();
    const int travel = std::max(1, width() - w);
    const long long span = static_cast<long long>(m_maximum) - m_minimum;
    const long long offset = std::clamp(x - w / 2, 0, travel);
    return m_minimum + static_cast<int>((offset * span + travel / 2) / travel);
}

void ImageSlider::moveByUser(int position) {
    const int clamped = std::clamp(position, m_minimum, m_maximum);
    if (clamped != m_position) {
        setPosition(clamped);
    }
}

void ImageSlider::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    drawScaled(painter, rect(), m_bar);
    drawScaled(painter, thumbRect(), m_thumb);
}

void ImageSlider::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        moveByUser(positionAt(event->position().toPoint().x()));
    }
}

void ImageSlider::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons() & Qt::LeftButton) {
        moveByUser(positionAt(event->position().toPoint().x()));
    }
}

void ImageSlider::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Left:
        case Qt::Key_Down:
            moveByUser(m_position - 1);
            break;
        case Qt::Key_Right:
        case Qt::Key_Up:
            moveByUser(m_position + 1);
            break;
        case Qt::Key_Home:
            moveByUser(m_minimum);
            break;
        case Qt::Key_End:
            moveByUser(m_maximum);
            break;
        default:
            QWidget::keyPressEvent(event);
    }
}

void ImageSlider::wheelEvent(QWheelEvent* event) {
    const int steps = event->angleDelta().y() / 120;
    if (steps != 0) {
        moveByUser(m_position + steps);
    }
    event->accept();
}

NumberEdit::NumberEdit(QWidget* parent) : QLineEdit(parent) {}

void NumberEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    emit focusLost();
}

}  // namespace quorsa::platform
