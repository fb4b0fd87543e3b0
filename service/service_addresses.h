#pragma once

#include <string_view>

// Where this build looks for the service: the primary address, then the
// fallback on the local machine.
namespace quorsa::service {

inline constexpr std::string_view kPrimaryServiceUrl = "http://127.0.0.1:19300/appinit.php";
inline constexpr std::string_view kFallbackServiceUrl = "http://localhost:19301/appinit.php";

}  // namespace quorsa::service
