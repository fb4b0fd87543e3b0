#pragma once

#include <QAbstractButton>
#include <QColor>
#include <QLineEdit>
#include <QPixmap>
#include <QPointer>
#include <QString>
#include <QWidget>

namespace quorsa::platform {

// Text drawn straight onto whatever lies beneath (the form's background
// picture); the label paints no background of its own.
class TransparentLabel : public QWidget {
    Q_OBJECT
public:
    explicit TransparentLabel(QWidget* parent = nullptr);

    QString text() const { return m_text; }
    void setText(const QString& text);
    QColor color() const { return m_color; }
    void setColor(const QColor& color);
    Qt::Alignment alignment() const { return m_alignment; }
    void setAlignment(Qt::Alignment alignment);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_text;
    QColor m_color = Qt::black;
    Qt::Alignment m_alignment = Qt::AlignLeft | Qt::AlignVCenter;
};

// Shows its picture; without one it shows the piece of the backdrop picture
// (the form's background) that lies under it, so it hides what is behind it.
class PictureBox : public QWidget {
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent = nullptr);

    const QPixmap& picture() const { return m_picture; }
    void setPicture(const QPixmap& picture);
    // `backdrop` covers the parent from its top-left corner.
    void setBackdrop(const QPixmap& backdrop);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap m_picture;
    QPixmap m_backdrop;
};

// A button drawn from one image per state: normal, hot (under the mouse), pressed.
class PictureButton : public QAbstractButton {
    Q_OBJECT
public:
    explicit PictureButton(QWidget* parent = nullptr);

    void setImages(const QPixmap& normal, const QPixmap& hot, const QPixmap& pressed);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    QPixmap m_normal;
    QPixmap m_hot;
    QPixmap m_pressed;
};

// A button drawn from a normal and a hot image with its caption over them.
class SuperButton : public QAbstractButton {
    Q_OBJECT
public:
    explicit SuperButton(QWidget* parent = nullptr);

    void setImages(const QPixmap& normal, const QPixmap& hot);
    QColor captionColor() const { return m_captionColor; }
    void setCaptionColor(const QColor& color);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    QPixmap m_normal;
    QPixmap m_hot;
    QColor m_captionColor = Qt::black;
};

// A bar with a range and a position, drawn from a bar and a thumb bitmap.
class ImageSlider : public QWidget {
    Q_OBJECT
public:
    explicit ImageSlider(QWidget* parent = nullptr);

    void setImages(const QPixmap& bar, const QPixmap& thumb);
    int minimum() const { return m_minimum; }
    int maximum() const { return m_maximum; }
    int position() const { return m_position; }
    // The position is kept inside the range.
    void setRange(int minimum, int maximum);
    // Clamped to the range; announces the position on every call, as the
    // caller relies on the signal to mirror it elsewhere.
    void setPosition(int position);

signals:
    void positionChanged(int position);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    QRect thumbRect() const;
    int positionAt(int x) const;
    void moveByUser(int position);

    QPixmap m_bar;
    QPixmap m_thumb;
    int m_minimum = 0;
    int m_maximum = 100;
    int m_position = 0;
};

// A line edit that tells when it loses the keyboard focus, whatever its text.
class NumberEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit NumberEdit(QWidget* parent = nullptr);

signals:
    void focusLost();

protected:
    void focusOutEvent(QFocusEvent* event) override;
};

}  // namespace quorsa::platform
