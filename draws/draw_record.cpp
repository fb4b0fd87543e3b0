#include "draws/draw_record.h"

#include "platform/text.h"

namespace quorsa::draws {

std::optional<DrawRecord> parseDrawRow(std::string_view row) {
    const auto fields = platform::splitText(row, kRowFieldSeparator);
    if (fields.size() != 5) {
        return std::nullopt;
    }
    return DrawRecord{fields[0], fields[1], fields[2], fields[3], platform::leadingInt(fields[4])};
}

}  // namespace quorsa::draws
