#pragma once

#include <cstdint>

#include "draws/draw_record.h"
#include "platform/messages.h"
#include "service/service_client.h"

namespace quorsa::draws {

// Asks the service for the `count` newest draws: `out` becomes exactly
// `count` records, newest first, empty ones past the rows that came. On
// failure shows why and leaves `out` as it was.
bool loadRecentDraws(service::ServiceClient& client, platform::MessageSink& messages,
                     std::int32_t count, DrawHistory& out);

// A new draw goes in front of the history, which is never trimmed.
void addNewestDraw(DrawHistory& history, const DrawRecord& draw);

}  // namespace quorsa::draws
