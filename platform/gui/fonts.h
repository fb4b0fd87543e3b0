#pragma once

#include <QFont>
#include <QString>

namespace quorsa::platform {

// A face that Debian ships with every CJK glyph, behind the faces the forms
// name, so Chinese text renders where those faces are missing.
inline const QString kCjkFallbackFace = QStringLiteral("Noto Sans CJK SC");

// `face` first, then the CJK fallback; height is the character height in pixels.
QFont formFont(const QString& face, int pixelHeight, bool bold);

// The face and size used where the forms leave the font to the platform.
QFont defaultFormFont();

}  // namespace quorsa::platform
