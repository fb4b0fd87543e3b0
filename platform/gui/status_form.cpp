#include "platform/gui/status_form.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QScreen>
#include <algorithm>
#include <cmath>

#include "platform/gui/artwork.h"
#include "platform/gui/fonts.h"

namespace quorsa::platform {

namespace {

// Where the packets travel in the picture's own coordinates (377 x 126).
constexpr qreal kTrackStartX = 118.0;
constexpr qreal kTrackEndX = 262.0;
constexpr qreal kTrackY = 63.0;
constexpr qreal kPacketSize = 14.0;
constexpr int kPackets = 3;
constexpr QSizeF kPictureSize{377.0, 126.0};

}  // namespace

BusyAnimation::BusyAnimation(QWidget* parent)
    : QWidget(parent), m_picture(artworkPath(art::kBusy)), m_packet(artworkPath(art::kBusyPacket)) {
    m_timer.setInterval(kFrameMillis);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        m_frame = (m_frame + 1) % kFrames;
        update();
    });
}

void BusyAnimation::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    m_timer.start();
}

void BusyAnimation::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    m_timer.stop();
}

void BusyAnimation::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    // The picture is drawn in its own coordinates, scaled to fit the box and
    // centred; its edges are the form's own colour, so the margins vanish.
    const qreal scale = std::min(width() / kPictureSize.width(), height() / kPictureSize.height());
    painter.translate((width() - kPictureSize.width() * scale) / 2.0,
                      (height() - kPictureSize.height() * scale) / 2.0);
    painter.scale(scale, scale);
    m_picture.render(&painter, QRectF(QPointF(0, 0), kPictureSize));
    const qreal travel = kTrackEndX - kTrackStartX;
    for (int i = 0; i < kPackets; ++i) {
        const qreal t = std::fmod(
            static_cast<qreal>(m_frame) / kFrames + static_cast<qreal>(i) / kPackets, 1.0);
        // Packets fade in after leaving the service and out before arriving.
        const qreal fade = std::min({1.0, t * 5.0, (1.0 - t) * 5.0});
        painter.setOpacity(fade);
        const QPointF centre(kTrackStartX + travel * t, kTrackY);
        m_packet.render(&painter, QRectF(centre.x() - kPacketSize / 2, centre.y() - kPacketSize / 2,
                                         kPacketSize, kPacketSize));
    }
    painter.setOpacity(1.0);
}

StatusForm::StatusForm(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint),
      m_animation(new BusyAnimation(this)),
      m_message(new QLabel(this)) {
    setObjectName(QStringLiteral("StatusForm"));
    setFixedSize(kWidth, kHeight);
    m_animation->setObjectName(QStringLiteral("图片框1"));
    m_animation->setGeometry(0, 51, 300, 93);
    m_message->setObjectName(QStringLiteral("标签1"));
    m_message->setGeometry(0, 144, 300, 40);
    m_message->setFont(formFont(QStringLiteral("微软雅黑"), 19, true));
    m_message->setAlignment(Qt::AlignCenter);
    QPalette palette = m_message->palette();
    palette.setColor(QPalette::WindowText, QColor(34, 48, 72));
    m_message->setPalette(palette);
    m_message->setText(QStringLiteral("正在获取网络数据,请稍后……"));
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
}

void StatusForm::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowTitleChange) {
        update();
    }
}

void StatusForm::setMessage(const QString& text) {
    m_message->setText(text);
}

void StatusForm::dismiss() {
    m_dismissing = true;
    close();
    m_dismissing = false;
}

void StatusForm::closeEvent(QCloseEvent* event) {
    if (m_dismissing) {
        event->accept();
        return;
    }
    event->ignore();
    emit closeRequested();
}

void StatusForm::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor(246, 248, 252));
    QLinearGradient band(0, 0, 0, 51);
    band.setColorAt(0.0, QColor(22, 34, 56));
    band.setColorAt(1.0, QColor(36, 56, 90));
    painter.fillRect(QRect(0, 0, width(), 51), band);
    painter.fillRect(QRect(0, 49, width(), 2), QColor(214, 48, 49));
    if (windowTitle().isEmpty()) {
        return;
    }
    // The program's name in the band, behind a small die.
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF die(14, 15, 20, 20);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(217, 43, 43));
    painter.drawRoundedRect(die, 4, 4);
    painter.setBrush(Qt::white);
    for (const QPointF pip : {QPointF(19, 20), QPointF(24, 25), QPointF(29, 30)}) {
        painter.drawEllipse(pip, 1.8, 1.8);
    }
    painter.setPen(QColor(236, 241, 248));
    painter.setFont(formFont(QStringLiteral("微软雅黑"), 15, true));
    painter.drawText(QRect(44, 0, width() - 52, 49), Qt::AlignVCenter | Qt::AlignLeft,
                     windowTitle());
}

}  // namespace quorsa::platform
