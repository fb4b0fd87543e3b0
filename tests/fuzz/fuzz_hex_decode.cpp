#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "service/codec/codec.h"

using namespace quorsa::codec;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::string bytes = hexDecode(text);
    if (bytes.size() != (size + 1) / 2) {
        std::abort();
    }
    if (hexDecode(hexEncode(text)) != text) {
        std::abort();
    }
    hexDigitsValue(text.substr(0, 8));
    if (urlUnescape(urlEscape(text)) != text) {
        std::abort();
    }
    urlUnescape(text);
    return 0;
}
