#pragma once

#include <string_view>

namespace quorsa::app {

// The updater program built by this project, carried as data so that the
// client can write it beside itself; nothing is downloaded to get it.
std::string_view updaterImage();

}  // namespace quorsa::app
