#pragma once

#include <QPixmap>
#include <QSize>
#include <QString>

namespace quorsa::platform {

// Names of the pictures compiled into the program (SVG sources in resources/).
namespace art {
inline constexpr const char* kBackground = "background";
inline constexpr const char* kBackgroundBetCount = "background_betcount";
inline constexpr const char* kMinimiseNormal = "minimise_normal";
inline constexpr const char* kMinimiseHot = "minimise_hot";
inline constexpr const char* kMinimisePressed = "minimise_pressed";
inline constexpr const char* kCloseNormal = "close_normal";
inline constexpr const char* kCloseHot = "close_hot";
inline constexpr const char* kClosePressed = "close_pressed";
inline constexpr const char* kSmallButtonNormal = "button_small_normal";
inline constexpr const char* kSmallButtonHot = "button_small_hot";
inline constexpr const char* kWideButtonNormal = "button_wide_normal";
inline constexpr const char* kWideButtonHot = "button_wide_hot";
inline constexpr const char* kSliderBar = "slider_bar";
inline constexpr const char* kSliderThumb = "slider_thumb";
inline constexpr const char* kBusy = "busy";
inline constexpr const char* kBusyPacket = "busy_packet";
}  // namespace art

// Resource path of a picture's SVG source.
QString artworkPath(const char* name);

// The picture rendered at `size` (layout pixels; the pixmap carries the screen's
// device pixel ratio); a null pixmap when it is not compiled in.
QPixmap renderArtwork(const char* name, QSize size);

}  // namespace quorsa::platform
