#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "service/codec/codec.h"

using namespace quorsa::codec;

// The first two bytes choose the call's rand, the rest is the "data" text.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    const auto rand = static_cast<std::int32_t>((data[0] << 8 | data[1]) % 10000);
    const std::string_view text(reinterpret_cast<const char*>(data + 2), size - 2);
    decodeData(text, rand);
    decodeBody(text, "0f1e2d3c4b5a6978");
    if (decodeData(encodeData(text, rand), rand) != text) {
        std::abort();
    }
    if (decodeBody(encodeBody(text, "0f1e2d3c4b5a6978"), "0f1e2d3c4b5a6978") != text) {
        std::abort();
    }
    return 0;
}
