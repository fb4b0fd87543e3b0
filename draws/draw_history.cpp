#include "draws/draw_history.h"

#include <algorithm>

#include "platform/text.h"

namespace quorsa::draws {

bool loadRecentDraws(service::ServiceClient& client, platform::MessageSink& messages,
                     std::int32_t count, DrawHistory& out) {
    service::DrawTable table;
    if (!client.recentDraws(count, table)) {
        messages.information("查询最近开奖数据失败！" + client.lastError(), "");
        return false;
    }
    DrawHistory history(static_cast<std::size_t>(std::max(count, 0)));
    // Rows beyond `count` have no place in the list and are dropped.
    const std::size_t rows = std::min(table.size(), history.size());
    for (std::size_t r = 0; r < rows; ++r) {
        const auto& row = table[r];
        const auto column = [&row](std::size_t c) {
            return c < row.size() ? row[c] : std::string();
        };
        history[r] =
            DrawRecord{column(0), column(1), column(2), column(3), platform::leadingInt(column(4))};
    }
    out = std::move(history);
    return true;
}

void addNewestDraw(DrawHistory& history, const DrawRecord& draw) {
    history.insert(history.begin(), draw);
}

}  // namespace quorsa::draws
