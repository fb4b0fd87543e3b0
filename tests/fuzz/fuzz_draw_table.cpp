#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/text.h"
#include "service/service_client.h"

using namespace quorsa::service;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    DrawTable table;
    if (!parseDrawTable(text, table)) {
        if (!text.empty()) {
            std::abort();
        }
        return 0;
    }
    if (table.size() != quorsa::platform::splitText(text, "\r\n").size()) {
        std::abort();
    }
    for (const auto& row : table) {
        if (row.size() != table.front().size()) {
            std::abort();
        }
    }
    return 0;
}
