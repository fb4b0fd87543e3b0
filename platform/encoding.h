#pragma once

#include <optional>
#include <string>
#include <string_view>

// Text inside the program is UTF-8; GBK (code page 936) appears only at the
// edges where its bytes are observable: the settings file and name hashes.
namespace quorsa::platform {

bool isValidUtf8(std::string_view text);

// Characters GBK cannot hold become '?'; invalid UTF-8 bytes likewise.
std::string utf8ToGbk(std::string_view utf8);

// nullopt when the bytes are not valid GBK.
std::optional<std::string> gbkToUtf8(std::string_view gbk);

}  // namespace quorsa::platform
