// plan-backtest [--periods N] [--seed S] FILE
// Replays a file of draws (newest first, fields joined by "|+|") through the
// plan engine as the plan view's rebuild does and prints the plan box text.
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <limits>
#include <sstream>
#include <string>
#include <string_view>

#include "app/app_settings.h"
#include "draws/draw_record.h"
#include "draws/plan_replay.h"
#include "draws/plan_statistics.h"
#include "plan/plan_engine.h"
#include "platform/encoding.h"
#include "platform/messages.h"
#include "platform/text.h"
#include "platform/time_source.h"

namespace {

using namespace quorsa;

// The engine's message boxes become lines on standard error.
class StderrMessages final : public platform::MessageSink {
public:
    void information(const std::string& text, const std::string&) override {
        std::cerr << text << '\n';
    }
    bool confirm(const std::string& text, const std::string&) override {
        std::cerr << text << '\n';
        return false;
    }
};

int usage(const std::string& problem) {
    if (!problem.empty())
        std::cerr << "plan-backtest: " << problem << '\n';
    std::cerr << "usage: plan-backtest [--periods N] [--seed S] FILE\n"
                 "  --periods N  periods one prediction covers, 1 to 3 (default 3)\n"
                 "  --seed S     seed of the newest draw instead of the tick count\n";
    return 2;
}

// A whole decimal number within the range, nothing else around it.
bool parseInt(const std::string& text, std::int64_t min, std::int64_t max, std::int64_t& out) {
    if (text.empty())
        return false;
    errno = 0;
    char* end = nullptr;
    const long long value = std::strtoll(text.c_str(), &end, 10);
    if (errno != 0 || end != text.c_str() + text.size() || value < min || value > max) {
        return false;
    }
    out = value;
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    std::int32_t periods = 3;
    bool haveSeed = false;
    std::int32_t seed = 0;
    std::string file;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--periods" || arg == "--seed") {
            if (i + 1 >= argc)
                return usage(arg + " needs a value");
            const std::string value = argv[++i];
            std::int64_t number = 0;
            if (arg == "--periods") {
                if (!parseInt(value, 1, 3, number))
                    return usage("--periods must be 1, 2 or 3");
                periods = static_cast<std::int32_t>(number);
            } else {
                if (!parseInt(value, std::numeric_limits<std::int32_t>::min(),
                              std::numeric_limits<std::int32_t>::max(), number)) {
                    return usage("--seed must be a 32-bit integer");
                }
                seed = static_cast<std::int32_t>(number);
                haveSeed = true;
            }
        } else if (arg == "--help" || arg == "-h") {
            usage("");
            return 0;
        } else if (!arg.empty() && arg[0] == '-' && arg != "-") {
            return usage("unknown option " + arg);
        } else if (file.empty()) {
            file = arg;
        } else {
            return usage("only one FILE");
        }
    }
    if (file.empty())
        return usage("no FILE given");

    std::ifstream in(file, std::ios::binary);
    if (!in) {
        std::cerr << "plan-backtest: cannot read " << file << '\n';
        return 1;
    }
    draws::DrawHistory history;
    std::string line;
    std::size_t lineNumber = 0;
    while (std::getline(in, line)) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.find_first_not_of(" \t") == std::string::npos)
            continue;
        const auto record = draws::parseDrawRow(line);
        std::string problem;
        if (!platform::isValidUtf8(line)) {
            problem = "not UTF-8 text";
        } else if (!record) {
            problem = "not five fields joined by \"|+|\"";
        } else if (platform::splitText(record->numbers, ",").size() != 3) {
            problem = "numbers are not three values joined by \",\"";
        }
        if (!problem.empty()) {
            std::cerr << file << ":" << lineNumber << ": bad draw line skipped: " << problem
                      << '\n';
            continue;
        }
        history.push_back(*record);
    }
    if (in.bad()) {
        std::cerr << "plan-backtest: cannot read " << file << '\n';
        return 1;
    }

    if (!haveSeed)
        seed = static_cast<std::int32_t>(platform::SystemTime().tickCount());
    StderrMessages messages;
    plan::PlanEngine engine(messages);
    auto& book = engine.book();
    const std::string planKind(app::kPlanKind);
    // The same set-up as the client's start-up.
    book.addPlan(planKind, planKind, periods);
    book.setMaxLines(0);
    book.setHitChance(80);
    book.setResetOnMisses(0);
    draws::replayDraws(book, history, periods, history.size(), seed);

    plan::PlanEntry copy;
    book.copyPlan(planKind, copy);
    // Byte for byte what the plan box holds, so scripts can compare it.
    std::cout << draws::planBoxText(book.planText(planKind), copy);
    std::cout.flush();
    return std::cout ? 0 : 1;
}
