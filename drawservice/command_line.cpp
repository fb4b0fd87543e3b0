#include "drawservice/command_line.h"

#include <charconv>
#include <cstdlib>

namespace quorsa::drawservice {
namespace {

bool parseInteger(const std::string& text, std::int64_t low, std::int64_t high, std::int64_t& out) {
    std::int64_t value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end || value < low || value > high) {
        return false;
    }
    out = value;
    return true;
}

}  // namespace

const char* usageText() {
    return "usage: draw-service [--listen ADDR:PORT] [--data FILE] [--demo-interval SECONDS]\n"
           "                    [--announce-version V] [--download-dir DIR]\n"
           "       draw-service import --data FILE CSV\n";
}

bool parseListenAddress(const std::string& text, std::string& host, int& port) {
    const std::size_t colon = text.rfind(':');
    if (colon == std::string::npos || colon == 0) {
        return false;
    }
    std::string address = text.substr(0, colon);
    if (address.front() == '[') {
        if (address.size() < 3 || address.back() != ']') {
            return false;
        }
        address = address.substr(1, address.size() - 2);
    } else if (address.find(':') != std::string::npos) {
        return false;
    }
    std::int64_t value = 0;
    if (!parseInteger(text.substr(colon + 1), 0, 65535, value)) {
        return false;
    }
    host = address;
    port = static_cast<int>(value);
    return true;
}

bool parseCommandLine(const std::vector<std::string>& args, CommandLine& out, std::string& error) {
    CommandLine line;
    std::size_t i = 0;
    if (!args.empty() && args[0] == "import") {
        line.import = true;
        i = 1;
    }
    std::vector<std::string> positional;
    for (; i < args.size(); ++i) {
        std::string name = args[i];
        std::string value;
        bool hasValue = false;
        if (name.rfind("--", 0) != 0) {
            positional.push_back(name);
            continue;
        }
        if (const std::size_t eq = name.find('='); eq != std::string::npos) {
            value = name.substr(eq + 1);
            name = name.substr(0, eq);
            hasValue = true;
        } else if (i + 1 < args.size()) {
            value = args[++i];
            hasValue = true;
        }
        const bool serviceOption = name == "--listen" || name == "--demo-interval" ||
                                   name == "--announce-version" || name == "--download-dir";
        if (name != "--data" && !(serviceOption && !line.import)) {
            error = "unknown option " + name;
            return false;
        }
        if (!hasValue) {
            error = name + " needs a value";
            return false;
        }
        if (name == "--data") {
            line.dataFile = value;
        } else if (name == "--listen") {
            if (!parseListenAddress(value, line.host, line.port)) {
                error = "--listen wants ADDR:PORT, not " + value;
                return false;
            }
        } else if (name == "--demo-interval") {
            if (!parseInteger(value, 1, 86400, line.demoInterval)) {
                error = "--demo-interval wants whole seconds from 1 to 86400, not " + value;
                return false;
            }
        } else if (name == "--announce-version") {
            if (value.empty()) {
                error = "--announce-version needs a value";
                return false;
            }
            line.announceVersion = value;
        } else {
            line.downloadDir = value;
        }
    }
    if (line.import) {
        if (positional.size() != 1) {
            error = "import needs exactly one CSV file";
            return false;
        }
        line.csvFile = positional.front();
    } else if (!positional.empty()) {
        error = "unexpected argument " + positional.front();
        return false;
    }
    out = line;
    return true;
}

std::string defaultDataFile() {
    std::string base;
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg != nullptr && xdg[0] == '/') {
        base = xdg;
    } else if (const char* home = std::getenv("HOME"); home != nullptr && home[0] != '\0') {
        base = std::string(home) + "/.local/share";
    } else {
        base = ".";
    }
    return base + "/quorsa/draw-service.db";
}

}  // namespace quorsa::drawservice
