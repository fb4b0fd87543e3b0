#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "service/json_value.h"

using namespace quorsa::service;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    ServiceAnswer answer;
    if (!answer.parse(text)) {
        if (!answer.isInvalid() || !answer.toText().empty() || !answer.errorCode().empty()) {
            std::abort();
        }
        return 0;
    }
    std::int32_t type = 0;
    for (const char* key : {"errcode", "msg", "data", ""}) {
        answer.memberText(key, type);
    }
    // What the values write, they read back unchanged.
    const std::string written = answer.toText();
    JsonObject again;
    if (!again.parse(written) || again.toText() != written) {
        std::abort();
    }
    if (type == kJsonString) {
        JsonObject inner;
        inner.parse(answer.memberText("data"));
    }
    return 0;
}
