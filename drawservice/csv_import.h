#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "drawservice/draw_store.h"

// Real draws from a CSV file: a header line, then issue, draw time, numbers
// (e.g. 20261211001,2026-12-11 08:40:00,"2,3,5"; the numbers may also stand
// unquoted as three columns, or as "2 3 5" or "235").
namespace quorsa::drawservice {

struct ImportProblem {
    std::size_t line = 0;  // 1-based
    std::string message;
};

struct ImportResult {
    std::vector<StoredDraw> draws;  // seeds still 0
    std::vector<ImportProblem> problems;
};

ImportResult parseDrawCsv(std::string_view text);

// Parses `text`, gives every good draw a secure random seed and stores them
// all in one transaction (replacing draws of the same issue). Bad lines are
// left out and listed in `result`; false and `error` when nothing was stored.
bool importDrawCsv(DrawStore& store, std::string_view text, ImportResult& result,
                   std::string& error);

}  // namespace quorsa::drawservice
