#include <cstdint>
#include <string>
#include <string_view>

#include "service/service_client.h"

using namespace quorsa::service;

// A whole "select_draw" answer as it arrives, through to the table.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view raw(reinterpret_cast<const char*>(data), size);
    std::string rows;
    if (selectDrawRows(raw, rows)) {
        DrawTable table;
        parseDrawTable(rows, table);
    }
    return 0;
}
