#include "platform/gui/fonts.h"

#include <QStringList>

namespace quorsa::platform {

QFont formFont(const QString& face, int pixelHeight, bool bold) {
    QFont font;
    font.setFamilies(QStringList{face, kCjkFallbackFace});
    font.setPixelSize(pixelHeight);
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

QFont defaultFormFont() {
    return formFont(QStringLiteral("微软雅黑"), 12, false);
}

}  // namespace quorsa::platform
