#pragma once

#include <cstdint>
#include <string>
#include <vector>

// draw-service [--listen ADDR:PORT] [--data FILE] [--demo-interval SECONDS]
//              [--announce-version V] [--download-dir DIR]
// draw-service import --data FILE CSV
namespace quorsa::drawservice {

struct CommandLine {
    bool import = false;
    std::string host = "127.0.0.1";
    int port = 19300;
    std::string dataFile;           // empty: defaultDataFile()
    std::int64_t demoInterval = 0;  // 0: the real schedule
    std::string announceVersion = "1.15";
    std::string downloadDir;
    std::string csvFile;  // import only
};

// False and `error` for anything not in the synopsis above.
bool parseCommandLine(const std::vector<std::string>& args, CommandLine& out, std::string& error);

// "ADDR:PORT" or "[V6ADDR]:PORT", port 0 .. 65535.
bool parseListenAddress(const std::string& text, std::string& host, int& port);

// $XDG_DATA_HOME, else ~/.local/share, then quorsa/draw-service.db.
std::string defaultDataFile();

const char* usageText();

}  // namespace quorsa::drawservice
