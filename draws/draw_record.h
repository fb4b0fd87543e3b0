#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorsa::draws {

// One draw. Texts are UTF-8; an empty record has empty texts and seed 0.
struct DrawRecord {
    std::string issuePrefix;
    std::string issueSeq;  // three characters, the issue as shown
    std::string drawTime;  // "yyyy-MM-dd HH:mm:ss", Beijing time
    std::string numbers;   // e.g. "2,3,5"
    std::int32_t seed = 0;

    std::string fullIssue() const { return issuePrefix + issueSeq; }
    bool operator==(const DrawRecord&) const = default;
};

// The newest draw and the one announced as coming (numbers empty, seed 0).
struct DrawPair {
    DrawRecord current;
    DrawRecord next;
    bool operator==(const DrawPair&) const = default;
};

// Newest first; element 1 of the history is front().
using DrawHistory = std::vector<DrawRecord>;

// Separator of the five fields of a draw row, as the service writes them.
inline constexpr std::string_view kRowFieldSeparator = "|+|";

// A row "prefix|+|seq|+|time|+|numbers|+|seed"; nullopt unless it has
// exactly five fields.
std::optional<DrawRecord> parseDrawRow(std::string_view row);

}  // namespace quorsa::draws
