#include "platform/gui/artwork.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

// Outside any namespace, as the resource macro requires.
static void initArtworkResources() {
    Q_INIT_RESOURCE(artwork);
}

namespace quorsa::platform {

QString artworkPath(const char* name) {
    // The resources of a static library are registered only when something
    // asks for them; registering twice is harmless.
    initArtworkResources();
    return QStringLiteral(":/art/") + QString::fromLatin1(name) + QStringLiteral(".svg");
}

QPixmap renderArtwork(const char* name, QSize size) {
    QSvgRenderer renderer(artworkPath(name));
    if (!renderer.isValid() || size.isEmpty()) {
        return {};
    }
    // Rendered for the screen's pixel density, so the artwork stays sharp on
    // high-density screens; the pixmap still measures `size` in layout units.
    const qreal ratio = qApp != nullptr ? qApp->devicePixelRatio() : 1.0;
    QImage image(size * ratio, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(image.size())));
    painter.end();
    image.setDevicePixelRatio(ratio);
    return QPixmap::fromImage(image);
}

}  // namespace quorsa::platform
