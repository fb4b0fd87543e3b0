#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quorsa::platform {

// Caption of the program's information boxes; an empty caption means the
// toolkit's default one.
inline constexpr std::string_view kInfoCaption = "信息：";

// The one way anything shows a message box, so tests can capture them.
class MessageSink {
public:
    virtual ~MessageSink() = default;
    // An information box with an OK button.
    virtual void information(const std::string& text, const std::string& caption) = 0;
    // A box with OK and Cancel; true when the user chose OK.
    virtual bool confirm(const std::string& text, const std::string& caption) = 0;
};

// Records every message instead of showing it; confirm() answers `answer`.
class RecordingMessages final : public MessageSink {
public:
    struct Shown {
        std::string text;
        std::string caption;
        bool question = false;
    };

    void information(const std::string& text, const std::string& caption) override {
        shown.push_back({text, caption, false});
    }
    bool confirm(const std::string& text, const std::string& caption) override {
        shown.push_back({text, caption, true});
        return answer;
    }

    std::vector<Shown> shown;
    bool answer = true;
};

}  // namespace quorsa::platform
