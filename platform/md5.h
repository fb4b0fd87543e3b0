#pragma once

#include <string>
#include <string_view>

namespace quorsa::platform {

// MD5 digest of the bytes as 32 lower-case hexadecimal digits; empty text if
// the digest could not be computed.
std::string md5Hex(std::string_view bytes);

}  // namespace quorsa::platform
