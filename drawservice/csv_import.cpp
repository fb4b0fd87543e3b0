#include "drawservice/csv_import.h"

#include <algorithm>
#include <optional>
#include <set>

#include "service/codec/draw_time.h"
#include "drawservice/draw_schedule.h"
#include "drawservice/secure_random.h"

namespace quorsa::drawservice {
namespace {

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) {
        text.remove_suffix(1);
    }
    return text;
}

// Fields of one CSV line; quotes may hold commas, "" is a quote. nullopt for
// an unclosed quote.
std::optional<std::vector<std::string>> csvFields(std::string_view line) {
    std::vector<std::string> fields;
    std::string field;
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted) {
            if (c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
                field.push_back('"');
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                field.push_back(c);
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            fields.emplace_back(trimmed(field));
            field.clear();
        } else {
            field.push_back(c);
        }
    }
    if (quoted) {
        return std::nullopt;
    }
    fields.emplace_back(trimmed(field));
    return fields;
}

// "2,3,5", "2 3 5" or "235" as "2,3,5"; nullopt unless three dice 1..6.
std::optional<std::string> diceText(std::string_view text) {
    std::string dice;
    for (char c : text) {
        if (c >= '1' && c <= '6') {
            dice.push_back(c);
        } else if (c != ',' && c != ' ') {
            return std::nullopt;
        }
    }
    if (dice.size() != 3) {
        return std::nullopt;
    }
    return std::string{dice[0], ',', dice[1], ',', dice[2]};
}

}  // namespace

ImportResult parseDrawCsv(std::string_view text) {
    ImportResult result;
    if (text.substr(0, 3) == "\xEF\xBB\xBF") {
        text.remove_prefix(3);
    }
    std::set<std::string> seen;
    std::size_t lineNumber = 0;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = trimmed(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        ++lineNumber;
        if (lineNumber == 1 || line.empty()) {
            continue;  // the header, or a blank line
        }
        auto bad = [&](std::string message) {
            result.problems.push_back({lineNumber, std::move(message)});
        };
        const auto fields = csvFields(line);
        if (!fields) {
            bad("unclosed quote");
            continue;
        }
        std::string numbersField;
        if (fields->size() == 3) {
            numbersField = (*fields)[2];
        } else if (fields->size() == 5) {
            numbersField = (*fields)[2] + "," + (*fields)[3] + "," + (*fields)[4];
        } else {
            bad("expected 3 columns (issue, draw time, numbers), found " +
                std::to_string(fields->size()));
            continue;
        }
        const std::string& issue = (*fields)[0];
        const auto drawUnix = codec::parseDrawTime((*fields)[1]);
        const auto numbers = diceText(numbersField);
        if (!linearFromIssue(issue)) {
            bad("bad issue \"" + issue.substr(0, 40) + "\" (yyyymmdd and 001 to 082)");
        } else if (!drawUnix) {
            bad("bad draw time \"" + (*fields)[1].substr(0, 40) + "\" (yyyy-MM-dd HH:mm:ss)");
        } else if (!numbers) {
            bad("bad numbers \"" + numbersField.substr(0, 40) + "\" (three dice 1 to 6)");
        } else if (!seen.insert(issue).second) {
            bad("issue " + issue + " appears twice");
        } else {
            StoredDraw draw;
            draw.prefix = issue.substr(0, 8);
            draw.seq = issue.substr(8);
            draw.drawTime = (*fields)[1];
            draw.drawUnix = *drawUnix;
            draw.numbers = *numbers;
            result.draws.push_back(std::move(draw));
        }
    }
    return result;
}

bool importDrawCsv(DrawStore& store, std::string_view text, ImportResult& result,
                   std::string& error) {
    result = parseDrawCsv(text);
    for (StoredDraw& draw : result.draws) {
        const auto seed = randomSeed();
        if (!seed) {
            error = "the secure random generator failed";
            return false;
        }
        draw.seed = *seed;
    }
    return store.replace(result.draws, error);
}

}  // namespace quorsa::drawservice
